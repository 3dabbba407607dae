#include "core/Unit_FileAssociation.h"
#include "platform/Registry.h"
#include "platform/ShellAssociation.h"
#include "support/StoreFixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace {

std::string Contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

// The classes root in a store of its own and the desktop's folders in temporary ones.
class FileAssociation : public ::testing::Test
{
protected:
    void SetUp() override
    {
        savedData = qgetenv("XDG_DATA_HOME");
        savedConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_DATA_HOME", (xdg.path() + QStringLiteral("/data")).toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (xdg.path() + QStringLiteral("/config")).toLocal8Bit());
    }
    void TearDown() override
    {
        qputenv("XDG_DATA_HOME", savedData);
        qputenv("XDG_CONFIG_HOME", savedConfig);
    }
    QString DesktopFile() const
    {
        return xdg.path() + QStringLiteral("/data/applications/tarnwick.desktop");
    }
    QString MimePackage() const
    {
        return xdg.path() + QStringLiteral("/data/mime/packages/tarnwick-wdl.xml");
    }
    QString MimeApps() const { return xdg.path() + QStringLiteral("/config/mimeapps.list"); }
    static void SetDefault(const char *key, const std::string &value)
    {
        TRegistry registry(Registry::Hive::ClassesRoot);
        ASSERT_TRUE(registry.OpenKey(key, true));
        ASSERT_TRUE(registry.WriteString("", value));
    }

    TStoreDir store;
    QTemporaryDir xdg;
    QByteArray savedData;
    QByteArray savedConfig;
    const std::string program = "/opt/Tarnwick/tarnwick";
    const std::string description = "Tarnwick-woordenlijst";
};

TEST_F(FileAssociation, RegisteredKeysPassTheCheckAndEveryDifferenceFailsIt)
{
    EXPECT_FALSE(CheckFileAssociation(program, description));
    std::string error;
    ASSERT_TRUE(RegisterFileAssociation(program, description, error)) << error;
    EXPECT_TRUE(CheckFileAssociation(program, description));
    EXPECT_FALSE(CheckFileAssociation(program, "Tarnwick word list"));
    EXPECT_FALSE(CheckFileAssociation("/usr/bin/tarnwick", description));

    TRegistry registry(Registry::Hive::ClassesRoot);
    ASSERT_TRUE(registry.OpenKey("Tarnwick.Wordlist\\Shell\\open\\command", false));
    EXPECT_EQ("/opt/Tarnwick/tarnwick \"%1\"", registry.ReadString(""));
    ASSERT_TRUE(registry.OpenKey("Tarnwick.Wordlist\\DefaultIcon", false));
    EXPECT_EQ("/opt/Tarnwick/tarnwick,1", registry.ReadString(""));

    // The command without quotes around %1 is not the association.
    SetDefault("Tarnwick.Wordlist\\Shell\\open\\command", program + " %1");
    EXPECT_FALSE(CheckFileAssociation(program, description));
    ASSERT_TRUE(RegisterFileAssociation(program, description, error));
    EXPECT_TRUE(CheckFileAssociation(program, description));

    // Case counts, and a missing middle key fails even with the others right.
    SetDefault("Tarnwick.Wordlist\\Shell", "Open");
    EXPECT_FALSE(CheckFileAssociation(program, description));
    SetDefault("Tarnwick.Wordlist\\Shell", "open");
    ASSERT_TRUE(registry.DeleteKey("Tarnwick.Wordlist\\Shell\\open\\command"));
    EXPECT_FALSE(CheckFileAssociation(program, description));
    // The key "open" needs no value of its own.
    ASSERT_TRUE(RegisterFileAssociation(program, description, error));
    ASSERT_TRUE(registry.OpenKey("Tarnwick.Wordlist\\Shell\\open", false));
    EXPECT_FALSE(registry.ValueExists(""));
    EXPECT_TRUE(CheckFileAssociation(program, description));
}

TEST_F(FileAssociation, TheDesktopLearnsTheTypeItsProgramAndItsDefault)
{
    std::string error;
    ASSERT_TRUE(RegisterFileAssociation(program, "Lijst \xe9 & <co>", error)) << error;
    const std::string package = Contents(MimePackage());
    EXPECT_NE(std::string::npos, package.find("<glob pattern=\"*.wdl\"/>"));
    EXPECT_NE(std::string::npos, package.find("type=\"application/x-tarnwick-wordlist\""));
    EXPECT_NE(std::string::npos, package.find("<comment>Lijst \xc3\xa9 &amp; &lt;co&gt;</comment>"))
            << package;
    const std::string desktop = Contents(DesktopFile());
    EXPECT_NE(std::string::npos, desktop.find("\nExec=\"/opt/Tarnwick/tarnwick\" %f\n")) << desktop;
    EXPECT_NE(std::string::npos, desktop.find("\nMimeType=application/x-tarnwick-wordlist;\n"));
    EXPECT_NE(std::string::npos, desktop.find("\nNoDisplay=true\n"));
    EXPECT_EQ("[Default Applications]\napplication/x-tarnwick-wordlist=tarnwick.desktop\n",
              Contents(MimeApps()));
}

