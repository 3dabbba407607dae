#include "core/BusyCursor.h"
#include "core/PrivateMessages.h"
#include "core/Unit_GlobalSettings.h"
#include "core/Unit_LanguagePack.h"
#include "core/Unit_ThreadInterchange.h"
#include "core/Unit_Warnings.h"
#include "core/Unit_WordList.h"
#include "dialogs/Unit_FindForm.h"
#include "dialogs/Unit_StartupForm.h"
#include "exercises/Unit_ExercForm.h"
#include "grid/WordsGrid.h"
#include "mainwindow/Main.h"
#include "mainwindow/ProgramStart.h"
#include "platform/Registry.h"
#include "support/BeepRecorder.h"
#include "support/ScriptedMessageBox.h"
#include "support/WordListFixtures.h"
#include "support/gui/ProgramFixture.h"
#include "support/gui/ScriptedFileDialogs.h"
#include "ui_MainForm.h"
#include "widgets/KbLayoutHandle.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <deque>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

const std::string SampleList = TARNWICK_SOURCE_DIR "/samples/Frans.wdl";

// The program's windows over a store of their own, seeded as the installer leaves it.
class MainWindow : public ProgramFixture
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(ProgramFixture::SetUp());
        CreateProgram();
    }

    QString Status() { return Form().StatusBar->findChild<QLabel *>()->text(); }

    TBeepRecorder Beeps;
};

TEST(StartupArguments, OnlyExactlyOneFileArgumentIsOpenedElseTheLastListWhenAsked)
{
    const QString program = QStringLiteral("tarnwick");
    const std::string absolute = "/lists/a.wdl";
    EXPECT_EQ(absolute, StartupFileName({program, "/lists/a.wdl"}, false, "/m.wdl"));
    EXPECT_EQ(absolute, StartupFileName({program, "/lists/a.wdl"}, true, "/m.wdl"));
    EXPECT_EQ("", StartupFileName({program}, false, "/m.wdl"));
    EXPECT_EQ("/m.wdl", StartupFileName({program}, true, "/m.wdl"));
    EXPECT_EQ("", StartupFileName({program, "/a.wdl", "/b.wdl"}, false, "/m.wdl"));
    EXPECT_EQ("/m.wdl", StartupFileName({program, "/a.wdl", "/b.wdl"}, true, "/m.wdl"));
    // An empty last list with the option on opens nothing.
    EXPECT_EQ("", StartupFileName({program}, true, ""));

    // The help-report switch never counts as the file, in any case, on either side of it.
    for (const char *debug : {"/debug", "-debug", "/DEBUG", "-DeBuG"}) {
        EXPECT_EQ("", StartupFileName({program, debug}, false, "/m.wdl")) << debug;
        EXPECT_EQ("/m.wdl", StartupFileName({program, debug}, true, "/m.wdl")) << debug;
        EXPECT_EQ(absolute, StartupFileName({program, debug, "/lists/a.wdl"}, false, ""));
        EXPECT_EQ(absolute, StartupFileName({program, "/lists/a.wdl", debug}, false, ""));
    }
    EXPECT_FALSE(IsDebugArgument(QStringLiteral("/debugx")));
    EXPECT_FALSE(IsDebugArgument(QStringLiteral("debug")));

    // A relative argument is remembered with its full path.
    const std::string relative = StartupFileName({program, "lists/a.wdl"}, false, "");
    EXPECT_EQ('/', relative.front());
    EXPECT_NE(std::string::npos, relative.find("/lists/a.wdl"));
}

