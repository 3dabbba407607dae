#include "core/Unit_FileAssociation.h"
#include "core/Unit_Paths.h"
#include "platform/Registry.h"
#include "platform/ShellAssociation.h"
#include "platform/SpecialFolders.h"
#include "setup/SetupMain.h"
#include "setup/Unit_DataFile.h"
#include "setup/Unit_Extract.h"
#include "setup/Unit_LogFile.h"
#include "setup/Unit_SetupPars.h"
#include "setup/Unit_SetupStart.h"
#include "setup/Unit_Shortcuts.h"
#include "setup/WizardFixture.h"
#include "support/FileSizeLimit.h"
#include "tools/pack/Packer.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <cerrno>
#include <cstring>

using Setup::SetupPars;

namespace {

// The extraction's questions, answered from queues.
class TScriptedExtractQuestions : public TExtractQuestions
{
public:
    bool AskExit() override { return Next(ExitAnswers, "exit"); }
    bool AskForDisk(const std::string &) override { return Next(DiskCancels, "disk"); }
    int AskOverwrite(const std::string &text) override
    {
        Overwrites.push_back(text);
        if (OverwriteAnswers.empty()) {
            ADD_FAILURE() << "unexpected overwrite question: " << text;
            return 2;
        }
        const int answer = OverwriteAnswers.front();
        OverwriteAnswers.pop_front();
        return answer;
    }
    void ShowError(const std::string &text) override { Errors.push_back(text); }

    std::deque<bool> ExitAnswers;
    std::deque<bool> DiskCancels;
    std::deque<int> OverwriteAnswers;
    std::vector<std::string> Overwrites;
    std::vector<std::string> Errors;

private:
    static bool Next(std::deque<bool> &answers, const char *what)
    {
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected " << what << " question";
            return true;
        }
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

class Install : public WizardTest
{
protected:
    void SetUp() override
    {
        env.AddGeneratedPack("Alpha.lng", {{31, "Replace %f%?"}, {34, "Log title"}});
        env.AddGeneratedPack("Beta.lng");
        env.WriteFile(env.Path("content/tarnwick"), "#!/bin/sh\necho program\n");
        env.WriteFile(env.Path("content/readme.txt"), QByteArray(300, 'r'));
        env.WriteFile(env.Path("content/Uninst"), "#!/bin/sh\necho uninstaller\n");
        previousHelpCheck = Setup::SetHelpViewerCheck([](const std::string &) { return true; });
    }
    void TearDown() override
    {
        Setup::SetHelpViewerCheck(previousHelpCheck);
        WizardTest::TearDown();
    }
    void Pack()
    {
        ASSERT_TRUE(QDir().mkpath(env.Path("volumes")));
        std::string error;
        const std::vector<TPackItem> items{{kProgramFile, env.LocalPath("content/tarnwick")},
                                           {"sub\\readme.txt", env.LocalPath("content/readme.txt")},
                                           {kUninstallerFile, env.LocalPath("content/Uninst")}};
        ASSERT_GT(PackVolumes(items, 128, env.LocalPath("volumes"), error), 1) << error;
    }
    // Up to the summary, with the install folder "target" and the group "Group".
    void ToSummary() { ToSummary("target", "Group"); }
    void ToSummary(const QString &folder, const QString &group)
    {
        QDir().mkpath(env.Path("volumes"));
        Start();
        ExtractForm->VolumeFolders = {env.LocalPath("volumes")};
        ExtractForm->SetQuestions(&questions);
        Setup::MainForm->SelectLanguage("Alpha");
        Next();
        ClickAgree();
        Next();
        Child<QLineEdit>("InstallDirEdit")->setText(env.Path(folder));
        Next();
        Child<QLineEdit>("ProgFolderEdit")->setText(group);
        Next();
        ASSERT_EQ(SetupPars.State, 4);
    }
    QStringList LogLines(const QString &folder = "target") const
    {
        QString log = QString::fromLatin1(env.ReadFile(env.Path(folder + "/Install.log")));
        EXPECT_TRUE(log.endsWith("\r\n"));
        log.chop(2);
        return log.split("\r\n");
    }
    static bool IsStamp(const QString &line)
    {
        bool ok = false;
        return line.toInt(&ok) != 0 && ok;
    }
    QByteArray Pack(const char *name) const { return env.ReadFile(env.SetupFolder() + "/" + name); }
    QByteArray Target(const char *name) const { return env.ReadFile(env.Path("target/") + name); }

