#include "setup/Unit_SetupPars.h"
#include "setup/WizardFixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

using Setup::SetupPars;

namespace {

class WizardPages : public WizardTest
{
protected:
    struct TExpected
    {
        int State;
        const char *Page;
        bool BackEnabled;
        bool NextEnabled;
    };
    void Expect(const TExpected &expected)
    {
        EXPECT_EQ(SetupPars.State, expected.State);
        EXPECT_EQ(PageName(), expected.Page);
        EXPECT_EQ(Child<QPushButton>("BackButton")->isEnabled(), expected.BackEnabled)
                << expected.Page;
        EXPECT_EQ(Child<QPushButton>("NextButton")->isEnabled(), expected.NextEnabled)
                << expected.Page;
    }
    QLineEdit *FolderEdit() const { return Child<QLineEdit>("InstallDirEdit"); }
    QLineEdit *GroupEdit() const { return Child<QLineEdit>("ProgFolderEdit"); }
    QTreeWidget *Tree() const { return Child<QTreeWidget>("ProgFoldersTree"); }
    // Welcome, licence agreed, folder page with the given folder.
    void ToFolderPage()
    {
        StartWithOnePack();
        Next();
        ClickAgree();
        Next();
        ASSERT_EQ(SetupPars.State, 2);
    }
    void ToGroupPage(const QString &folder)
    {
        ToFolderPage();
        FolderEdit()->setText(folder);
        Next();
        ASSERT_EQ(SetupPars.State, 3);
    }
    QStringList Children(const QTreeWidgetItem *node) const
    {
        QStringList names;
        for (int i = 0; i < node->childCount(); ++i)
            names << node->child(i)->text(0);
        return names;
    }
};

TEST_F(WizardPages, NextAndBackFollowTheStateTable)
{
    StartWithOnePack();
    Expect({0, "WelcomePanel", false, true});
    Next();
    Expect({1, "LicencePanel", true, false});
    EXPECT_EQ(Wizard()->focusWidget(), Child<QWidget>("LicenceMemo"));
    Back();
    Expect({0, "WelcomePanel", false, true});
    Next();
    ClickAgree();
    Expect({1, "LicencePanel", true, true});
    Next();
    Expect({2, "InstallDirPanel", true, true});
    EXPECT_EQ(FolderEdit()->text().toStdString(), SetupPars.InstallFolder);
    Back();
    Expect({1, "LicencePanel", true, false});
    EXPECT_FALSE(Child<QRadioButton>("AgreeRadio")->isChecked());
    EXPECT_FALSE(Child<QRadioButton>("DisagreeRadio")->isChecked());
    ClickAgree();
    Next();
    FolderEdit()->setText(env.Path("target"));
    Next();
    Expect({3, "ProgFolderPanel", true, true});
    EXPECT_EQ(GroupEdit()->text(), "Tarnwick");
    Back();
    Expect({2, "InstallDirPanel", true, true});
    EXPECT_EQ(FolderEdit()->text(), env.Path("target"));
    Next();
    Next();
    Expect({4, "ConfirmPanel", true, true});
    Back();
    Expect({3, "ProgFolderPanel", true, true});
    EXPECT_EQ(GroupEdit()->text(), "Tarnwick");
    EXPECT_EQ(dialogs.ExitQuestions, 0);
    EXPECT_TRUE(dialogs.Errors.isEmpty());
}

TEST_F(WizardPages, EitherRadioButtonEnablesNextAndDisagreeingAsksToLeave)
{
    StartWithOnePack();
    Next();
    EXPECT_FALSE(Child<QPushButton>("NextButton")->isEnabled());
    Child<QRadioButton>("DisagreeRadio")->click();
    EXPECT_TRUE(Child<QPushButton>("NextButton")->isEnabled());

    dialogs.ExitAnswers = {1};
    Next();
    EXPECT_EQ(dialogs.ExitQuestions, 1);
    EXPECT_TRUE(Wizard()->isVisible());
    Expect({1, "LicencePanel", true, true});

    dialogs.ExitAnswers = {2};
    Next();
    EXPECT_EQ(dialogs.ExitQuestions, 2);
    EXPECT_FALSE(Wizard()->isVisible());
}

TEST_F(WizardPages, ClosingOnTheLanguagePageDoesNotAsk)
{
    env.AddGeneratedPack("a.lng");
    env.AddGeneratedPack("b.lng");
    Start();
    CloseWizard();
    EXPECT_FALSE(Wizard()->isVisible());
    EXPECT_EQ(dialogs.ExitQuestions, 0);
}

TEST_F(WizardPages, ClosingOnAPageAsksAndResumeKeepsThePage)
{
    ToFolderPage();
    FolderEdit()->setText("typed");
    dialogs.ExitAnswers = {1};
    Child<QPushButton>("CancelButton")->click();
    EXPECT_TRUE(Wizard()->isVisible());
    Expect({2, "InstallDirPanel", true, true});
    EXPECT_EQ(FolderEdit()->text(), "typed");

    dialogs.ExitAnswers = {1};
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(Wizard(), &escape);
    EXPECT_TRUE(Wizard()->isVisible());

    dialogs.ExitAnswers = {2};
    CloseWizard();
    EXPECT_FALSE(Wizard()->isVisible());
    EXPECT_EQ(dialogs.ExitQuestions, 3);
}

TEST_F(WizardPages, TheWelcomePageAsksBeforeClosing)
{
    StartWithOnePack();
    dialogs.ExitAnswers = {2};
    CloseWizard();
    EXPECT_EQ(dialogs.ExitQuestions, 1);
    EXPECT_FALSE(Wizard()->isVisible());
}

TEST_F(WizardPages, TheFolderPageRefusesAPlainFileAndAFolderThatCannotBeMade)
{
    ToFolderPage();
    env.WriteFile(env.Path("plain"), "x");
    for (const QString &folder : {env.Path("plain"), env.Path("plain/sub"), QString()}) {
        FolderEdit()->setText(folder);
        Next();
        Expect({2, "InstallDirPanel", true, true});
        EXPECT_EQ(Wizard()->focusWidget(), FolderEdit());
    }
    EXPECT_EQ(dialogs.Errors, QStringList(3, "S21"));
    EXPECT_TRUE(QFileInfo(env.Path("plain")).isFile());
}

TEST_F(WizardPages, AFolderToBeMadePassesLeavesNothingAndIsKeptAsAFullPath)
{
    ToFolderPage();
    const QString saved = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(env.Path("")));
    FolderEdit()->setText("inst/one/two/");
    Next();
    QDir::setCurrent(saved);
    EXPECT_EQ(SetupPars.State, 3);
    EXPECT_EQ(SetupPars.InstallFolder, env.LocalPath("inst/one/two"));
    EXPECT_FALSE(QFileInfo::exists(env.Path("inst")));
    EXPECT_TRUE(dialogs.Errors.isEmpty());
}