TEST_F(MainWindow, StartUpAppliesThePackAfterResettingThePartsOfSpeech)
{
    ASSERT_TRUE(Start());
    EXPECT_TRUE(MainForm->isVisible());
    EXPECT_EQ(QStringLiteral("Tarnwick"), MainForm->windowTitle());
    // A first start resets the parts of speech from the pack before the pack is applied.
    ASSERT_EQ(10, Form().PartOfSpeechCombo->count());
    EXPECT_EQ(QStringLiteral("zelfstandig naamwoord"), Form().PartOfSpeechCombo->itemText(0));
    EXPECT_EQ(4, Form().ExercLevelCombo->count());
    EXPECT_EQ(QString::fromStdString(LanguageText(TEntry::FileMenu)), Form().MFile->title());
    EXPECT_EQ(QString::fromStdString(LanguageText(TEntry::FindCaption)), FindForm->windowTitle());
    EXPECT_EQ(QString(), Status());
    EXPECT_FALSE(StartupForm->isVisible());

    MainForm->close();
    EXPECT_FALSE(MainForm->isVisible());
    // A successful start writes the settings back on close.
    EXPECT_NE(std::string::npos, store.ReadFile("HKEY_CURRENT_USER.reg").find("\"Windows\"=hex:"));
}

// Closes the main window as soon as it turns busy, before the list it opens has arrived.
class TCloseWhenBusy : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const auto *message = dynamic_cast<const TMessageEvent *>(event);
        if (message && message->Message() == WM_GRIDBUSY && message->WParam == 1)
            QCoreApplication::postEvent(watched, new QCloseEvent);
        return false;
    }
};

TEST_F(MainWindow, ACloseRefusedDuringStartUpLeavesTheSettingsToTheNormalClose)
{
    MainForm->CommandLine = {QStringLiteral("tarnwick"), QString::fromStdString(SampleList)};
    TCloseWhenBusy closer;
    MainForm->installEventFilter(&closer);
    ASSERT_TRUE(Start());
    MainForm->removeEventFilter(&closer);
    // The close came while the list was being opened and was refused.
    EXPECT_TRUE(MainForm->isVisible());
    MainForm->close();
    EXPECT_FALSE(MainForm->isVisible());
    const std::string user = store.ReadFile("HKEY_CURRENT_USER.reg");
    EXPECT_NE(std::string::npos, user.find("samples/Frans.wdl")) << user;
}

TEST_F(MainWindow, MissingLanguageClosesWithTheFixedTextAndWritesNothing)
{
    ASSERT_NO_FATAL_FAILURE(PutString(TrainerKey, "MRU list", "x"));
    ASSERT_NO_FATAL_FAILURE(
            DeleteStoredValue(TrainerKey, "Language", Registry::Hive::LocalMachine));
    const std::string user = store.ReadFile("HKEY_CURRENT_USER.reg");
    const std::string machineFile = store.ReadFile("HKEY_LOCAL_MACHINE.reg");
    TScriptedBox box;
    MainForm->CommandLine = {QStringLiteral("tarnwick"), QString::fromStdString(SampleList)};
    EXPECT_FALSE(Start());
    QTest::qWait(20);
    ASSERT_EQ(1u, box.Texts.size());
    EXPECT_EQ("The registration data could not be read.  Re-install Tarnwick to restore the data",
              box.Texts[0].substr(0, box.Texts[0].size() - 1));
    EXPECT_FALSE(MainForm->isVisible());
    EXPECT_FALSE(MainForm->SaveSettingsOnClose);
    EXPECT_EQ(nullptr, Grid().GetWordList());
    EXPECT_EQ(user, store.ReadFile("HKEY_CURRENT_USER.reg"));
    EXPECT_EQ(machineFile, store.ReadFile("HKEY_LOCAL_MACHINE.reg"));
    EXPECT_EQ("", store.ReadFile("HKEY_CLASSES_ROOT.reg"));
}

