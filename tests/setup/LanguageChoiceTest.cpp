#include "core/Unit_LanguagePack.h"
#include "setup/Unit_ExitForm.h"
#include "setup/Unit_Extract.h"
#include "setup/Unit_Overwrite.h"
#include "setup/Unit_SetupPars.h"
#include "setup/WizardFixture.h"

#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

using Setup::SetupPars;

namespace {

class LanguageChoice : public WizardTest
{
protected:
    void AddThreePacks()
    {
        env.AddGeneratedPack("beta.lng", {{5, "Beta next"}});
        env.AddGeneratedPack("Alpha.lng", {{5, "Alpha next"}});
        env.AddGeneratedPack("gamma.lng");
    }
    QPoint ItemCenter(int row) const
    {
        return LanguageBox()->visualItemRect(LanguageBox()->item(row)).center();
    }
    void Mouse(QEvent::Type type, QPoint pos)
    {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        const Qt::MouseButtons buttons
                = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
        QWidget *viewport = LanguageBox()->viewport();
        QMouseEvent event(type, pos, viewport->mapToGlobal(pos), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(viewport, &event);
    }
    void Click(QPoint down, QPoint up)
    {
        Mouse(QEvent::MouseMove, down);
        Mouse(QEvent::MouseButtonPress, down);
        Mouse(QEvent::MouseButtonRelease, up);
    }
    QStringList Selected() const
    {
        QStringList names;
        for (int i = 0; i < LanguageBox()->count(); ++i) {
            if (LanguageBox()->item(i)->isSelected())
                names << LanguageBox()->item(i)->text();
        }
        return names;
    }
    QString Text(const char *name) const
    {
        if (auto *label = Wizard()->findChild<QLabel *>(name))
            return label->text();
        if (auto *button = Wizard()->findChild<QAbstractButton *>(name))
            return button->text();
        ADD_FAILURE() << name;
        return QString();
    }
};

TEST_F(LanguageChoice, WithoutAPackTheMessageIsShownAndSetupEndsWithoutAsking)
{
    env.AddGeneratedPack("Upper.LNG");
    env.AddGeneratedPack("Mixed.Lng");
    env.WriteFile(env.SetupFolder() + "/bad.lng", "Not a language pack\r\n2\r\n");
    QDir(env.SetupFolder()).mkdir("folder.lng");
    Start();
    EXPECT_EQ(dialogs.Messages, QStringList{"Could not find a language pack."});
    EXPECT_TRUE(SetupPars.CloseWithoutAsking);
    EXPECT_FALSE(Wizard()->isVisible());
    EXPECT_EQ(dialogs.ExitQuestions, 0);
}

TEST_F(LanguageChoice, SeveralPacksAreListedByNameSortedWithoutRegardToCase)
{
    AddThreePacks();
    env.AddGeneratedPack("Upper.LNG");
    env.WriteFile(env.SetupFolder() + "/notapack.lng", "Tarnwick Language Pack\r\n1\r\n");
    env.WriteFile(env.SetupFolder() + "/.hidden.lng", env.GeneratedPack({}));
    Start();
    QStringList names;
    for (int i = 0; i < LanguageBox()->count(); ++i)
        names << LanguageBox()->item(i)->text();
    EXPECT_EQ(names, (QStringList{".hidden", "Alpha", "beta", "gamma"}));
    EXPECT_EQ(PageName(), "LanguagePanel");
    EXPECT_EQ(Wizard()->windowTitle(), "Tarnwick Setup");
    EXPECT_EQ(Text("LanguageLabel"), "&Select a language:");
    EXPECT_EQ(Text("CancelButton"), "Stop");
    EXPECT_FALSE(Child<QPushButton>("NextButton")->isVisible());
    EXPECT_FALSE(Child<QPushButton>("BackButton")->isVisible());
    EXPECT_FALSE(Child<QPushButton>("FinishButton")->isVisible());
    EXPECT_TRUE(dialogs.Messages.isEmpty());
}

TEST_F(LanguageChoice, HoveringSelectsTheOneItemUnderThePointer)
{
    AddThreePacks();
    Start();
    Mouse(QEvent::MouseMove, ItemCenter(1));
    EXPECT_EQ(Selected(), QStringList{"beta"});
    EXPECT_EQ(LanguageBox()->viewport()->cursor().shape(), Qt::PointingHandCursor);
    Mouse(QEvent::MouseMove, ItemCenter(2));
    EXPECT_EQ(Selected(), QStringList{"gamma"});
    Mouse(QEvent::MouseMove, ItemCenter(2) + QPoint(1, 0));
    EXPECT_EQ(Selected(), QStringList{"gamma"});

    const QPoint below(2, LanguageBox()->visualItemRect(LanguageBox()->item(2)).bottom() + 20);
    ASSERT_EQ(LanguageBox()->itemAt(below), nullptr);
    Mouse(QEvent::MouseMove, below);
    EXPECT_TRUE(Selected().isEmpty());
    EXPECT_EQ(LanguageBox()->viewport()->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(PageName(), "LanguagePanel");
}

TEST_F(LanguageChoice, AClickChoosesOnlyWhenThePointerDidNotMove)
{
    AddThreePacks();
    Start();
    Click(ItemCenter(0), ItemCenter(0) + QPoint(0, 1));
    EXPECT_EQ(PageName(), "LanguagePanel");
    Click(ItemCenter(0), ItemCenter(0));
    EXPECT_EQ(PageName(), "WelcomePanel");
    EXPECT_EQ(SetupPars.Language, "Alpha");
    EXPECT_EQ(Text("NextButton"), "Alpha next");
}

TEST_F(LanguageChoice, EnterChoosesTheFirstSelectedItem)
{
    AddThreePacks();
    Start();
    LanguageBox()->item(2)->setSelected(true);
    LanguageBox()->item(1)->setSelected(true);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(LanguageBox(), &enter);
    EXPECT_EQ(SetupPars.Language, "beta");
    EXPECT_EQ(Text("NextButton"), "Beta next");
}

TEST_F(LanguageChoice, EnterWithNothingSelectedStays)
{
    AddThreePacks();
    Start();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Enter, Qt::NoModifier);
    QApplication::sendEvent(LanguageBox(), &enter);
    EXPECT_EQ(PageName(), "LanguagePanel");
}

TEST_F(LanguageChoice, APackThatFailsToLoadKeepsTheLanguagePage)
{
    env.WriteFile(env.SetupFolder() + "/Alpha.lng",
                  "Tarnwick Language Pack\r\n2\r\n:setup\r\none\r\ntwo\r\n");
    env.AddGeneratedPack("Beta.lng", {{5, "Beta next"}});
    Start();
    Click(ItemCenter(0), ItemCenter(0));
    EXPECT_EQ(dialogs.Messages, QStringList{"Language pack could not be read."});
    EXPECT_EQ(PageName(), "LanguagePanel");
    EXPECT_TRUE(SetupPars.CloseWithoutAsking);
    EXPECT_EQ(LanguagePack, nullptr);
    EXPECT_EQ(Text("CancelButton"), "Stop");

    Click(ItemCenter(1), ItemCenter(1));
    EXPECT_EQ(PageName(), "WelcomePanel");
    EXPECT_EQ(SetupPars.Language, "Beta");
}

TEST_F(LanguageChoice, ASinglePackIsChosenAtOnceAndEveryTextComesFromItsSetupSection)
{
    env.AddGeneratedPack("Only.lng", {{11, "Version %v%, again %v%.\\nEnd"}});
    Start();
    EXPECT_EQ(PageName(), "WelcomePanel");
    EXPECT_EQ(SetupPars.Language, "Only");
    EXPECT_FALSE(SetupPars.CloseWithoutAsking);
    EXPECT_EQ(Text("WelcomeLabel"), "Version 2.0, again 2.0.\nEnd");
    const std::vector<std::pair<const char *, int>> texts{
            {"BackButton", 4},    {"NextButton", 5},          {"CancelButton", 1},
            {"FinishButton", 6},  {"BeforeLicenceLabel", 12}, {"AfterLicenceLabel", 14},
            {"AgreeRadio", 15},   {"DisagreeRadio", 16},      {"SelectInstallDirLabel", 17},
            {"BrowseButton", 19}, {"ProgFolderLabel", 22},    {"ConfirmSettingsLabel", 23},
            {"FinishedLabel", 33}};
    for (const auto &[name, entry] : texts)
        EXPECT_EQ(Text(name), "S" + QString::number(entry)) << name;
    EXPECT_EQ(Child<QPlainTextEdit>("LicenceMemo")->toPlainText(), "S13");
    EXPECT_EQ(Child<QGroupBox>("InstallDirBox")->title(), "S18");

    EXPECT_EQ(ExtractForm->windowTitle(), "S26");
    EXPECT_EQ(OverwriteForm->windowTitle(), "S30");
    EXPECT_EQ(Setup::ExitForm->windowTitle(), "S7");
    EXPECT_EQ(Setup::ExitForm->findChild<QLabel *>("TextLabel")->text(), "S8");
    EXPECT_EQ(Setup::ExitForm->findChild<QPushButton *>("ResumeButton")->text(), "S9");
    EXPECT_EQ(Setup::ExitForm->findChild<QPushButton *>("ExitButton")->text(), "S10");

    EXPECT_TRUE(Child<QPushButton>("NextButton")->isVisible());
    EXPECT_TRUE(Child<QPushButton>("BackButton")->isVisible());
    EXPECT_FALSE(Child<QPushButton>("BackButton")->isEnabled());
    EXPECT_EQ(Wizard()->focusWidget(), Child<QPushButton>("NextButton"));
}

TEST_F(LanguageChoice, TheShippedEnglishPackGivesItsSetupTexts)
{
    env.AddShippedPack("English.lng", "English.lng");
    Start();
    EXPECT_EQ(SetupPars.Language, "English");
    EXPECT_EQ(Text("NextButton"), "&Next >");
    EXPECT_EQ(Text("BackButton"), "< &Back");
    EXPECT_TRUE(Text("WelcomeLabel").startsWith("Welcome to the Tarnwick 2.0 Setup.\n\n"));
    EXPECT_FALSE(Text("WelcomeLabel").contains("%v%"));
}

} // namespace
