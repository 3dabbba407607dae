#include "core/Unit_FileAssociation.h"
#include "core/Unit_LanguagePack.h"
#include "core/Unit_Paths.h"
#include "platform/Registry.h"
#include "platform/ShellAssociation.h"
#include "setup/ExtractFixture.h"
#include "setup/SetupEntries.h"
#include "setup/Unit_GroupMenu.h"
#include "setup/Unit_LogFile.h"
#include "setup/Unit_SetupPars.h"
#include "setup/Unit_Shortcuts.h"
#include "setup/WizardEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>

using namespace Setup;

namespace {

class Shortcuts : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Text(TSetupEntry::FileTypeName) = "Tarnwick word list";
        Text(TSetupEntry::SecondShortcutTarget) = "Docs\\Read me.txt";
        Text(TSetupEntry::TrainerShortcutName) = "Tarnwick";
        Text(TSetupEntry::SecondShortcutName) = "Read me";
        Text(TSetupEntry::UninstallShortcutName) = "Remove Tarnwick";
        previousHelpCheck = SetHelpViewerCheck([this](const std::string &file) {
            HelpFilesAsked.push_back(file);
            return HelpViewer;
        });
    }
    void TearDown() override { SetHelpViewerCheck(previousHelpCheck); }
    static std::string &Text(TSetupEntry entry)
    {
        return LanguagePack->Entries[static_cast<size_t>(entry)];
    }
    // Creates the shortcuts with a fresh log in folder and returns the log's lines.
    std::vector<std::string> Create(const std::string &folder, const std::string &group)
    {
        QDir().mkpath(QString::fromStdString(folder));
        {
            TLogFile log(folder, group);
            CreateShortcuts(folder, group, log, failures);
        }
        QFile file(QString::fromStdString(JoinPath(folder, "Install.log")));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return LogLines(file.readAll().toStdString());
    }
    // The uninstaller as a later package ships it.
    static void AddUninstaller(const std::string &folder)
    {
        QDir().mkpath(QString::fromStdString(folder));
        QFile file(QString::fromStdString(JoinPath(folder, kUninstallerFile)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n");
    }
    QString Entry(const QString &relative) const { return env.ProgramsFolder() + "/" + relative; }
    QString Menu(const QString &name) const { return env.MergedMenusFolder() + "/" + name; }
    QString Directory(const QString &name) const
    {
        return env.DesktopDirectoriesFolder() + "/" + name;
    }
    QByteArray Read(const QString &path) const { return env.ReadFile(path); }
    static void ExpectAccepted(const QString &tool, const QStringList &arguments)
    {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(tool, arguments);
        ASSERT_TRUE(process.waitForFinished(30000));
        EXPECT_EQ(process.exitCode(), 0)
                << arguments.join(' ').toStdString() << ": " << process.readAll().toStdString();
    }
    static std::string MachineString(const char *key, const char *name)
    {
        TRegistry registry(Registry::Hive::LocalMachine);
        EXPECT_TRUE(registry.OpenKeyReadOnly(key)) << key;
        return registry.ReadString(name).value_or("<absent>");
    }

    TSetupEnvironment env;
    TSetupTexts texts;
    TFailures failures;
    // Whether the desktop opens the help file, and the files it was asked about.
    bool HelpViewer = true;
    std::vector<std::string> HelpFilesAsked;
    THelpViewerCheck previousHelpCheck;
};

// The group becomes a submenu: a directory entry per level and one merged menu that includes
// the entries by their desktop-file ids, each logged in its own section.
TEST_F(Shortcuts, ATwoLevelGroupIsCreatedAndTheEntriesAreLoggedRelativeToIt)
{
    const std::string folder = env.LocalPath("target");
    AddUninstaller(folder);
    const std::vector<std::string> lines = Create(folder, "Learning\\Tarnwick");
    EXPECT_TRUE(failures.empty());
    ASSERT_EQ(lines.size(), 24u);
    EXPECT_EQ(lines[5], "");
    EXPECT_EQ(lines[6], "{program folder files}");
    EXPECT_EQ(lines[7], "Tarnwick.desktop");
    EXPECT_EQ(lines[9], "Read me.desktop");
    EXPECT_EQ(lines[11], "Remove Tarnwick.desktop");
    EXPECT_EQ(lines[13], "");
    EXPECT_EQ(lines[14], "{menu directory files}");
    EXPECT_EQ(lines[15], "tarnwick-Learning.directory");
    EXPECT_EQ(lines[17], "tarnwick-Learning-Tarnwick.directory");
    EXPECT_EQ(lines[19], "");
    EXPECT_EQ(lines[20], "{menu files}");
    EXPECT_EQ(lines[21], "tarnwick-Learning-Tarnwick.menu");
    EXPECT_EQ(lines[23], "");
    const std::pair<size_t, QString> stamped[]
            = {{8, Entry("Learning/Tarnwick/Tarnwick.desktop")},
               {10, Entry("Learning/Tarnwick/Read me.desktop")},
               {12, Entry("Learning/Tarnwick/Remove Tarnwick.desktop")},
               {16, Directory("tarnwick-Learning.directory")},
               {18, Directory("tarnwick-Learning-Tarnwick.directory")},
               {22, Menu("tarnwick-Learning-Tarnwick.menu")}};
    for (const auto &[stamp, path] : stamped) {
        ASSERT_TRUE(QFileInfo::exists(path)) << path.toStdString();
        EXPECT_EQ(ParseStamp(lines[stamp]), FileTimeStamp(QFile::encodeName(path).toStdString()))
                << lines[stamp - 1];
    }
    EXPECT_EQ(Read(Directory("tarnwick-Learning.directory")),
              "[Desktop Entry]\nType=Directory\nName=Learning\n");
    EXPECT_EQ(Read(Directory("tarnwick-Learning-Tarnwick.directory")),
              "[Desktop Entry]\nType=Directory\nName=Tarnwick\n");
    EXPECT_EQ(Read(Menu("tarnwick-Learning-Tarnwick.menu")),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<!DOCTYPE Menu PUBLIC \"-//freedesktop//DTD Menu 1.0//EN\"\n"
              "    \"http://www.freedesktop.org/standards/menu-spec/menu-1.0.dtd\">\n"
              "<Menu>\n"
              "    <Name>Applications</Name>\n"
              "    <Menu>\n"
              "        <Name>Learning</Name>\n"
              "        <Directory>tarnwick-Learning.directory</Directory>\n"
              "        <Menu>\n"
              "            <Name>Tarnwick</Name>\n"
              "            <Directory>tarnwick-Learning-Tarnwick.directory</Directory>\n"
              "            <Include>\n"
              "                <Filename>Learning-Tarnwick-Tarnwick.desktop</Filename>\n"
              "                <Filename>Learning-Tarnwick-Read me.desktop</Filename>\n"
              "                <Filename>Learning-Tarnwick-Remove Tarnwick.desktop</Filename>\n"
              "            </Include>\n"
              "        </Menu>\n"
              "    </Menu>\n"
              "</Menu>\n");

    const QString target = QString::fromStdString(folder);
    EXPECT_EQ(Read(Entry("Learning/Tarnwick/Tarnwick.desktop")),
              "[Desktop Entry]\nType=Application\nName=Tarnwick\nExec=\"" + target.toUtf8()
                      + "/tarnwick\"\nPath=" + target.toUtf8()
                      + "\nTerminal=false\nIcon=tarnwick\n");
    // The icon the entries name is in the user's icon theme.
    EXPECT_FALSE(Read(env.DataFolder() + "/icons/hicolor/48x48/apps/tarnwick.png").isEmpty());
    EXPECT_TRUE(
            Read(Entry("Learning/Tarnwick/Read me.desktop"))
                    .contains("\nExec=xdg-open \"" + target.toUtf8() + "/Docs/Read me.txt\"\n"));
    EXPECT_TRUE(Read(Entry("Learning/Tarnwick/Remove Tarnwick.desktop"))
                        .contains("\nExec=\"" + target.toUtf8() + "/Uninst\"\n"));
}

// The help entry starts xdg-open; without an application for the help file's type it would start
// nothing, so it is made only when the desktop has one.
TEST_F(Shortcuts, TheHelpEntryIsMadeOnlyWhenTheDesktopOpensTheHelpFile)
{
    const std::string folder = env.LocalPath("target");
    HelpViewer = false;
    const std::vector<std::string> lines = Create(folder, "G");
    EXPECT_TRUE(failures.empty());
    EXPECT_EQ(HelpFilesAsked, std::vector<std::string>{folder + "/Docs/Read me.txt"});
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Read me.desktop"), 0);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Tarnwick.desktop"), 1);
    EXPECT_FALSE(QFileInfo::exists(Entry("G/Read me.desktop")));
    EXPECT_FALSE(Read(Menu("tarnwick-G.menu")).contains("Read me"));
    EXPECT_TRUE(Read(Menu("tarnwick-G.menu")).contains("<Filename>G-Tarnwick.desktop</Filename>"));
}