TEST_F(MainWindow, UnreadablePackClosesWithTheSecondTextWithoutAssociation)
{
    ASSERT_NO_FATAL_FAILURE(
            PutString(TrainerKey, "Language", "Missing", Registry::Hive::LocalMachine));
    TScriptedBox box;
    EXPECT_FALSE(Start());
    QTest::qWait(20);
    EXPECT_EQ(std::vector<std::string>{"Language pack could not be read."}, box.Texts);
    EXPECT_FALSE(MainForm->isVisible());
    EXPECT_FALSE(MainForm->SaveSettingsOnClose);
    EXPECT_EQ("", store.ReadFile("HKEY_CLASSES_ROOT.reg"));
}

TEST_F(MainWindow, OpensTheArgumentAndShowsTitleCountAndRows)
{
    MainForm->CommandLine = {QStringLiteral("tarnwick"), QString::fromStdString(SampleList)};
    ASSERT_TRUE(Start());
    ASSERT_NE(nullptr, Grid().GetWordList());
    EXPECT_EQ(QStringLiteral("Tarnwick - Frans"), MainForm->windowTitle());
    EXPECT_EQ(QStringLiteral("20 woorden"), Status());
    EXPECT_EQ(22, Grid().RowCount());
    EXPECT_EQ(SampleList, MRUList);
    EXPECT_FALSE(MainForm->Busy);
    EXPECT_FALSE(Grid().IsBusy());
    EXPECT_FALSE(BusyCursorShown());
    EXPECT_TRUE(Form().MFile->menuAction()->isEnabled());
    EXPECT_EQ(nullptr, CurrentList);
}

TEST_F(MainWindow, AMissingOrDamagedListLeavesTheWindowIdle)
{
    TScriptedBox box;
    // A missing file is no list and no message; a damaged one is reported by its reader.
    MainForm->CommandLine = {QStringLiteral("tarnwick"), QStringLiteral("/no/such/list.wdl")};
    ASSERT_TRUE(Start());
    EXPECT_TRUE(box.Texts.empty());
    EXPECT_EQ(nullptr, Grid().GetWordList());
    EXPECT_EQ(QStringLiteral("Tarnwick"), MainForm->windowTitle());
    EXPECT_FALSE(MainForm->Busy);
    EXPECT_FALSE(BusyCursorShown());
    EXPECT_EQ("", MRUList);
    MainForm->close();
    DestroyForms();

    CreateProgram({QStringLiteral(TARNWICK_CORPUS_DIR "/WordListReader/damaged-signature.wdl")});
    ASSERT_TRUE(Start());
    EXPECT_EQ(std::vector<std::string>{LanguageText(TEntry::NotAWordList)}, box.Texts);
    EXPECT_EQ(nullptr, Grid().GetWordList());
    EXPECT_EQ(nullptr, CurrentList);
    EXPECT_FALSE(MainForm->Busy);
    EXPECT_FALSE(BusyCursorShown());
}

TEST_F(MainWindow, AFailedOpenKeepsTheShownList)
{
    ASSERT_TRUE(Start());
    Grid().SetWordList(FrenchList(2));
    Grid().GetWordList()->FileName = "/lists/Oud.wdl";
    MainForm->Controls().StatusBar->findChild<QLabel *>()->clear();
    Grid().SetBusy(true);
    SetBusyCursor(true);
    CurrentList = FrenchList(5).release();
    LoadOk = false;
    SendPrivateMessage(MainForm, WM_FILESTHREADDONE, 0, 0);
    EXPECT_EQ(nullptr, CurrentList);
    ASSERT_NE(nullptr, Grid().GetWordList());
    EXPECT_EQ(2, Grid().GetWordList()->Count());
    EXPECT_EQ(QStringLiteral("Tarnwick"), MainForm->windowTitle());
    EXPECT_FALSE(Grid().IsBusy());
    EXPECT_FALSE(MainForm->Busy);
    EXPECT_FALSE(BusyCursorShown());
}

