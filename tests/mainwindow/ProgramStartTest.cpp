#include "mainwindow/ProgramStart.h"
#include "dialogs/Unit_AboutForm.h"
#include "dialogs/Unit_ChangeFontForm.h"
#include "dialogs/Unit_FindForm.h"
#include "dialogs/Unit_ForCharsForm.h"
#include "dialogs/Unit_OptionsForm.h"
#include "dialogs/Unit_PartsOfSpeechForm.h"
#include "dialogs/Unit_StartupForm.h"
#include "dialogs/Unit_WLSettingsForm.h"
#include "exercises/Unit_ExercForm.h"
#include "exercises/Unit_ExercSetForm.h"
#include "exercises/Unit_ExercStartForm.h"
#include "exercises/Unit_FilterForm.h"
#include "exercises/Unit_SetExercWordsForm.h"
#include "exercises/Unit_SetLessonForm.h"
#include "exercises/Unit_TestResultForm.h"
#include "kbtool/Unit_KBLayoutForm.h"
#include "mainwindow/Main.h"
#include "print/Unit_PrintPreviewForm.h"
#include "sound/Unit_BatchRec.h"
#include "sound/Unit_ConvertForm.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace {

struct TExpectedForm
{
    const char *ClassName;
    const char *ObjectName;
    const char *Caption;
    std::function<QWidget *()> Global;
};

// The creation order, and the built-in caption each window has before a language pack is
// applied (empty where the program sets the caption later, from the pack or on showing).
const std::vector<TExpectedForm> &ExpectedForms()
{
    static const std::vector<TExpectedForm> forms{
            {"TMainForm", "MainForm", "Tarnwick", [] { return MainForm; }},
            {"TBatchRecForm", "BatchRecForm", "Uitspraken opnemen", [] { return BatchRecForm; }},
            {"TChangeFontForm", "ChangeFontForm", "Wijzig lettertype",
             [] { return ChangeFontForm; }},
            {"TConvertForm", "ConvertForm", "Converteren", [] { return ConvertForm; }},
            {"TExercSetForm", "ExercSetForm", "Overhoringsinstellingen",
             [] { return ExercSetForm; }},
            {"TFilterForm", "FilterForm", "Filters", [] { return FilterForm; }},
            {"TFindForm", "FindForm", "", [] { return FindForm; }},
            {"TKBLayoutForm", "KBLayoutForm", "", [] { return KBLayoutForm; }},
            {"TOptionsForm", "OptionsForm", "", [] { return OptionsForm; }},
            {"TPartsOfSpeechForm", "PartsOfSpeechForm", "", [] { return PartsOfSpeechForm; }},
            {"TPrintPreviewForm", "PrintPreviewForm", "Afdrukvoorbeeld",
             [] { return PrintPreviewForm; }},
            {"TSetExercWordsForm", "SetExercWordsForm", "Woorden instellen voor overhoring",
             [] { return SetExercWordsForm; }},
            {"TSetLessonForm", "SetLessonForm", "Les instellen", [] { return SetLessonForm; }},
            {"TStartupForm", "StartupForm", "", [] { return StartupForm; }},
            {"TTestResultForm", "TestResultForm", "Toetsresultaat", [] { return TestResultForm; }},
            {"TWLSettingsForm", "WLSettingsForm", "", [] { return WLSettingsForm; }},
            {"TAboutForm", "AboutForm", "Info", [] { return AboutForm; }},
            {"TExercStartForm", "ExercStartForm", "Overhoring starten",
             [] { return ExercStartForm; }},
            {"TExercForm", "ExercForm", "Overhoring", [] { return ExercForm; }},
            {"TForCharsForm", "ForCharsForm", "Vreemde karakters", [] { return ForCharsForm; }},
    };
    return forms;
}

class ProgramStart : public ::testing::Test
{
protected:
    void TearDown() override { DestroyForms(); }
};