TEST_F(FileAssociation, TheDefaultReplacesOursAndKeepsEveryOtherLine)
{
    ASSERT_TRUE(QDir().mkpath(xdg.path() + QStringLiteral("/config")));
    QFile file(MimeApps());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Added Associations]\ntext/plain=gedit.desktop;\n\n[Default Applications]\n"
               "application/x-tarnwick-wordlist=old.desktop\nimage/png=eog.desktop\n\n"
               "[Removed Associations]\nimage/gif=x.desktop;\n");
    file.close();
    std::string error;
    ASSERT_TRUE(ShellAssociation::Notify({program, description}, error)) << error;
    EXPECT_EQ("[Added Associations]\ntext/plain=gedit.desktop;\n\n[Default Applications]\n"
              "application/x-tarnwick-wordlist=tarnwick.desktop\nimage/png=eog.desktop\n\n"
              "[Removed Associations]\nimage/gif=x.desktop;\n",
              Contents(MimeApps()));

    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[Default Applications]\nimage/png=eog.desktop\n\n[Other]\na=b\n");
    file.close();
    ASSERT_TRUE(ShellAssociation::Notify({program, description}, error));
    EXPECT_EQ("[Default Applications]\nimage/png=eog.desktop\n"
              "application/x-tarnwick-wordlist=tarnwick.desktop\n\n[Other]\na=b\n",
              Contents(MimeApps()));
}

TEST_F(FileAssociation, ProgramPathsAreQuotedAsDesktopEntriesRequire)
{
    EXPECT_EQ("\"/home/ann/my programs/tarnwick\" %f",
              ShellAssociation::DesktopExec("/home/ann/my programs/tarnwick"));
    EXPECT_EQ("\"/a\\\"b\\$c\\`d\\\\e%%f\" %f", ShellAssociation::DesktopExec("/a\"b$c`d\\e%f"));
    // Backslashes are doubled once more in the file, as in every string value.
    std::string error;
    ASSERT_TRUE(ShellAssociation::Notify({"/x\\y", description}, error));
    EXPECT_NE(std::string::npos, Contents(DesktopFile()).find("Exec=\"/x\\\\\\\\y\" %f\n"));
}

TEST_F(FileAssociation, AnUnwritableDesktopFolderIsReportedAfterTheKeys)
{
    QFile blocker(xdg.path() + QStringLiteral("/data"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    std::string error;
    EXPECT_FALSE(RegisterFileAssociation(program, description, error));
    EXPECT_NE(std::string::npos, error.find("tarnwick-wdl.xml")) << error;
    // The keys were written first; the desktop's missing side makes the next start repair it.
    TRegistry registry(Registry::Hive::ClassesRoot);
    ASSERT_TRUE(registry.OpenKey("Tarnwick.Wordlist\\Shell\\open\\command", false));
    EXPECT_EQ("/opt/Tarnwick/tarnwick \"%1\"", registry.ReadString(""));
    EXPECT_FALSE(CheckFileAssociation(program, description));
}

TEST_F(FileAssociation, AChangedOrMissingDesktopSideFailsTheCheckAndIsRepaired)
{
    std::string error;
    ASSERT_TRUE(RegisterFileAssociation(program, description, error)) << error;
    ASSERT_TRUE(CheckFileAssociation(program, description));
    // The entry names the program's icon, which is in the icon theme.
    EXPECT_NE(std::string::npos, Contents(DesktopFile()).find("\nIcon=tarnwick\n"));
    EXPECT_FALSE(
            Contents(xdg.path() + QStringLiteral("/data/icons/hicolor/48x48/apps/tarnwick.png"))
                    .empty());

    const auto breakAndRepair = [&](const std::function<void()> &change) {
        change();
        EXPECT_FALSE(CheckFileAssociation(program, description));
        ASSERT_TRUE(RegisterFileAssociation(program, description, error)) << error;
        EXPECT_TRUE(CheckFileAssociation(program, description));
    };
    breakAndRepair([&] { QFile::remove(MimePackage()); });
    breakAndRepair([&] { QFile::remove(DesktopFile()); });
    breakAndRepair([&] {
        QFile file(MimeApps());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("[Default Applications]\napplication/x-tarnwick-wordlist=other.desktop\n");
    });
    // Another program's default beside ours is no difference.
    QFile file(MimeApps());
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("image/png=eog.desktop\n");
    file.close();
    EXPECT_TRUE(CheckFileAssociation(program, description));
}

} // namespace