// The group's submenu shows its entries; a category would show them a second time under it. Only
// entries without a group need one to be shown at all.
TEST_F(Shortcuts, OnlyEntriesOutsideAGroupHaveACategory)
{
    const std::string folder = env.LocalPath("target");
    Create(folder, "G");
    EXPECT_FALSE(Read(Entry("G/Tarnwick.desktop")).contains("Categories="));
    EXPECT_FALSE(Read(Entry("G/Read me.desktop")).contains("Categories="));
    Create(folder, "");
    EXPECT_TRUE(Read(Entry("Tarnwick.desktop")).contains("\nCategories=Education;\n"));
}

TEST_F(Shortcuts, NamesWithSeparatorsAndTextInTheCodePageBecomeOneUtf8File)
{
    Text(TSetupEntry::TrainerShortcutName) = "Tarnwick 1/2 \xE9t\xE9";
    const std::vector<std::string> lines = Create(env.LocalPath("target"), "G");
    EXPECT_EQ(lines[7], "Tarnwick 1-2 \xE9t\xE9.desktop");
    const QString file = Entry(QString::fromUtf8("G/Tarnwick 1-2 \u00e9t\u00e9.desktop"));
    ASSERT_TRUE(QFileInfo::exists(file));
    EXPECT_TRUE(Read(file).contains("\nName=Tarnwick 1/2 \xC3\xA9t\xC3\xA9\n"));
    EXPECT_TRUE(Read(Menu("tarnwick-G.menu"))
                        .contains("<Filename>G-Tarnwick 1-2 \xC3\xA9t\xC3\xA9.desktop</Filename>"));
}