TEST_F(ProgramStart, CreatesTheTwentyWindowsInOrderAndSetsEachGlobalAtOnce)
{
    const auto &expected = ExpectedForms();
    ASSERT_EQ(20u, expected.size());
    std::vector<QWidget *> created;
    CreateForms([&](QWidget *form) {
        const size_t index = created.size();
        created.push_back(form);
        ASSERT_LT(index, expected.size());
        EXPECT_STREQ(expected[index].ClassName, form->metaObject()->className());
        EXPECT_EQ(form, expected[index].Global()) << expected[index].ClassName;
        for (size_t later = index + 1; later < expected.size(); ++later)
            EXPECT_EQ(nullptr, expected[later].Global())
                    << expected[later].ClassName << " exists before " << expected[index].ClassName;
    });
    ASSERT_EQ(expected.size(), created.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(created[i], expected[i].Global()) << expected[i].ClassName;
}

TEST_F(ProgramStart, WindowsAreHiddenTopLevelShellsWithTheirNamesAndCaptions)
{
    CreateForms();
    for (const auto &form : ExpectedForms()) {
        QWidget *window = form.Global();
        ASSERT_NE(nullptr, window) << form.ClassName;
        EXPECT_TRUE(window->isWindow()) << form.ClassName;
        EXPECT_FALSE(window->isVisible()) << form.ClassName;
        EXPECT_EQ(QString::fromLatin1(form.ObjectName), window->objectName());
        EXPECT_EQ(QString::fromUtf8(form.Caption), window->windowTitle()) << form.ClassName;
    }
    for (const auto &form : ExpectedForms()) {
        if (form.Global() != MainForm) {
            EXPECT_NE(nullptr, qobject_cast<QDialog *>(form.Global())) << form.ClassName;
        }
    }
}

TEST_F(ProgramStart, DestroyFormsDeletesEveryWindowAndClearsTheGlobals)
{
    CreateForms();
    std::vector<QPointer<QWidget>> windows;
    for (const auto &form : ExpectedForms())
        windows.emplace_back(form.Global());
    DestroyForms();
    for (size_t i = 0; i < windows.size(); ++i) {
        EXPECT_TRUE(windows[i].isNull()) << ExpectedForms()[i].ClassName;
        EXPECT_EQ(nullptr, ExpectedForms()[i].Global()) << ExpectedForms()[i].ClassName;
    }
    DestroyForms();

    // A second run of the program's start finds a clean slate.
    CreateForms();
    for (const auto &form : ExpectedForms())
        EXPECT_NE(nullptr, form.Global()) << form.ClassName;
}

// Runs the message loop with the given step queued; a loop that does not end within a few seconds
// is stopped with a code the test can tell apart.
int RunMessageLoopWith(const std::function<void()> &step)
{
    constexpr int stuck = 99;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QApplication::exit(stuck); });
    watchdog.start(5000);
    QTimer::singleShot(0, step);
    return RunMessageLoop();
}

TEST_F(ProgramStart, TheMessageLoopShowsOnlyTheMainWindowAndEndsWhenItCloses)
{
    CreateForms();
    std::vector<QString> visibleAtStart;
    const int result = RunMessageLoopWith([&] {
        for (const auto &form : ExpectedForms())
            if (form.Global()->isVisible())
                visibleAtStart.push_back(QString::fromLatin1(form.ClassName));
        MainForm->close();
    });
    EXPECT_EQ(0, result);
    EXPECT_EQ(std::vector<QString>{QStringLiteral("TMainForm")}, visibleAtStart);
    EXPECT_FALSE(MainForm->isVisible());
}

TEST_F(ProgramStart, ClosingTheMainWindowEndsTheProgramWhileAModelessWindowIsVisible)
{
    const bool quitOnLastWindow = QApplication::quitOnLastWindowClosed();
    for (const bool setting : {true, false}) {
        QApplication::setQuitOnLastWindowClosed(setting);
        CreateForms();
        bool findVisible = false;
        const int result = RunMessageLoopWith([&] {
            FindForm->show();
            findVisible = FindForm->isVisible();
            MainForm->close();
        });
        EXPECT_TRUE(findVisible);
        EXPECT_EQ(0, result) << "quit on last window closed: " << setting;
        DestroyForms();
    }
    QApplication::setQuitOnLastWindowClosed(quitOnLastWindow);
}

TEST_F(ProgramStart, ClosingAnotherWindowDoesNotEndTheProgram)
{
    const bool quitOnLastWindow = QApplication::quitOnLastWindowClosed();
    InitApplication();
    CreateForms();
    bool mainVisibleAfterDialogClosed = false;
    QObject context;
    const int result = RunMessageLoopWith([&] {
        // The splash window is shown and closed before the main window is on screen.
        MainForm->hide();
        StartupForm->show();
        StartupForm->close();
        QTimer::singleShot(50, &context, [&] {
            MainForm->show();
            mainVisibleAfterDialogClosed = MainForm->isVisible();
            MainForm->close();
        });
    });
    EXPECT_EQ(0, result);
    EXPECT_TRUE(mainVisibleAfterDialogClosed);
    EXPECT_EQ(QStringLiteral("Tarnwick"), QApplication::applicationName());
    QApplication::setQuitOnLastWindowClosed(quitOnLastWindow);
}

} // namespace