TEST_F(MainWindow, AnOlderFormatIsOpenedThenWarnedAbout)
{
    TScriptedBox box;
    MainForm->CommandLine = {QStringLiteral("tarnwick"),
                             QStringLiteral(TARNWICK_CORPUS_DIR "/WordListReader/format4.wdl")};
    ASSERT_TRUE(Start());
    ASSERT_NE(nullptr, Grid().GetWordList());
    ASSERT_EQ(1u, box.Texts.size());
    EXPECT_EQ(LanguageText(TEntry::OldFormatNotice),
              box.Texts[0].substr(0, LanguageText(TEntry::OldFormatNotice).size()));
}

TEST_F(MainWindow, TheLastListIsOpenedOnlyWhenAskedAndNotWhenEmpty)
{
    ASSERT_NO_FATAL_FAILURE(PutInteger(TrainerKey, "Version", 0));
    ASSERT_TRUE(Start());
    MainForm->close();
    DestroyForms();
    // The store now holds a complete current layout; switch the last list on with no name.
    ASSERT_NO_FATAL_FAILURE(PutBinary(TrainerKey, "Other options", {1, 0, 4}));
    CreateProgram({QStringLiteral("-debug")});
    ASSERT_TRUE(Start());
    EXPECT_EQ(nullptr, Grid().GetWordList());
    MainForm->close();
    DestroyForms();

    ASSERT_NO_FATAL_FAILURE(PutString(TrainerKey, "MRU list", SampleList));
    CreateProgram({QStringLiteral("/a.wdl"), QStringLiteral("/b.wdl")});
    TRegistry classes(Registry::Hive::ClassesRoot);
    ASSERT_TRUE(classes.OpenKey("Tarnwick.Wordlist\\Shell\\open\\command", false));
    ASSERT_TRUE(classes.WriteString("", "stale"));
    const std::string association = store.ReadFile("HKEY_CLASSES_ROOT.reg");
    ASSERT_TRUE(Start());
    ASSERT_NE(nullptr, Grid().GetWordList());
    EXPECT_EQ(20, Grid().GetWordList()->Count());
    // The association was switched off: a wrong one stays as it was.
    EXPECT_EQ(association, store.ReadFile("HKEY_CLASSES_ROOT.reg"));
}

TEST_F(MainWindow, AFailingAssociationIsReportedOnceAndStartUpGoesOn)
{
    QTemporaryDir dir;
    const QString notAFolder = dir.path() + QStringLiteral("/file");
    QFile file(notAFolder);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", notAFolder.toLocal8Bit());
    TScriptedBox box;
    MainForm->CommandLine = {QStringLiteral("tarnwick"), QString::fromStdString(SampleList)};
    const bool started = Start();
    qputenv("XDG_DATA_HOME", saved);
    ASSERT_TRUE(started);
    EXPECT_EQ(1u, box.Texts.size());
    EXPECT_NE(nullptr, Grid().GetWordList());
}

TEST_F(MainWindow, WordCountFollowsTheGrid)
{
    ASSERT_TRUE(Start());
    EXPECT_EQ(QString(), Status());
    Grid().SetWordList(FrenchList(1));
    EXPECT_EQ(QStringLiteral("1 woord"), Status());
    Grid().SetWordList(FrenchList(0));
    EXPECT_EQ(QStringLiteral("0 woorden"), Status());
    Grid().SetWordList(FrenchList(12));
    EXPECT_EQ(QStringLiteral("12 woorden"), Status());
    // A status tip never hides the count.
    Form().StatusBar->showMessage(QStringLiteral("tip"));
    EXPECT_TRUE(Form().StatusBar->findChild<QLabel *>()->isVisible());
}

TEST_F(MainWindow, TitleNamesTheListAndKeepsBracketedStars)
{
    EXPECT_EQ(QStringLiteral("Tarnwick"), MainTitle(nullptr));
    TNumberedPack pack;
    auto list = FrenchList(0);
    EXPECT_EQ(QStringLiteral("Tarnwick - #126"), MainTitle(list.get()));
    list->FileName = "/lists/Frans [*].wdl";
    EXPECT_EQ(QStringLiteral("Tarnwick - Frans [*][*]"), MainTitle(list.get()));
}