    TScriptedExtractQuestions questions;
    Setup::THelpViewerCheck previousHelpCheck;
};

// The desktop's files an installation logs last, relative to the desktop's data folder.
const QStringList DesktopDataFiles{"icons\\hicolor\\16x16\\apps\\tarnwick.png",
                                   "icons\\hicolor\\24x24\\apps\\tarnwick.png",
                                   "icons\\hicolor\\32x32\\apps\\tarnwick.png",
                                   "icons\\hicolor\\48x48\\apps\\tarnwick.png",
                                   "icons\\hicolor\\64x64\\apps\\tarnwick.png",
                                   "icons\\hicolor\\128x128\\apps\\tarnwick.png",
                                   "icons\\hicolor\\256x256\\apps\\tarnwick.png",
                                   "mime\\packages\\tarnwick-wdl.xml",
                                   "applications\\tarnwick.desktop"};

TEST_F(Install, ExtractsCopiesThePacksLogsAndShowsTheFinishPage)
{
    Pack();
    ToSummary();
    Next();
    EXPECT_EQ(SetupPars.State, 5);
    EXPECT_EQ(PageName(), "FinishPanel");
    EXPECT_TRUE(SetupPars.CloseWithoutAsking);
    EXPECT_TRUE(Child<QPushButton>("FinishButton")->isVisible());
    EXPECT_FALSE(Child<QPushButton>("NextButton")->isVisible());
    EXPECT_FALSE(Child<QPushButton>("BackButton")->isVisible());
    EXPECT_FALSE(Child<QPushButton>("CancelButton")->isVisible());
    EXPECT_EQ(Wizard()->focusWidget(), Child<QPushButton>("FinishButton"));

    EXPECT_EQ(Target("tarnwick"), env.ReadFile(env.Path("content/tarnwick")));
    EXPECT_EQ(Target("sub/readme.txt"), env.ReadFile(env.Path("content/readme.txt")));
    EXPECT_EQ(Target("Alpha.lng"), Pack("Alpha.lng"));
    EXPECT_EQ(Target("Beta.lng"), Pack("Beta.lng"));

    const QStringList lines = LogLines();
    ASSERT_EQ(lines.size(), 54) << lines.join('|').toStdString();
    EXPECT_EQ(lines.mid(0, 8),
              (QStringList{"Log title", "0", "", "{program folder}", "Group", "", "{program files}",
                           "tarnwick"}));
    EXPECT_EQ(lines[9], "sub\\readme.txt");
    EXPECT_EQ(lines[11], "Uninst");
    EXPECT_EQ(lines[13], "Alpha.lng");
    EXPECT_EQ(lines[15], "Beta.lng");
    EXPECT_EQ(lines.mid(17, 3), (QStringList{"", "{program folder files}", "S37.desktop"}));
    EXPECT_EQ(lines[21], "S38.desktop");
    EXPECT_EQ(lines[23], "S39.desktop");
    EXPECT_EQ(lines.mid(25, 3),
              (QStringList{"", "{menu directory files}", "tarnwick-Group.directory"}));
    EXPECT_EQ(lines.mid(29, 3), (QStringList{"", "{menu files}", "tarnwick-Group.menu"}));
    EXPECT_EQ(lines.mid(33, 2), (QStringList{"", "{desktop data files}"}));
    for (qsizetype i = 0; i < DesktopDataFiles.size(); ++i) {
        EXPECT_EQ(lines[35 + 2 * i], DesktopDataFiles[i]);
        QString file = DesktopDataFiles[i];
        EXPECT_EQ(lines[36 + 2 * i].toInt(),
                  FileTimeStamp(env.LocalPath("data/" + file.replace('\\', '/'))))
                << file.toStdString();
    }
    for (int stamp : {8, 10, 12, 14, 16, 20, 22, 24, 28, 32})
        EXPECT_TRUE(IsStamp(lines[stamp])) << lines[stamp].toStdString();
    EXPECT_EQ(lines[53], "");

    Child<QPushButton>("FinishButton")->click();
    QApplication::processEvents();
    EXPECT_FALSE(Wizard()->isVisible());
    EXPECT_EQ(dialogs.ExitQuestions, 0);
    EXPECT_TRUE(dialogs.Errors.isEmpty());
}

TEST_F(Install, AnExistingPackIsReplacedOnlyWhenTheUserAgrees)
{
    Pack();
    env.WriteFile(env.Path("target/Alpha.lng"), "old alpha");
    env.WriteFile(env.Path("target/Beta.lng"), "old beta");
    ToSummary();
    dialogs.OverwriteAnswers = {2, 1};
    Next();
    EXPECT_EQ(dialogs.OverwriteQuestions,
              (std::vector<std::string>{"Replace Alpha.lng?", "Replace Beta.lng?"}));
    EXPECT_EQ(Target("Alpha.lng"), "old alpha");
    EXPECT_EQ(Target("Beta.lng"), Pack("Beta.lng"));
    const QStringList lines = LogLines();
    EXPECT_FALSE(lines.contains("Alpha.lng"));
    EXPECT_EQ(lines.count("Beta.lng"), 1);
    EXPECT_EQ(SetupPars.State, 5);
}

TEST_F(Install, YesToAllAtThePacksStopsAsking)
{
    Pack();
    env.WriteFile(env.Path("target/Alpha.lng"), "old alpha");
    env.WriteFile(env.Path("target/Beta.lng"), "old beta");
    ToSummary();
    dialogs.OverwriteAnswers = {3};
    Next();
    EXPECT_EQ(dialogs.OverwriteQuestions.size(), 1u);
    EXPECT_EQ(Target("Alpha.lng"), Pack("Alpha.lng"));
    EXPECT_EQ(Target("Beta.lng"), Pack("Beta.lng"));
}

TEST_F(Install, YesToAllDuringTheExtractionOverwritesThePacksWithoutAsking)
{
    Pack();
    env.WriteFile(env.Path("target/tarnwick"), "old program");
    env.WriteFile(env.Path("target/Alpha.lng"), "old alpha");
    env.WriteFile(env.Path("target/Beta.lng"), "old beta");
    ToSummary();
    questions.OverwriteAnswers = {3};
    Next();
    EXPECT_EQ(questions.Overwrites.size(), 1u);
    EXPECT_TRUE(dialogs.OverwriteQuestions.empty());
    EXPECT_EQ(Target("tarnwick"), env.ReadFile(env.Path("content/tarnwick")));
    EXPECT_EQ(Target("Alpha.lng"), Pack("Alpha.lng"));
    EXPECT_EQ(Target("Beta.lng"), Pack("Beta.lng"));
    EXPECT_EQ(SetupPars.State, 5);
}

TEST_F(Install, LeavingTheExtractionClosesTheWizardWithoutAskingAndCopiesNoPack)
{
    ToSummary();
    questions.DiskCancels = {true};
    questions.ExitAnswers = {true};
    Next();
    QApplication::processEvents();
    EXPECT_FALSE(Wizard()->isVisible());
    EXPECT_TRUE(SetupPars.CloseWithoutAsking);
    EXPECT_EQ(dialogs.ExitQuestions, 0);
    EXPECT_FALSE(QFileInfo::exists(env.Path("target/Alpha.lng")));
    EXPECT_EQ(LogLines(),
              (QStringList{"Log title", "0", "", "{program folder}", "Group", "", "{program files}",
                           ""}));
}

TEST_F(Install, APackThatCannotBeCopiedStopsTheInstallation)
{
    Pack();
    ToSummary();
    ASSERT_TRUE(QFile::remove(env.SetupFolder() + "/Beta.lng"));
    Next();
    QApplication::processEvents();
    ASSERT_EQ(dialogs.Errors.size(), 1);
    EXPECT_EQ(dialogs.Errors[0],
              "Could not read the file \"" + env.SetupFolder()
                      + "/Beta.lng\": " + std::strerror(ENOENT) + ".");
    EXPECT_FALSE(Wizard()->isVisible());
    EXPECT_EQ(dialogs.ExitQuestions, 0);
    EXPECT_TRUE(dialogs.OverwriteQuestions.empty());
    EXPECT_FALSE(LogLines().contains("Beta.lng"));
    EXPECT_EQ(Target("Alpha.lng"), Pack("Alpha.lng"));
}

// A full disk while the packs are copied: the failing pack names its file and the system's
// reason, and no part of it is left behind or logged.
TEST_F(Install, APackThatCannotBeWrittenNamesItsFileAndTheReasonAndLeavesNoPart)
{
    Pack();
    ToSummary();
    {
        TFileSizeLimit limit(static_cast<rlim_t>(Pack("Alpha.lng").size() / 2));
        Next();
        QApplication::processEvents();
    }
    ASSERT_EQ(dialogs.Errors.size(), 1);
    EXPECT_EQ(dialogs.Errors[0],
              "Could not write the file \"" + env.Path("target/Alpha.lng")
                      + "\": " + std::strerror(EFBIG) + ".");
    EXPECT_FALSE(Wizard()->isVisible());
    EXPECT_EQ(QDir(env.Path("target")).entryList({"Alpha*"}, QDir::AllEntries | QDir::Hidden),
              QStringList());
    const QStringList lines = LogLines();
    EXPECT_TRUE(lines.contains("sub\\readme.txt"));
    EXPECT_FALSE(lines.contains("Alpha.lng"));
}

TEST_F(Install, ALogThatCannotBeCreatedStopsBeforeExtracting)
{
    Pack();
    ToSummary();
    ASSERT_TRUE(QDir().mkpath(env.Path("target/Install.log")));
    Next();
    QApplication::processEvents();
    ASSERT_EQ(dialogs.Errors.size(), 1);
    EXPECT_TRUE(dialogs.Errors[0].startsWith("Could not create the installation log"));
    EXPECT_FALSE(Wizard()->isVisible());
    EXPECT_FALSE(QFileInfo::exists(env.Path("target/tarnwick")));
}

// The whole road twice: an installation from packed volumes, a change by the user, and a second
// installation elsewhere that first removes the earlier one.
TEST_F(Install, ASecondInstallationRemovesTheFirstExceptWhatTheUserChanged)
{
    Pack();
    ToSummary("first", "Learn\\Tarnwick");
    Next();
    ASSERT_EQ(SetupPars.State, 5);
    EXPECT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join('|').toStdString();

    const QString group = env.ProgramsFolder() + "/Learn/Tarnwick/";
    const QString first = env.Path("first");
    EXPECT_EQ(env.ReadFile(group + "S37.desktop"),
              "[Desktop Entry]\nType=Application\nName=S37\nExec=\"" + first.toUtf8()
                      + "/tarnwick\"\nPath=" + first.toUtf8()
                      + "\nTerminal=false\nIcon=tarnwick\n");
    EXPECT_TRUE(env.ReadFile(group + "S38.desktop")
                        .contains("Exec=xdg-open \"" + first.toUtf8() + "/S36\""));
    const QString menus = env.MergedMenusFolder();
    const QString directories = env.DesktopDirectoriesFolder();
    EXPECT_TRUE(env.ReadFile(menus + "/tarnwick-Learn-Tarnwick.menu")
                        .contains("<Filename>Learn-Tarnwick-S37.desktop</Filename>"));
    EXPECT_EQ(QDir(directories).entryList(QDir::Files),
              (QStringList{"tarnwick-Learn-Tarnwick.directory", "tarnwick-Learn.directory"}));
    EXPECT_TRUE(
            env.ReadFile(group + "S39.desktop").contains("Exec=\"" + first.toUtf8() + "/Uninst\""));
    const QStringList log = QString::fromLatin1(env.ReadFile(first + "/Install.log")).split("\r\n");
    EXPECT_EQ(log.mid(3, 2), (QStringList{"{program folder}", "Learn\\Tarnwick"}));
    EXPECT_TRUE(log.contains("{program folder files}"));

    TRegistry machine(Registry::Hive::LocalMachine);
    ASSERT_TRUE(machine.OpenKeyReadOnly("Software\\Tarnwick"));
    EXPECT_EQ(machine.ReadString("Language"), "Alpha");
    ASSERT_TRUE(machine.OpenKeyReadOnly(Setup::UninstallKey));
    EXPECT_EQ(machine.ReadString("UninstallString"), env.LocalPath("first/Uninst"));
    const std::string program
            = QFile::encodeName(QFileInfo(first + "/tarnwick").canonicalFilePath()).toStdString();
    EXPECT_TRUE(CheckFileAssociation(program, "S35"));
    EXPECT_TRUE(env.ReadFile(env.ProgramsFolder() + "/" + ShellAssociation::DesktopEntryName)
                        .contains("Exec=\"" + QByteArray::fromStdString(program) + "\" %f"));

    // The user edits one installed file and adds one of their own.
    env.WriteFile(first + "/sub/readme.txt", "my notes");
    {
        QFile edited(first + "/sub/readme.txt");
        ASSERT_TRUE(edited.open(QIODevice::ReadWrite));
        ASSERT_TRUE(edited.setFileTime(QDateTime::currentDateTime().addDays(2),
                                       QFileDevice::FileModificationTime));
    }
    env.WriteFile(first + "/mine.wdl", "a list");
    Setup::DestroySetupWindows();

    ToSummary("second", "Other");
    ASSERT_TRUE(SetupPars.PreviousFound);
    EXPECT_EQ(SetupPars.PreviousFolder, env.LocalPath("first"));
    EXPECT_EQ(SetupPars.PreviousGroup, "Learn\\Tarnwick");
    Next();
    ASSERT_EQ(SetupPars.State, 5);

    std::vector<std::string> left;
    for (const QString &name : QDir(first).entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
        left.push_back(name.toStdString());
    EXPECT_EQ(left, (std::vector<std::string>{"mine.wdl", "sub"}));
    EXPECT_EQ(env.ReadFile(first + "/sub/readme.txt"), "my notes");
    EXPECT_FALSE(QFileInfo::exists(env.ProgramsFolder() + "/Learn"));
    EXPECT_TRUE(QFileInfo::exists(env.ProgramsFolder() + "/Other/S37.desktop"));
    EXPECT_EQ(QDir(menus).entryList(QDir::Files), QStringList{"tarnwick-Other.menu"});
    EXPECT_EQ(QDir(directories).entryList(QDir::Files), QStringList{"tarnwick-Other.directory"});
    EXPECT_EQ(env.ReadFile(env.Path("second/tarnwick")),
              env.ReadFile(env.Path("content/tarnwick")));
    ASSERT_TRUE(machine.OpenKeyReadOnly(Setup::UninstallKey));
    EXPECT_EQ(machine.ReadString("UninstallString"), env.LocalPath("second/Uninst"));
    EXPECT_TRUE(CheckFileAssociation(
            QFile::encodeName(QFileInfo(env.Path("second/tarnwick")).canonicalFilePath())
                    .toStdString(),
            "S35"));
    TRegistry classes(Registry::Hive::ClassesRoot);
    EXPECT_TRUE(classes.KeyExists("Tarnwick.Wordlist\\Shell\\open\\command"));
}

TEST_F(Install, ShortcutsThatCannotBeWrittenAreReportedOnceAndTheInstallationCompletes)
{
    Pack();
    ToSummary();
    env.WriteFile(env.ProgramsFolder() + "/Group", "a file where the group should be");
    Next();
    EXPECT_EQ(SetupPars.State, 5);
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_TRUE(dialogs.Messages[0].startsWith("Tarnwick has been installed, but"));
    EXPECT_EQ(dialogs.Messages[0].count(".desktop"), 3);
    EXPECT_TRUE(dialogs.Errors.isEmpty());
    const QStringList lines = LogLines();
    const qsizetype entries = lines.indexOf("{program folder files}");
    ASSERT_GE(entries, 0);
    EXPECT_EQ(lines[entries + 1], "");
    EXPECT_TRUE(CheckFileAssociation(
            QFile::encodeName(QFileInfo(env.Path("target/tarnwick")).canonicalFilePath())
                    .toStdString(),
            "S35"));
}

// Setup's own folder as the install folder: the packs are already in place, and replacing them
// would remove what is to be copied.
TEST_F(Install, IntoSetupsOwnFolderThePacksStayAndAreLoggedWithoutAQuestion)
{
    Pack();
    const QByteArray alpha = Pack("Alpha.lng");
    const QByteArray beta = Pack("Beta.lng");
    ToSummary("setup", "Group");
    Next();
    EXPECT_EQ(SetupPars.State, 5);
    EXPECT_TRUE(dialogs.OverwriteQuestions.empty());
    EXPECT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();
    EXPECT_EQ(Pack("Alpha.lng"), alpha);
    EXPECT_EQ(Pack("Beta.lng"), beta);
    TLogReader log;
    ASSERT_TRUE(log.Open(env.LocalPath("setup/Install.log")));
    std::vector<std::string> packs;
    for (const TLogItem &item : log.Section("{program files}")) {
        if (!item.Name.ends_with(".lng"))
            continue;
        packs.push_back(item.Name);
        EXPECT_EQ(item.Stamp, FileTimeStamp(env.LocalPath("setup/") + item.Name)) << item.Name;
    }
    EXPECT_EQ(packs, (std::vector<std::string>{"Alpha.lng", "Beta.lng"}));
}

// Run by the administrator, setup installs for every user: the store's machine-wide values, the
// file type, its entry, the icon and the menus go to the system's folders (here below a stand-in
// root), nothing into the administrator's own; all of it is logged, and the next installation
// by the administrator finds it and removes the files.
TEST_F(Install, TheAdministratorInstallsForEveryUserAndTheNextInstallationRemovesIt)
{
    SetAdministratorCheck([] { return true; });
    Pack();
    ToSummary("first", "Group");
    EXPECT_TRUE(
            Child<QPlainTextEdit>("ConfirmMemo")
                    ->toPlainText()
                    .endsWith("\n\n\nTarnwick will be installed for every user of this computer."));
    Next();
    ASSERT_EQ(SetupPars.State, 5);
    EXPECT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join('|').toStdString();

    const QString system = env.SystemRoot();
    const QString data = system + "/usr/local/share/";
    for (QString file : DesktopDataFiles)
        EXPECT_TRUE(QFileInfo::exists(data + file.replace('\\', '/'))) << file.toStdString();
    EXPECT_TRUE(QFileInfo::exists(data + "applications/Group/S37.desktop"));
    EXPECT_TRUE(
            QFileInfo::exists(system + "/etc/xdg/menus/applications-merged/tarnwick-Group.menu"));
    EXPECT_TRUE(
            QDir(env.DataFolder()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
    EXPECT_FALSE(QFileInfo::exists(env.Path("config/mimeapps.list")));

    // The values are in the system's hive, readable by everyone, and not in the own one.
    const QString hive = system + "/etc/xdg/tarnwick/registry/HKEY_LOCAL_MACHINE.reg";
    EXPECT_TRUE(QFileInfo(hive).permissions().testFlag(QFileDevice::ReadOther));
    EXPECT_TRUE(env.ReadFile(hive).contains("\"Language\"=\"Alpha\""));
    EXPECT_TRUE(env.ReadFile(QString::fromStdString(
                                     Registry::HiveFilePath(Registry::Hive::LocalMachine)))
                        .isEmpty());
    EXPECT_TRUE(env.ReadFile(system + "/etc/xdg/tarnwick/registry/HKEY_CLASSES_ROOT.reg")
                        .contains("Tarnwick.Wordlist"));

    const QStringList lines = LogLines("first");
    const qsizetype section = lines.indexOf("{desktop data files}");
    ASSERT_GE(section, 0);
    QStringList logged;
    for (qsizetype i = section + 1; i < lines.size() && !lines[i].isEmpty(); i += 2)
        logged.push_back(lines[i]);
    EXPECT_EQ(logged, DesktopDataFiles);
    Setup::DestroySetupWindows();

    ToSummary("second", "Other");
    ASSERT_TRUE(SetupPars.PreviousFound);
    EXPECT_EQ(SetupPars.PreviousFolder, env.LocalPath("first"));
    Next();
    ASSERT_EQ(SetupPars.State, 5);
    EXPECT_FALSE(QFileInfo::exists(env.Path("first")));
    EXPECT_FALSE(QFileInfo::exists(data + "applications/Group"));
    EXPECT_TRUE(QFileInfo::exists(data + "applications/Other/S37.desktop"));
    EXPECT_TRUE(QFileInfo::exists(data + "icons/hicolor/48x48/apps/tarnwick.png"));
}

TEST_F(Install, InstallingAgainIntoTheSameFolderAsksOnlyAboutTheChangedFile)
{
    Pack();
    ToSummary();
    Next();
    ASSERT_EQ(SetupPars.State, 5);
    env.WriteFile(env.Path("target/sub/readme.txt"), "my notes");
    {
        QFile edited(env.Path("target/sub/readme.txt"));
        ASSERT_TRUE(edited.open(QIODevice::ReadWrite));
        ASSERT_TRUE(edited.setFileTime(QDateTime::currentDateTime().addDays(2),
                                       QFileDevice::FileModificationTime));
    }
    Setup::DestroySetupWindows();

    ToSummary();
    ASSERT_TRUE(SetupPars.PreviousFound);
    // The removal kept only the changed file, so only its replacement is asked about.
    questions.OverwriteAnswers = {1};
    Next();
    ASSERT_EQ(SetupPars.State, 5);
    ASSERT_EQ(questions.Overwrites.size(), 1u);
    EXPECT_NE(questions.Overwrites[0].find("readme.txt"), std::string::npos);
    EXPECT_TRUE(dialogs.OverwriteQuestions.empty());
    EXPECT_EQ(Target("sub/readme.txt"), env.ReadFile(env.Path("content/readme.txt")));
    EXPECT_EQ(Target("tarnwick"), env.ReadFile(env.Path("content/tarnwick")));
    const QStringList lines = LogLines();
    EXPECT_EQ(lines.count("tarnwick"), 1);
    EXPECT_EQ(lines.count("S37.desktop"), 1);
    EXPECT_TRUE(QFileInfo::exists(env.ProgramsFolder() + "/Group/S39.desktop"));
}

} // namespace
