#include "core/Unit_Paths.h"
#include "platform/Registry.h"
#include "setup/ExtractFixture.h"
#include "setup/Unit_LogFile.h"
#include "setup/Unit_Uninstall.h"
#include "setup/WizardEnvironment.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace Setup;

namespace {

class Uninstall : public ::testing::Test
{
protected:
    QString Folder(const QString &rel = QString()) const
    {
        return rel.isEmpty() ? env.Path("old") : env.Path("old/" + rel);
    }
    QString Menu(const QString &rel) const { return env.ProgramsFolder() + "/" + rel; }
    // Writes a file and returns its stamp as a log line.
    std::string Put(const QString &path) const
    {
        env.WriteFile(path, "contents");
        return std::to_string(*FileTimeStamp(QFile::encodeName(path).toStdString()));
    }
    static void Touch(const QString &path)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addDays(-3),
                                     QFileDevice::FileModificationTime));
    }
    void WriteLog(const std::vector<std::string> &lines) const
    {
        std::string text;
        for (const std::string &line : lines)
            text += line + "\r\n";
        env.WriteFile(Folder("Install.log"), QByteArray::fromStdString(text));
    }
    void Run(const std::string &group) const
    {
        UninstallPrevious(QFile::encodeName(Folder()).toStdString(), group);
    }
    static bool Exists(const QString &path) { return QFileInfo::exists(path); }

    TSetupEnvironment env;
    TSetupTexts texts;
};

TEST_F(Uninstall, UnchangedFilesGoChangedOnesAndTheirFoldersStay)
{
    const std::string program = Put(Folder("tarnwick"));
    const std::string data = Put(Folder("data/words.wdl"));
    const std::string other = Put(Folder("docs/readme.txt"));
    const std::string entry = Put(Menu("Learn/Tarnwick/Tarnwick.desktop"));
    const std::string edited = Put(Menu("Learn/Tarnwick/Read me.desktop"));
    Touch(Folder("data/words.wdl"));
    Touch(Menu("Learn/Tarnwick/Read me.desktop"));
    WriteLog({"title",
              "0",
              "",
              "{program folder}",
              "Learn\\Tarnwick",
              "",
              "{program files}",
              "tarnwick",
              program,
              "data\\words.wdl",
              data,
              "docs\\readme.txt",
              other,
              "",
              "{program folder files}",
              "Tarnwick.desktop",
              entry,
              "Read me.desktop",
              edited,
              ""});
    Run("Learn\\Tarnwick");
    EXPECT_FALSE(Exists(Folder("tarnwick")));
    EXPECT_FALSE(Exists(Folder("docs")));
    EXPECT_TRUE(Exists(Folder("data/words.wdl")));
    EXPECT_FALSE(Exists(Folder("Install.log")));
    EXPECT_TRUE(Exists(Folder()));
    EXPECT_FALSE(Exists(Menu("Learn/Tarnwick/Tarnwick.desktop")));
    EXPECT_TRUE(Exists(Menu("Learn/Tarnwick/Read me.desktop")));
}

TEST_F(Uninstall, ATwoLevelGroupGoesWhenEmptyAndTheMenuFolderStays)
{
    const std::string entry = Put(Menu("Learn/Tarnwick/Tarnwick.desktop"));
    const std::string program = Put(Folder("tarnwick"));
    WriteLog({"title", "0", "", "{program folder}", "Learn/Tarnwick/", "", "{program files}",
              "tarnwick", program, "", "{program folder files}", "Tarnwick.desktop", entry, ""});
    Run("Learn/Tarnwick/");
    EXPECT_FALSE(Exists(Menu("Learn")));
    EXPECT_TRUE(Exists(env.ProgramsFolder()));
    // With nothing left in it the install folder goes as well.
    EXPECT_FALSE(Exists(Folder()));
}