// Inside quotes '"', '`', '$' and '\' are escaped, then the value escaping doubles backslashes.
TEST_F(Shortcuts, ExecQuotesAFolderWithSpacesDollarsQuotesAndPercents)
{
    const std::string folder = env.LocalPath("my $HOME \"x\" 100% `y` a\\b");
    Create(folder, "G");
    const QByteArray entry = Read(Entry("G/Tarnwick.desktop"));
    const QByteArray folderUtf8 = QByteArray::fromStdString(env.LocalPath(""));
    EXPECT_TRUE(entry.contains(
            "\nExec=\"" + folderUtf8
            + "/my \\\\$HOME \\\\\"x\\\\\" 100%% \\\\`y\\\\` a\\\\\\\\b/tarnwick\"\n"))
            << entry.toStdString();
    EXPECT_TRUE(entry.contains("\nPath=" + folderUtf8 + "/my $HOME \"x\" 100% `y` a\\\\b\n"))
            << entry.toStdString();
}

TEST_F(Shortcuts, EveryEntryWrittenIsAcceptedByTheDesktopsValidator)
{
    const QString validator = QStandardPaths::findExecutable("desktop-file-validate");
    if (validator.isEmpty())
        GTEST_SKIP() << "desktop-file-validate is not installed";
    AddUninstaller(env.LocalPath("my $HOME \"x\" 100% `y` a\\b"));
    Create(env.LocalPath("my $HOME \"x\" 100% `y` a\\b"), "A\\B");
    WriteSettings("English", env.LocalPath("my $HOME \"x\" 100% `y` a\\b"), failures);
    const QStringList files{
            Entry("A/B/Tarnwick.desktop"),        Entry("A/B/Read me.desktop"),
            Entry("A/B/Remove Tarnwick.desktop"), Entry(ShellAssociation::DesktopEntryName),
            Directory("tarnwick-A.directory"),    Directory("tarnwick-A-B.directory")};
    for (const QString &file : files)
        ExpectAccepted(validator, {file});
    // The merged menu is XML that a menu reader can parse.
    const QString xmllint = QStandardPaths::findExecutable("xmllint");
    if (!xmllint.isEmpty())
        ExpectAccepted(xmllint, {"--noout", Menu("tarnwick-A-B.menu")});
}