std::vector<QToolButton *> Buttons()
{
    auto buttons = MainForm->CharToolBar->findChildren<QToolButton *>();
    std::sort(buttons.begin(), buttons.end(),
              [](QToolButton *a, QToolButton *b) { return a->x() < b->x(); });
    return {buttons.begin(), buttons.end()};
}

TEST_F(MainWindow, ForeignCharactersBarLaysOutGroupsAndHidesWhenEmpty)
{
    ASSERT_TRUE(Start());
    for (const char *empty : {"", "|", "||"}) {
        Grid().SetWordList(FrenchList(0, empty));
        MainForm->RebuildCharToolBar();
        EXPECT_FALSE(Form().PageScroller->isVisible()) << empty;
    }
    Grid().SetWordList(FrenchList(0, "ab|c"));
    MainForm->RebuildCharToolBar();
    MainForm->RebuildCharToolBar();
    QTest::qWait(10);
    EXPECT_TRUE(Form().PageScroller->isVisible());
    EXPECT_EQ(3, Form().PageScroller->findChildren<QToolButton *>().size());
    const auto buttons = Buttons();
    ASSERT_EQ(3u, buttons.size());
    EXPECT_EQ(QStringLiteral("a"), buttons[0]->text());
    EXPECT_EQ(QStringLiteral("b"), buttons[1]->text());
    EXPECT_EQ(QStringLiteral("c"), buttons[2]->text());
    const int width = buttons[0]->width();
    for (QToolButton *button : buttons)
        EXPECT_EQ(width, button->width());
    EXPECT_EQ(buttons[0]->x() + width, buttons[1]->x());
    EXPECT_EQ(buttons[1]->x() + width + 12, buttons[2]->x());
    EXPECT_EQ(buttons[0]->height() + 2, MainForm->CharToolBar->height());
    EXPECT_EQ(3 * width + 12, MainForm->CharToolBar->width());
    const QFontMetrics metrics(Grid().GetWordList()->ForFont->toQFont());
    EXPECT_EQ(metrics.height() + 8, buttons[0]->height());
}

TEST_F(MainWindow, ACharacterButtonTypesIntoTheFocusedTextEditorOnly)
{
    ASSERT_TRUE(Start());
    Grid().SetWordList(FrenchList(1, "&e"));
    MainForm->RebuildCharToolBar();
    QTest::qWait(10);
    const auto buttons = Buttons();
    ASSERT_EQ(2u, buttons.size());
    EXPECT_EQ(QStringLiteral("&&"), buttons[0]->text());
    MainForm->activateWindow();
    QApplication::setActiveWindow(MainForm);
    Form().ForWordEdit->show();
    Form().ForWordEdit->setFocus();
    ASSERT_EQ(Form().ForWordEdit, MainForm->focusWidget());
    Form().ForWordEdit->clear();
    buttons[0]->click();
    buttons[1]->click();
    EXPECT_EQ(QStringLiteral("&e"), Form().ForWordEdit->text());
    EXPECT_EQ(0, Beeps.Count());

    Form().ForWordEdit->hide();
    Form().LessonEdit->show();
    Form().LessonEdit->setFocus();
    buttons[1]->click();
    EXPECT_EQ(QString(), Form().LessonEdit->text());
    EXPECT_EQ(1, Beeps.Count());
}