TEST_F(Uninstall, WithoutStampsEveryListedFileGoesAndAStampOfZeroAlwaysDeletes)
{
    Put(Folder("a.txt"));
    Put(Folder("b.txt"));
    Touch(Folder("b.txt"));
    WriteLog({"title", "", "", "{program folder}", "G", "", "{program files}", "a.txt", "b.txt", "",
              "{program folder files}", ""});
    Run("G");
    EXPECT_FALSE(Exists(Folder()));

    Put(Folder("c.txt"));
    Touch(Folder("c.txt"));
    Put(Folder("keep.txt"));
    WriteLog({"title", "0", "", "{program folder}", "G", "", "{program files}", "c.txt", "0", ""});
    Run("G");
    EXPECT_FALSE(Exists(Folder("c.txt")));
    EXPECT_TRUE(Exists(Folder("keep.txt")));
}

// A cancelled installation leaves a log whose last name has no stamp; the run after it must
// still remove the rest.
TEST_F(Uninstall, ATruncatedOrDamagedLogKeepsTheUnstampedFilesAndRemovesTheRest)
{
    const std::string a = Put(Folder("a.txt"));
    Put(Folder("b.txt"));
    Put(Folder("c.txt"));
    Put(Folder("d.txt"));
    WriteLog({"title", "0", "", "{program folder}", "G", "", "{program files}", "a.txt", a, "b.txt",
              "12x", "c.txt", "99999999999", "d.txt"});
    Run("G");
    EXPECT_FALSE(Exists(Folder("a.txt")));
    EXPECT_TRUE(Exists(Folder("b.txt")));
    EXPECT_TRUE(Exists(Folder("c.txt")));
    EXPECT_TRUE(Exists(Folder("d.txt")));
    EXPECT_FALSE(Exists(Folder("Install.log")));

    const std::string e = Put(Folder("e.txt"));
    WriteLog({"title", "0", "", "{program folder}", "G", "", "{program files}", "e.txt", ""});
    Run("G");
    EXPECT_TRUE(Exists(Folder("e.txt")));
}

// The group's submenu goes with it: menu files unchanged since go, a menu file the user changed
// stays, and names that would leave their folders are skipped.
TEST_F(Uninstall, TheGroupsMenuFilesGoByTheStampRule)
{
    const QString menus = env.MergedMenusFolder();
    const QString directories = env.DesktopDirectoriesFolder();
    const std::string menu = Put(menus + "/tarnwick-Learn-Tarnwick.menu");
    const std::string level1 = Put(directories + "/tarnwick-Learn.directory");
    const std::string level2 = Put(directories + "/tarnwick-Learn-Tarnwick.directory");
    const std::string outside = Put(env.Path("config/menus/outside.menu"));
    Touch(directories + "/tarnwick-Learn.directory");
    WriteLog({"title",
              "0",
              "",
              "{program folder}",
              "Learn\\Tarnwick",
              "",
              "{program files}",
              "",
              "{program folder files}",
              "",
              "{menu directory files}",
              "tarnwick-Learn.directory",
              level1,
              "tarnwick-Learn-Tarnwick.directory",
              level2,
              "",
              "{menu files}",
              "tarnwick-Learn-Tarnwick.menu",
              menu,
              "..\\outside.menu",
              outside,
              ""});
    Run("Learn\\Tarnwick");
    EXPECT_FALSE(Exists(menus + "/tarnwick-Learn-Tarnwick.menu"));
    EXPECT_FALSE(Exists(directories + "/tarnwick-Learn-Tarnwick.directory"));
    EXPECT_TRUE(Exists(directories + "/tarnwick-Learn.directory"));
    EXPECT_TRUE(Exists(env.Path("config/menus/outside.menu")));
}