TEST_F(Shortcuts, AnEntryThatCannotBeWrittenIsNotLoggedAndIsReported)
{
    QDir().mkpath(env.ProgramsFolder());
    env.WriteFile(Entry("Blocked"), "a file where the group folder should be");
    AddUninstaller(env.LocalPath("target"));
    const std::vector<std::string> lines = Create(env.LocalPath("target"), "Blocked");
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[6], "{program folder files}");
    EXPECT_EQ(lines[7], "");
    ASSERT_EQ(failures.size(), 3u);
    EXPECT_EQ(failures[0],
              "Could not write the shortcut \"" + env.LocalPath("data/applications")
                      + "/Blocked/Tarnwick.desktop\": " + std::strerror(ENOTDIR) + ".");
    EXPECT_NE(FailureWarning(failures).find(failures[2]), std::string::npos);
    // Without an entry there is nothing for a submenu to show.
    EXPECT_FALSE(QFileInfo::exists(env.MergedMenusFolder()));
    EXPECT_FALSE(QFileInfo::exists(env.DesktopDirectoriesFolder()));
}

// Without the uninstaller in the folder its entry would start nothing; the store's uninstall
// entry is written all the same.
TEST_F(Shortcuts, TheUninstallersEntryIsMadeOnlyWhenTheUninstallerIsThere)
{
    const std::vector<std::string> lines = Create(env.LocalPath("target"), "G");
    EXPECT_TRUE(failures.empty());
    ASSERT_GE(lines.size(), 12u);
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 6, lines.begin() + 12),
              (std::vector<std::string>{"{program folder files}", "Tarnwick.desktop", lines[8],
                                        "Read me.desktop", lines[10], ""}));
    EXPECT_FALSE(QFileInfo::exists(Entry("G/Remove Tarnwick.desktop")));
    EXPECT_FALSE(Read(Menu("tarnwick-G.menu")).contains("Remove"));
    WriteSettings("English", env.LocalPath("target"), failures);
    EXPECT_EQ(MachineString(UninstallKey, "UninstallString"), env.LocalPath("target/Uninst"));
}

// The menu file that cannot be written names itself and the reason; what was written stays
// logged.
TEST_F(Shortcuts, AMenuFileThatCannotBeWrittenIsReportedWithItsReasonAndNotLogged)
{
    ASSERT_TRUE(QDir().mkpath(Menu("tarnwick-R&D <1>.menu")));
    const std::vector<std::string> lines = Create(env.LocalPath("target"), "R&D <1>");
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0],
              "Could not write the menu file \"" + env.LocalPath("config")
                      + "/menus/applications-merged/tarnwick-R&D <1>.menu\": "
                      + QSaveFile::tr("Filename refers to a directory").toStdString() + ".");
    ASSERT_EQ(lines.size(), 18u);
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 11, lines.end()),
              (std::vector<std::string>{"", "{menu directory files}", "tarnwick-R&D <1>.directory",
                                        lines[14], "", "{menu files}", ""}));
    EXPECT_EQ(Read(Directory("tarnwick-R&D <1>.directory")),
              "[Desktop Entry]\nType=Directory\nName=R&D <1>\n");
    EXPECT_NE(GroupMenu({"R&D <1>"}, {"a.desktop"}).find("<Name>R&amp;D &lt;1&gt;</Name>"),
              std::string::npos);
}

// Entries at the top of the menu folder need no submenu.
TEST_F(Shortcuts, AnEmptyGroupMakesNoSubmenu)
{
    const std::vector<std::string> lines = Create(env.LocalPath("target"), "");
    EXPECT_TRUE(failures.empty());
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_TRUE(QFileInfo::exists(Entry("Tarnwick.desktop")));
    EXPECT_FALSE(QFileInfo::exists(env.MergedMenusFolder()));
    EXPECT_FALSE(QFileInfo::exists(env.DesktopDirectoriesFolder()));
}