// The user's click on a character button: the character goes into the open editor at its caret,
// as a key would type it, and no part of the bar takes the focus from the editor.
TEST_F(MainWindow, AClickedCharacterGoesIntoTheOpenEditorAtItsCaretAndKeepsItOpen)
{
    ASSERT_TRUE(Start());
    auto french = FrenchList(2, "\xE7|\xE9");
    french->SetContext(0, "texte");
    Grid().SetWordList(std::move(french));
    MainForm->RebuildCharToolBar();
    MainForm->activateWindow();
    QApplication::setActiveWindow(MainForm);
    QTest::qWait(10);
    const auto buttons = Buttons();
    ASSERT_EQ(2u, buttons.size());
    const TWordList &list = *Grid().GetWordList();
    struct TEditor
    {
        uint8_t Kind;
        QLineEdit *Edit;
        const std::string &(TWordList::*Stored)(int) const;
    };
    for (const TEditor &editor : {TEditor{ckForWord, Form().ForWordEdit, &TWordList::GetForWord},
                                  TEditor{ckRefWord, Form().RefWordEdit, &TWordList::GetRefWord},
                                  TEditor{ckContext, Form().ContextEdit, &TWordList::GetContext}}) {
        SCOPED_TRACE(editor.Edit->objectName().toStdString());
        QLineEdit &edit = *editor.Edit;
        Grid().SelectCellAt(Grid().ColumnOfKind(editor.Kind), 1);
        ASSERT_EQ(&edit, QApplication::focusWidget());
        QString expected = edit.text();
        edit.setCursorPosition(2);
        QTest::mouseClick(buttons[0], Qt::LeftButton);
        expected.insert(2, QChar(0xE7));
        EXPECT_EQ(expected, edit.text());
        EXPECT_EQ(3, edit.cursorPosition());
        EXPECT_TRUE(edit.isVisible());
        EXPECT_EQ(&edit, QApplication::focusWidget());

        // A selection is replaced, as typing replaces it.
        edit.setSelection(3, 2);
        QTest::mouseClick(buttons[1], Qt::LeftButton);
        expected.replace(3, 2, QChar(0xE9));
        EXPECT_EQ(expected, edit.text());
        EXPECT_EQ(4, edit.cursorPosition());
        EXPECT_EQ(expected.toLatin1().toStdString(), (list.*editor.Stored)(0));

        // The gap between the groups and the empty rest of the bar take no focus either.
        QTest::mouseClick(MainForm->CharToolBar, Qt::LeftButton, {},
                          QPoint(buttons[0]->geometry().right() + 6, 2));
        QWidget *viewport = Form().PageScroller->viewport();
        QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(viewport->width() - 2, 2));
        EXPECT_TRUE(edit.isVisible());
        EXPECT_EQ(&edit, QApplication::focusWidget());
    }
    EXPECT_EQ(0, Beeps.Count());

    // Without a foreign, reference or context editor: a beep, and nothing typed anywhere.
    Grid().SelectCellAt(Grid().ColumnOfKind(ckLesson), 2);
    QTest::mouseClick(buttons[0], Qt::LeftButton);
    EXPECT_EQ(QString(), Form().LessonEdit->text());
    EXPECT_EQ(Form().LessonEdit, QApplication::focusWidget());
    Grid().SelectCellAt(Grid().ColumnOfKind(ckScore), 2);
    QTest::mouseClick(buttons[1], Qt::LeftButton);
    EXPECT_EQ(2, Beeps.Count());
    EXPECT_EQ("", list.GetLesson(1));
    EXPECT_EQ("mot1", list.GetForWord(1));
}