// As in a shell, "~" and "~/" at the start stand for the home folder; anywhere else, or followed
// by a name, "~" is an ordinary character of a name.
TEST_F(WizardPages, ATildeAtTheStartOfTheFolderIsTheHomeFolder)
{
    struct THome
    {
        QByteArray Saved = qgetenv("HOME");
        QString Cwd = QDir::currentPath();
        ~THome()
        {
            qputenv("HOME", Saved);
            QDir::setCurrent(Cwd);
        }
    } restore;
    qputenv("HOME", QFile::encodeName(env.Path("home")));
    ASSERT_TRUE(QDir::setCurrent(env.Path("")));
    ToFolderPage();
    const std::pair<QString, std::string> typed[]
            = {{"~/Apps/Tarnwick/", env.LocalPath("home/Apps/Tarnwick")},
               {"~", env.LocalPath("home")},
               {"~x/a~", env.LocalPath("~x/a~")},
               {"a/~/b", env.LocalPath("a/~/b")}};
    for (const auto &[text, folder] : typed) {
        FolderEdit()->setText(text);
        Next();
        EXPECT_EQ(SetupPars.InstallFolder, folder) << text.toStdString();
        Back();
        EXPECT_EQ(FolderEdit()->text().toStdString(), folder);
    }
    EXPECT_TRUE(dialogs.Errors.isEmpty());
    EXPECT_EQ(QDir(env.Path("")).entryList({"~*", "home", "a"}, QDir::AllEntries), QStringList());
}