TEST_F(Shortcuts, SettingsWriteTheWholeTableAndAReinstallMovesThem)
{
    env.WriteFile(env.Path("first/tarnwick"), "program");
    WriteSettings("English", env.LocalPath("first"), failures);
    EXPECT_TRUE(failures.empty());
    EXPECT_EQ(MachineString("\\Software\\Tarnwick", "Language"), "English");
    EXPECT_EQ(MachineString(UninstallKey, "DisplayName"), "Tarnwick");
    EXPECT_EQ(MachineString(UninstallKey, "UninstallString"), env.LocalPath("first/Uninst"));

    const std::string program
            = QFile::encodeName(QFileInfo(env.Path("first/tarnwick")).canonicalFilePath())
                      .toStdString();
    TRegistry classes(Registry::Hive::ClassesRoot);
    ASSERT_TRUE(classes.OpenKeyReadOnly(".wdl"));
    EXPECT_EQ(classes.ReadString(""), "Tarnwick.Wordlist");
    ASSERT_TRUE(classes.OpenKeyReadOnly("Tarnwick.Wordlist"));
    EXPECT_EQ(classes.ReadString(""), "Tarnwick word list");
    ASSERT_TRUE(classes.OpenKeyReadOnly("Tarnwick.Wordlist\\DefaultIcon"));
    EXPECT_EQ(classes.ReadString(""), program + ",1");
    ASSERT_TRUE(classes.OpenKeyReadOnly("Tarnwick.Wordlist\\Shell"));
    EXPECT_EQ(classes.ReadString(""), "open");
    ASSERT_TRUE(classes.OpenKeyReadOnly("Tarnwick.Wordlist\\Shell\\open\\command"));
    EXPECT_EQ(classes.ReadString(""), program + " \"%1\"");
    // The trainer started from there finds its association as setup left it.
    EXPECT_TRUE(CheckFileAssociation(program, "Tarnwick word list"));
    EXPECT_TRUE(Read(Entry(ShellAssociation::DesktopEntryName))
                        .contains("MimeType=application/x-tarnwick-wordlist;"));

    Text(TSetupEntry::FileTypeName) = "Word list";
    WriteSettings("Nederlands", env.LocalPath("second"), failures);
    EXPECT_TRUE(failures.empty());
    EXPECT_EQ(MachineString("\\Software\\Tarnwick", "Language"), "Nederlands");
    EXPECT_EQ(MachineString(UninstallKey, "UninstallString"), env.LocalPath("second/Uninst"));
    EXPECT_TRUE(CheckFileAssociation(InstalledProgramPath(env.LocalPath("second")), "Word list"));
}

TEST_F(Shortcuts, TheProgramPathIsCanonicalThroughLinksAndDots)
{
    env.WriteFile(env.Path("real/tarnwick"), "program");
    ASSERT_TRUE(QFile::link(env.Path("real"), env.Path("link")));
    EXPECT_EQ(InstalledProgramPath(env.LocalPath("link/../link")), env.LocalPath("real/tarnwick"));
    // Before the program is there the path is still absolute.
    EXPECT_EQ(InstalledProgramPath(env.LocalPath("none/./x")), env.LocalPath("none/x/tarnwick"));
}

TEST_F(Shortcuts, AStoreThatCannotBeWrittenIsReportedNotFatal)
{
    const QByteArray saved = qgetenv("TARNWICK_REGISTRY_DIR");
    env.WriteFile(env.Path("notafolder"), "x");
    qputenv("TARNWICK_REGISTRY_DIR", QFile::encodeName(env.Path("notafolder/store")));
    WriteSettings("English", env.LocalPath("target"), failures);
    qputenv("TARNWICK_REGISTRY_DIR", saved);
    EXPECT_GE(failures.size(), 3u);
    EXPECT_NE(FailureWarning(failures).find("Language"), std::string::npos);
}

TEST(TrainerFileName, TheConstantNamesTheBuiltTrainer)
{
    EXPECT_STREQ(kProgramFile, TARNWICK_TRAINER_FILE_NAME);
}

} // namespace

namespace {

// The trainer compares the file type's name with its own entry; a pack where the two differ
// would make every start of the trainer write the association again.
TEST(ShippedPacks, NameTheWordListTypeAsTheTrainerDoes)
{
    for (const char *name : {"English.lng", "Nederlands.lng"}) {
        const std::string path = std::string(TARNWICK_SOURCE_DIR "/lang/") + name;
        TLanguagePack setup;
        TLanguagePack trainer;
        ASSERT_TRUE(setup.LoadSetupFile(path)) << name;
        ASSERT_TRUE(trainer.LoadFile(path)) << name;
        EXPECT_EQ(setup.entry(35), trainer.entry(353)) << name;
        EXPECT_FALSE(setup.entry(35).empty()) << name;
    }
}

} // namespace