TEST_F(Uninstall, NamesLeavingTheirFolderAreSkipped)
{
    const std::string outside = Put(env.Path("outside.txt"));
    const std::string menuOutside = Put(env.Path("data/menuoutside.txt"));
    const std::string inside = Put(Folder("inside.txt"));
    WriteLog({"title", "0", "", "{program folder}", "G", "", "{program files}", "../outside.txt",
              outside, QFile::encodeName(env.Path("outside.txt")).toStdString(), outside,
              "inside.txt", inside, "", "{program folder files}", "..\\..\\menuoutside.txt",
              menuOutside, ""});
    Run("G");
    EXPECT_TRUE(Exists(env.Path("outside.txt")));
    EXPECT_TRUE(Exists(env.Path("data/menuoutside.txt")));
    EXPECT_FALSE(Exists(Folder("inside.txt")));

    const std::string entry = Put(env.Path("data/x.desktop"));
    WriteLog({"title", "0", "", "{program folder}", "..", "", "{program folder files}", "x.desktop",
              entry, ""});
    Run("..");
    EXPECT_TRUE(Exists(env.Path("data/x.desktop")));

    EXPECT_TRUE(IsSafeLoggedName("a\\b/c..d"));
    EXPECT_FALSE(IsSafeLoggedName("a\\..\\b"));
    EXPECT_FALSE(IsSafeLoggedName("/etc"));
    EXPECT_FALSE(IsSafeLoggedName(""));
}

TEST_F(Uninstall, AMissingLogOrARelativeFolderRemovesNoFile)
{
    Put(Folder("keep.txt"));
    Run("G");
    EXPECT_TRUE(Exists(Folder("keep.txt")));

    const QString cwd = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(Folder()));
    const std::string stamp = Put(Folder("keep.txt"));
    WriteLog({"title", "0", "", "{program folder}", "G", "", "{program files}", "keep.txt", stamp,
              ""});
    UninstallPrevious("", "G");
    UninstallPrevious(".", "G");
    QDir::setCurrent(cwd);
    EXPECT_TRUE(Exists(Folder("keep.txt")));
    EXPECT_TRUE(Exists(Folder("Install.log")));
}

class UninstallKeys : public Uninstall
{
protected:
    static void Write(const std::string &key, const std::string &name, const std::string &value)
    {
        TRegistry registry(Registry::Hive::ClassesRoot);
        ASSERT_TRUE(registry.OpenKey(key, true));
        ASSERT_TRUE(registry.WriteString(name, value));
    }
    static bool KeyExists(const std::string &key)
    {
        return TRegistry(Registry::Hive::ClassesRoot).KeyExists(key);
    }
};

TEST_F(UninstallKeys, TheOldVerbsGoWhateverTheirCaseAndTheRestStays)
{
    Write("Tarnwick.Wordlist\\Shell\\Openen\\command", "", "old \"%1\"");
    Write("Tarnwick.Wordlist\\Shell\\open\\command", "", "new \"%1\"");
    Write("Tarnwick.Wordlist\\Shell", "", "open");
    Write(".wdl", "", "Tarnwick.Wordlist");
    Run("G");
    EXPECT_FALSE(KeyExists("Tarnwick.Wordlist\\Shell\\Openen"));
    EXPECT_FALSE(KeyExists("Tarnwick.Wordlist\\Shell\\open"));
    EXPECT_TRUE(KeyExists("Tarnwick.Wordlist\\Shell"));
    EXPECT_TRUE(KeyExists(".wdl"));
}

TEST_F(UninstallKeys, AKeyThatStillHoldsSomethingSurvives)
{
    Write("Tarnwick.Wordlist\\Shell\\Open\\command", "", "x");
    Write("Tarnwick.Wordlist\\Shell\\Open\\command", "Extra", "y");
    Write("Tarnwick.Wordlist\\Shell\\Openen\\ddeexec", "", "z");
    Run("G");
    TRegistry registry(Registry::Hive::ClassesRoot);
    ASSERT_TRUE(registry.OpenKeyReadOnly("Tarnwick.Wordlist\\Shell\\Open\\command"));
    EXPECT_FALSE(registry.ValueExists(""));
    EXPECT_EQ(registry.ReadString("Extra"), "y");
    EXPECT_TRUE(KeyExists("Tarnwick.Wordlist\\Shell\\Openen\\ddeexec"));

    // Keys that are not there are left alone.
    DeleteKeyIfEmpty("No\\Such\\Key");
    DeleteDefaultAndKeyIfEmpty("No\\Such\\Key");
    EXPECT_FALSE(KeyExists("No\\Such\\Key"));
}

} // namespace