TEST_F(MainWindow, LayoutChangesReachTheControlsOfTheSameLanguage)
{
    const std::vector<const char *> foreignEdits{"ForLangFindEdit", "ForLangReplaceEdit",
                                                 "ContextFindEdit", "ContextReplaceEdit"};
    const std::vector<const char *> referenceEdits{"RefLangFindEdit", "RefLangReplaceEdit"};
    for (const char *name : foreignEdits)
        (new QLineEdit(FindForm))->setObjectName(QLatin1String(name));
    for (const char *name : referenceEdits)
        (new QLineEdit(FindForm))->setObjectName(QLatin1String(name));
    const TKbLayoutHandle greek = KbLayoutHandle(KbLayout{"gr", ""});
    const TKbLayoutHandle german = KbLayoutHandle(KbLayout{"de", ""});
    const TKbLayoutHandle french = KbLayoutHandle(KbLayout{"fr", ""});
    const auto layoutOf = [](const char *name) {
        return KbLayoutOf(*FindForm->findChild<QWidget *>(QLatin1String(name)));
    };

    SendPrivateMessage(MainForm, WM_KBLAYOUTCHANGED, reinterpret_cast<intptr_t>(Form().LessonEdit),
                       greek);
    EXPECT_EQ(0, KbLayoutOf(*Form().ContextEdit));
    EXPECT_EQ(0, ExercForm->ForeignKbLayout);

    SendPrivateMessage(MainForm, WM_KBLAYOUTCHANGED, reinterpret_cast<intptr_t>(Form().RefWordEdit),
                       german);
    for (const char *name : referenceEdits)
        EXPECT_EQ(german, layoutOf(name)) << name;
    for (const char *name : foreignEdits)
        EXPECT_EQ(0, layoutOf(name)) << name;
    EXPECT_EQ(german, ExercForm->ReferenceKbLayout);
    EXPECT_EQ(0, KbLayoutOf(*Form().ContextEdit));

    SendPrivateMessage(MainForm, WM_KBLAYOUTCHANGED, reinterpret_cast<intptr_t>(Form().ForWordEdit),
                       french);
    for (const char *name : foreignEdits)
        EXPECT_EQ(french, layoutOf(name)) << name;
    for (const char *name : referenceEdits)
        EXPECT_EQ(german, layoutOf(name)) << name;
    EXPECT_EQ(french, ExercForm->ForeignKbLayout);
    EXPECT_EQ(german, ExercForm->ReferenceKbLayout);
    EXPECT_EQ(french, KbLayoutOf(*Form().ContextEdit));
}

TEST_F(MainWindow, BusyDisablesTheMenusAndRefusesTheClose)
{
    ASSERT_TRUE(Start());
    Grid().SetWordList(FrenchList(2));
    Grid().SetBusy(true);
    EXPECT_TRUE(MainForm->Busy);
    for (QMenu *menu :
         {Form().MFile, Form().MEdit, Form().MWordlist, Form().MExercise, Form().MHelp})
        EXPECT_FALSE(menu->menuAction()->isEnabled());
    EXPECT_FALSE(MainForm->close());
    EXPECT_TRUE(MainForm->isVisible());
    Grid().ClearBusy();
    EXPECT_FALSE(MainForm->Busy);
    EXPECT_TRUE(Form().MHelp->menuAction()->isEnabled());
}

class CheckSaved : public MainWindow
{
protected:
    void SetUp() override
    {
        MainWindow::SetUp();
        ASSERT_TRUE(Start());
        Grid().SetWordList(FrenchList(3));
    }
    QTemporaryDir dir;
    TScriptedBox box;
    TScriptedFileDialogs dialogs;
};

TEST_F(CheckSaved, ASavedListOrNoListNeedsNoQuestion)
{
    Grid().GetWordList()->Saved = true;
    EXPECT_TRUE(MainForm->CheckSaved());
    EXPECT_TRUE(box.Texts.empty());
}

TEST_F(CheckSaved, NoDiscardsCancelAndTheCloseBoxKeep)
{
    box.Answers = {mbNo};
    EXPECT_TRUE(MainForm->CheckSaved());
    ASSERT_EQ(1u, box.Texts.size());
    EXPECT_NE(std::string::npos, box.Texts[0].find("\"Naamloos\""));
    box.Answers = {mbCancel};
    EXPECT_FALSE(MainForm->CheckSaved());
    EXPECT_FALSE(MainForm->CheckSaved()); // close box: the escape answer
    EXPECT_FALSE(MainForm->close());
    EXPECT_TRUE(MainForm->isVisible());
}