TEST_F(WizardPages, BrowsingReplacesTheFolderOnlyWhenOneWasPicked)
{
    ToFolderPage();
    FolderEdit()->setText("before");
    Child<QPushButton>("BrowseButton")->click();
    EXPECT_EQ(FolderEdit()->text(), "before");
    dialogs.BrowseAnswer = env.Path("picked");
    Child<QPushButton>("BrowseButton")->click();
    EXPECT_EQ(FolderEdit()->text(), env.Path("picked"));
    EXPECT_EQ(dialogs.BrowseTitles, QStringList(2, "S20"));
}

TEST_F(WizardPages, TheGroupTreeShowsTheMenuFoldersSortedWithoutLinks)
{
    QDir programs(env.ProgramsFolder());
    ASSERT_TRUE(programs.mkpath("beta/Inner"));
    ASSERT_TRUE(programs.mkpath("Alpha"));
    ASSERT_TRUE(programs.mkpath("gamma"));
    env.WriteFile(programs.filePath("plain.desktop"), "x");
    ASSERT_TRUE(QFile::link(programs.path(), programs.filePath("beta/loop")));
    ToGroupPage(env.Path("target"));

    ASSERT_EQ(Tree()->topLevelItemCount(), 1);
    QTreeWidgetItem *root = Tree()->topLevelItem(0);
    EXPECT_EQ(root->text(0), "applications");
    EXPECT_TRUE(root->isExpanded());
    EXPECT_EQ(Children(root), (QStringList{"Alpha", "beta", "gamma"}));
    EXPECT_EQ(Children(root->child(1)), QStringList{"Inner"});
    EXPECT_FALSE(root->child(1)->isExpanded());

    Tree()->setCurrentItem(root->child(1)->child(0));
    EXPECT_EQ(GroupEdit()->text(), "beta\\Inner");
    Tree()->setCurrentItem(root);
    EXPECT_EQ(GroupEdit()->text(), "");

    ASSERT_TRUE(programs.mkpath("Delta"));
    GroupEdit()->setText("Alpha");
    Next();
    Back();
    EXPECT_EQ(Children(Tree()->topLevelItem(0)), (QStringList{"Alpha", "beta", "Delta", "gamma"}));
    EXPECT_EQ(GroupEdit()->text(), "Alpha");
}

TEST_F(WizardPages, TheSummaryNamesTheFolderAndTheGroupLevels)
{
    ToGroupPage(env.Path("target"));
    GroupEdit()->setText("A\\B\\");
    Next();
    EXPECT_EQ(SetupPars.State, 4);
    EXPECT_EQ(SetupPars.ProgramGroup, "A\\B");
    EXPECT_EQ(Child<QPlainTextEdit>("ConfirmMemo")->toPlainText(),
              "S24\n   " + env.Path("target")
                      + "\n\n\nS25\n   applications | A | B\n\n\nTarnwick will be installed for "
                        "you only.");
    EXPECT_FALSE(QFileInfo::exists(env.ProgramsFolder() + "/A"));

    Back();
    GroupEdit()->setText("C/D");
    Next();
    EXPECT_EQ(SetupPars.ProgramGroup, "C/D");
    EXPECT_TRUE(Child<QPlainTextEdit>("ConfirmMemo")
                        ->toPlainText()
                        .contains("\n   applications | C | D\n"));

    Back();
    GroupEdit()->setText("");
    Next();
    EXPECT_TRUE(
            Child<QPlainTextEdit>("ConfirmMemo")->toPlainText().contains("\n   applications\n"));
}

TEST_F(WizardPages, AGroupThatCannotBeMadeStays)
{
    env.WriteFile(env.ProgramsFolder() + "/taken", "x");
    ToGroupPage(env.Path("target"));
    GroupEdit()->setText("taken\\sub");
    Next();
    EXPECT_EQ(SetupPars.State, 3);
    EXPECT_EQ(dialogs.Errors, QStringList{"S21"});
    EXPECT_EQ(Wizard()->focusWidget(), GroupEdit());
    GroupEdit()->setText(QString::fromUtf8("\u0416"));
    Next();
    EXPECT_EQ(SetupPars.State, 3);
    EXPECT_EQ(dialogs.Errors, QStringList(2, "S21"));
}

} // namespace