TEST_F(CheckSaved, YesWithCancelledSaveAsKeepsTheList)
{
    box.Answers = {mbYes};
    EXPECT_FALSE(MainForm->CheckSaved());
    ASSERT_EQ(1u, dialogs.Requests.size());
    EXPECT_EQ(QStringLiteral("Naamloos"), dialogs.Requests[0].FileName);
    EXPECT_FALSE(Grid().GetWordList()->Saved);
}

TEST_F(CheckSaved, YesWritesTheWholeFileBeforeAnswering)
{
    const std::string path = dir.filePath(QStringLiteral("Nieuw.wdl")).toStdString();
    dialogs.Choices = {QString::fromStdString(path)};
    box.Answers = {mbYes};
    EXPECT_TRUE(MainForm->CheckSaved());
    TWordList reread;
    bool ok = false;
    int format = 0;
    reread.LoadFromFile(path, ok, format);
    EXPECT_TRUE(ok);
    EXPECT_EQ(3, reread.Count());
    EXPECT_EQ(QStringLiteral("Tarnwick - Nieuw"), MainForm->windowTitle());
    EXPECT_EQ(path, MRUList);
    EXPECT_FALSE(Grid().IsBusy());
    EXPECT_FALSE(MainForm->Busy);

    // The list is saved now: closing asks nothing more.
    EXPECT_TRUE(MainForm->close());
    EXPECT_EQ(1u, box.Texts.size());
}

TEST_F(CheckSaved, AFailedSaveIsReportedAndNothingIsDiscarded)
{
    dialogs.Choices = {dir.filePath(QStringLiteral("missing/folder/Nieuw.wdl"))};
    box.Answers = {mbYes};
    EXPECT_FALSE(MainForm->CheckSaved());
    EXPECT_EQ(2u, box.Texts.size());
    EXPECT_FALSE(Grid().IsBusy());
    EXPECT_FALSE(MainForm->Busy);
    EXPECT_FALSE(BusyCursorShown());
    EXPECT_FALSE(Grid().GetWordList()->Saved);
    EXPECT_EQ(QStringLiteral("Tarnwick"), MainForm->windowTitle());
    EXPECT_TRUE(MainForm->isVisible());
}

TEST_F(MainWindow, AThreadedSaveRenamesTheTitleAndRemembersThePath)
{
    ASSERT_TRUE(Start());
    Grid().SetWordList(FrenchList(1));
    Grid().GetWordList()->FileName = "/lists/Opgeslagen.wdl";
    SendPrivateMessage(MainForm, WM_FILESTHREADDONE, 1, 0);
    EXPECT_EQ(QStringLiteral("Tarnwick - Opgeslagen"), MainForm->windowTitle());
    EXPECT_EQ("/lists/Opgeslagen.wdl", MRUList);
}

TEST_F(MainWindow, PlacementsAndColumnsGoBackOnClose)
{
    ASSERT_TRUE(Start());
    MainForm->resize(700, 500);
    MainForm->close();
    EXPECT_EQ(700, FormPlacements[0].Width);
    EXPECT_EQ(500, FormPlacements[0].Height);
    EXPECT_FALSE(FormPlacements[0].Maximized);
}

} // namespace

namespace {

TEST_F(MainWindow, AWindowClosedBeforeItsStartUpStartsNothing)
{
    MainForm->CommandLine = {QStringLiteral("tarnwick"), QString::fromStdString(SampleList)};
    QSignalSpy done(MainForm, &TMainForm::StartupDone);
    MainForm->show();
    MainForm->close();
    QTest::qWait(50);
    EXPECT_TRUE(done.isEmpty());
    EXPECT_FALSE(StartupForm->isVisible());
    EXPECT_EQ(nullptr, Grid().GetWordList());
    EXPECT_EQ("", store.ReadFile("HKEY_CURRENT_USER.reg"));
}

} // namespace
