#include "platform/Registry.h"
#include "support/StoreFixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <string>

using Registry::Hive;
using Registry::ValueType;

namespace {

const std::string UserFile = "HKEY_CURRENT_USER.reg";

// Runs the tarnreg tool on the current store, a second process beside this one; its exit status,
// and what it printed in *output.
int RunTarnreg(const QStringList &arguments, std::string *output = nullptr)
{
    QProcess process;
    process.start(QStringLiteral(TARNREG_PATH), arguments);
    if (!process.waitForFinished(30000))
        return -1;
    if (output)
        *output = process.readAllStandardOutput().toStdString();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

std::string AllBytes()
{
    std::string bytes;
    for (int i = 0; i < 256; ++i)
        bytes += static_cast<char>(i);
    return bytes;
}

// A key path of `depth` levels, each named `name`, and its section line.
std::string DeepPath(size_t depth, const std::string &name)
{
    std::string path = name;
    for (size_t level = 1; level < depth; ++level)
        path += "\\" + name;
    return path;
}

std::string DeepSection(size_t depth, const std::string &name)
{
    return "[" + DeepPath(depth, name) + "]\n";
}

class RegistryTest : public ::testing::Test
{
protected:
    TStoreDir store;
};

TEST_F(RegistryTest, ValuesOfEachTypeReadBackWithTheirTypesAndSizes)
{
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey("\\Software\\Tarnwick", true));
    const uint8_t bytes[] = {0, 1, 0xFF, 0x80};
    ASSERT_TRUE(registry.WriteInteger("Number", -2));
    ASSERT_TRUE(registry.WriteBinary("Record", bytes, sizeof bytes));
    ASSERT_TRUE(registry.WriteBinary("Nothing", nullptr, 0));
    ASSERT_TRUE(registry.WriteString("Text", "abc"));
    ASSERT_TRUE(registry.WriteExpandString("Path", "%HOME%"));
    ASSERT_TRUE(registry.WriteString("", "default"));

    EXPECT_EQ(registry.ReadInteger("Number"), -2);
    EXPECT_EQ(registry.ReadBinary("Record"), std::vector<uint8_t>(bytes, bytes + 4));
    EXPECT_EQ(registry.ReadBinary("Nothing"), std::vector<uint8_t>());
    EXPECT_EQ(registry.ReadString("Text"), "abc");
    EXPECT_EQ(registry.ReadString("Path"), "%HOME%");
    EXPECT_EQ(registry.ReadString(""), "default");

    EXPECT_EQ(registry.GetDataType("Number"), ValueType::DWord);
    EXPECT_EQ(registry.GetDataType("Record"), ValueType::Binary);
    EXPECT_EQ(registry.GetDataType("Text"), ValueType::String);
    EXPECT_EQ(registry.GetDataType("Path"), ValueType::ExpandString);
    EXPECT_EQ(registry.GetDataType("Missing"), ValueType::None);
    EXPECT_EQ(registry.GetDataSize("Number"), 4);
    EXPECT_EQ(registry.GetDataSize("Record"), 4);
    EXPECT_EQ(registry.GetDataSize("Nothing"), 0);
    EXPECT_EQ(registry.GetDataSize("Missing"), -1);

    // A value read as another type is absent, not converted.
    EXPECT_FALSE(registry.ReadInteger("Text"));
    EXPECT_FALSE(registry.ReadString("Record"));
    EXPECT_FALSE(registry.ReadBinary("Number"));

    // An overwrite may change the type.
    ASSERT_TRUE(registry.WriteString("Number", "7"));
    EXPECT_EQ(registry.GetDataType("Number"), ValueType::String);

    EXPECT_EQ(store.ReadFile(UserFile),
              "TarnwickRegistry 1\n"
              "\n[Software]\n"
              "\n[Software\\Tarnwick]\n"
              "@=\"default\"\n"
              "\"Nothing\"=hex:\n"
              "\"Number\"=\"7\"\n"
              "\"Path\"=hex(2):25,48,4f,4d,45,25\n"
              "\"Record\"=hex:00,01,ff,80\n"
              "\"Text\"=\"abc\"\n");
}

TEST_F(RegistryTest, NamesIgnoreCaseAndKeepTheirFirstSpelling)
{
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey("Software\\Tarnwick", true));
    ASSERT_TRUE(registry.WriteInteger("Version", 1));
    ASSERT_TRUE(registry.OpenKey("\\SOFTWARE\\tarnwick", false));
    EXPECT_EQ(registry.CurrentPath(), "Software\\Tarnwick");
    EXPECT_EQ(registry.ReadInteger("VERSION"), 1);
    ASSERT_TRUE(registry.WriteInteger("version", 2));
    EXPECT_EQ(registry.GetValueNames(), std::vector<std::string>{"Version"});
    EXPECT_EQ(registry.ReadInteger("Version"), 2);
    EXPECT_TRUE(registry.KeyExists("software\\TARNWICK"));
    // A new sub-key under a differently spelt parent keeps the parent's spelling.
    ASSERT_TRUE(registry.OpenKey("SOFTWARE\\Other", true));
    EXPECT_EQ(registry.CurrentPath(), "Software\\Other");
    // Only ASCII letters fold.
    ASSERT_TRUE(registry.OpenKey("\xC9t\xE9", true));
    EXPECT_FALSE(registry.KeyExists("\xE9t\xE9"));
}

TEST_F(RegistryTest, StringsKeepEveryByteThroughTheFileAndAnotherProcess)
{
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey("Bytes", true));
    ASSERT_TRUE(registry.WriteString("All", AllBytes()));
    ASSERT_TRUE(registry.WriteString(AllBytes(), "name with every byte"));

    const std::string file = store.ReadFile(UserFile);
    EXPECT_NE(file.find("\"\\x00\\x01"), std::string::npos);
    EXPECT_NE(file.find("\\x1f !\\\"#"), std::string::npos);
    EXPECT_NE(file.find("[\\\\]"), std::string::npos);
    EXPECT_NE(file.find("~\\x7f\x80\x81"), std::string::npos);
    const auto parsed = Registry::THive::Parse(file);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->Serialize(), file);

    std::string printed;
    ASSERT_EQ(RunTarnreg({"get", "HKCU", "bytes", "ALL"}, &printed), 0);
    EXPECT_EQ(printed, AllBytes() + "\n");
    EXPECT_EQ(registry.ReadString(AllBytes()), "name with every byte");
}

TEST_F(RegistryTest, DeleteKeyRemovesTheWholeSubtreeAndNothingElse)
{
    TRegistry registry(Hive::ClassesRoot);
    for (const char *path : {"A\\B\\C\\D", "A\\B x", "A\\Bb", "A\\B2"}) {
        ASSERT_TRUE(registry.OpenKey(path, true));
        ASSERT_TRUE(registry.WriteString("", path));
    }
    ASSERT_TRUE(registry.OpenKey("A", false));
    EXPECT_EQ(registry.GetKeyNames(), (std::vector<std::string>{"B", "B x", "B2", "Bb"}));

    EXPECT_TRUE(registry.DeleteKey("a\\b"));
    EXPECT_FALSE(registry.KeyExists("A\\B"));
    EXPECT_FALSE(registry.KeyExists("A\\B\\C\\D"));
    EXPECT_EQ(registry.GetKeyNames(), (std::vector<std::string>{"B x", "B2", "Bb"}));
    EXPECT_EQ(registry.SubKeyCount(), 3);
    EXPECT_FALSE(registry.DeleteKey("A\\B"));
    EXPECT_FALSE(registry.DeleteKey(""));

    // A deleted open key takes no more values.
    ASSERT_TRUE(registry.OpenKey("A\\Bb", false));
    ASSERT_TRUE(registry.DeleteKey("A"));
    EXPECT_FALSE(registry.WriteString("x", "y"));
    EXPECT_FALSE(registry.ValueExists(""));
    EXPECT_EQ(store.ReadFile("HKEY_CLASSES_ROOT.reg"), "TarnwickRegistry 1\n");
}

TEST_F(RegistryTest, EmptyKeysAndDefaultValuesSurviveAndAreCounted)
{
    TRegistry registry(Hive::ClassesRoot);
    ASSERT_TRUE(registry.OpenKey("Tarnwick.Wordlist\\Shell\\open", true));
    ASSERT_TRUE(registry.OpenKey("Tarnwick.Wordlist", false));
    EXPECT_EQ(registry.ValueCount(), 0);
    EXPECT_EQ(registry.SubKeyCount(), 1);
    EXPECT_FALSE(registry.ValueExists(""));
    ASSERT_TRUE(registry.WriteString("", "Woordenlijst"));
    EXPECT_EQ(registry.ValueCount(), 1);
    EXPECT_EQ(registry.GetValueNames(), std::vector<std::string>{""});
    ASSERT_TRUE(registry.DeleteValue(""));
    EXPECT_FALSE(registry.DeleteValue(""));
    EXPECT_EQ(registry.ValueCount(), 0);

    std::string dumped;
    ASSERT_EQ(RunTarnreg({"dump", "HKCR"}, &dumped), 0);
    EXPECT_EQ(dumped,
              "TarnwickRegistry 1\n"
              "\n[Tarnwick.Wordlist]\n"
              "\n[Tarnwick.Wordlist\\Shell]\n"
              "\n[Tarnwick.Wordlist\\Shell\\open]\n");
    EXPECT_EQ(dumped, store.ReadFile("HKEY_CLASSES_ROOT.reg"));
}

TEST_F(RegistryTest, ChangesOfAnotherProcessAreSeenAtTheNextCall)
{
    TRegistry registry(Hive::LocalMachine);
    ASSERT_TRUE(registry.OpenKey("\\Software\\Tarnwick", true));
    ASSERT_TRUE(registry.WriteString("Language", "English"));
    ASSERT_EQ(
            RunTarnreg({"set", "HKLM", "\\Software\\Tarnwick", "Language", "string", "Nederlands"}),
            0);
    EXPECT_EQ(registry.ReadString("Language"), "Nederlands");
    ASSERT_EQ(RunTarnreg({"set", "HKLM", "\\Software\\Tarnwick", "Count", "dword", "0x10"}), 0);
    EXPECT_EQ(registry.ReadInteger("Count"), 16);
    // Both changes survive a write from here.
    ASSERT_TRUE(registry.WriteInteger("Other", 1));
    ASSERT_EQ(RunTarnreg({"delete", "HKLM", "\\Software\\Tarnwick", "Language"}), 0);
    EXPECT_FALSE(registry.ValueExists("Language"));
    EXPECT_EQ(registry.ReadInteger("Count"), 16);
    ASSERT_EQ(RunTarnreg({"delete", "HKLM", "\\Software"}), 0);
    EXPECT_FALSE(registry.KeyExists("Software"));
    EXPECT_NE(RunTarnreg({"get", "HKLM", "\\Software\\Tarnwick", "Count"}), 0);
}

TEST_F(RegistryTest, ProcessesWritingAtTheSameTimeLoseNoChange)
{
    constexpr int Writers = 8;
    std::vector<std::unique_ptr<QProcess>> processes;
    for (int i = 0; i < Writers; ++i) {
        processes.push_back(std::make_unique<QProcess>());
        processes.back()->start(
                QStringLiteral(TARNREG_PATH),
                {"set", "HKCU", "K", QString("V%1").arg(i), "dword", QString::number(i)});
    }
    TRegistry registry;
    for (int round = 0; round < 20; ++round) {
        ASSERT_TRUE(registry.OpenKey("K", true));
        ASSERT_TRUE(registry.WriteInteger("Here", round));
    }
    for (auto &process : processes) {
        ASSERT_TRUE(process->waitForFinished(30000));
        EXPECT_EQ(process->exitCode(), 0);
    }
    ASSERT_TRUE(registry.OpenKey("K", false));
    EXPECT_EQ(registry.ValueCount(), Writers + 1);
    for (int i = 0; i < Writers; ++i)
        EXPECT_EQ(registry.ReadInteger("V" + std::to_string(i)), i);
}

TEST_F(RegistryTest, TheToolTellsWrongUseFromMissingValues)
{
    EXPECT_EQ(RunTarnreg({"set", "HKXX", "K", "V", "dword", "1"}), 2);
    EXPECT_EQ(RunTarnreg({"set", "HKCU", "K", "V", "dword", "12x"}), 2);
    EXPECT_EQ(RunTarnreg({"set", "HKCU", "K", "V", "dword", "4294967296"}), 2);
    EXPECT_EQ(RunTarnreg({"set", "HKCU", "K", "V", "binary", "0"}), 2);
    EXPECT_EQ(RunTarnreg({"set", "HKCU", "K", "V", "float", "1"}), 2);
    EXPECT_EQ(RunTarnreg({"get", "HKCU", "K"}), 2);
    EXPECT_EQ(RunTarnreg({"get", "HKCU", "K", "V"}), 1);
    ASSERT_EQ(RunTarnreg({"set", "hkcu", "K", "@", "binary", "01,ff"}), 0);
    std::string printed;
    ASSERT_EQ(RunTarnreg({"get", "HKEY_CURRENT_USER", "k", "@"}, &printed), 0);
    EXPECT_EQ(printed, "01,ff\n");
    EXPECT_EQ(RunTarnreg({"get", "HKCU", "K", "V"}), 1);
    ASSERT_EQ(RunTarnreg({"set", "HKCU", "K", "V", "dword", "-1"}), 0);
    ASSERT_EQ(RunTarnreg({"get", "HKCU", "K", "V"}, &printed), 0);
    EXPECT_EQ(printed, "-1\n");
    EXPECT_EQ(RunTarnreg({"delete", "HKCU", "K", "Missing"}), 1);
}

TEST_F(RegistryTest, AHandEditedFileOfTheSameSizeIsReloaded)
{
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey("K", true));
    ASSERT_TRUE(registry.WriteString("V", "aaaa"));
    const std::string before = store.ReadFile(UserFile);
    std::string after = before;
    after.replace(after.find("aaaa"), 4, "bbbb");
    store.WriteFile(UserFile, after);
    EXPECT_EQ(registry.ReadString("V"), "bbbb");
}

TEST_F(RegistryTest, ADamagedFileIsSetAsideAndTheHiveStartsEmpty)
{
    const std::string damaged = "TarnwickRegistry 1\n[K]\n\"V\"=dword:xyz\n";
    store.WriteFile(UserFile, damaged);
    TRegistry registry;
    EXPECT_FALSE(registry.KeyExists("K"));
    const QStringList aside = QDir(QString::fromStdString(store.Path()))
                                      .entryList({"HKEY_CURRENT_USER.reg.bad-*"}, QDir::Files);
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(store.ReadFile(aside[0].toStdString()), damaged);
    EXPECT_EQ(store.ReadFile(UserFile), "");

    ASSERT_TRUE(registry.OpenKey("K", true));
    ASSERT_TRUE(registry.WriteInteger("V", 3));
    EXPECT_EQ(store.ReadFile(UserFile), "TarnwickRegistry 1\n\n[K]\n\"V\"=dword:00000003\n");

    // A second damage gets a name of its own.
    store.WriteFile(UserFile, "garbage");
    EXPECT_FALSE(registry.ValueExists("V"));
    EXPECT_EQ(QDir(QString::fromStdString(store.Path()))
                      .entryList({"HKEY_CURRENT_USER.reg.bad-*"}, QDir::Files)
                      .size(),
              2);
}

// 20,000 levels in one 40 KB line once kept the program busy for minutes; now the file is damage
// found at once.
TEST_F(RegistryTest, AKeyPathDeeperThanTheStoreAllowsIsSetAsideAtOnce)
{
    constexpr size_t Depth = 20000;
    constexpr qint64 PromptMs = 1000;
    const std::string deep = "TarnwickRegistry 1\n" + DeepSection(Depth, "k") + "\"V\"=dword:1\n";
    store.WriteFile(UserFile, deep);
    QElapsedTimer timer;
    timer.start();
    TRegistry registry;
    EXPECT_FALSE(registry.KeyExists("k"));
    EXPECT_LT(timer.elapsed(), PromptMs);
    const QStringList aside = QDir(QString::fromStdString(store.Path()))
                                      .entryList({"HKEY_CURRENT_USER.reg.bad-*"}, QDir::Files);
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(store.ReadFile(aside[0].toStdString()), deep);
    EXPECT_TRUE(registry.OpenKey(DeepPath(Registry::MaxKeyDepth, "k"), true));
    EXPECT_FALSE(registry.OpenKey(DeepPath(Registry::MaxKeyDepth + 1, "k"), true));
}

TEST_F(RegistryTest, AFailedWriteLeavesTheFileAndTheHiveAsTheyWere)
{
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey("K", true));
    ASSERT_TRUE(registry.WriteString("V", "old"));
    const std::string before = store.ReadFile(UserFile);
    // The temporary file's name is taken by a folder, so the new contents cannot be written.
    ASSERT_TRUE(
            QDir(QString::fromStdString(store.Path())).mkdir(UserFile.c_str() + QString(".tmp")));
    EXPECT_FALSE(registry.WriteString("V", "new"));
    EXPECT_NE(Registry::LastError().find(".tmp"), std::string::npos);
    EXPECT_FALSE(registry.OpenKey("Other", true));
    EXPECT_FALSE(registry.DeleteKey("K"));
    EXPECT_EQ(store.ReadFile(UserFile), before);
    ASSERT_TRUE(registry.OpenKey("K", false));
    EXPECT_EQ(registry.ReadString("V"), "old");
}

TEST_F(RegistryTest, AStoreFolderThatCannotBeMadeFailsEveryChange)
{
    store.WriteFile("plain-file", "x");
    qputenv("TARNWICK_REGISTRY_DIR", (store.Path() + "/plain-file/registry").c_str());
    TRegistry registry;
    EXPECT_FALSE(registry.OpenKey("K", true));
    EXPECT_FALSE(Registry::LastError().empty());
    EXPECT_FALSE(registry.KeyExists("K"));
    EXPECT_FALSE(registry.OpenKey("K", false));
    EXPECT_FALSE(registry.WriteInteger("V", 1));
    EXPECT_NE(RunTarnreg({"set", "HKCU", "K", "V", "dword", "1"}), 0);
}

TEST_F(RegistryTest, ReadingAStoreNobodyWroteCreatesNothing)
{
    const std::string dir = store.Path() + "/not-yet";
    qputenv("TARNWICK_REGISTRY_DIR", dir.c_str());
    TRegistry registry(Hive::LocalMachine);
    EXPECT_FALSE(registry.OpenKey("\\Software\\Tarnwick", false));
    EXPECT_FALSE(QDir(QString::fromStdString(dir)).exists());
}

TEST_F(RegistryTest, BadPathsAndClosedOrReadOnlyKeysAreRefused)
{
    TRegistry registry;
    EXPECT_FALSE(registry.OpenKey("", true));
    EXPECT_FALSE(registry.OpenKey("A\\\\B", true));
    EXPECT_FALSE(registry.OpenKey("A\\", true));
    EXPECT_FALSE(registry.OpenKey("A\nB", true));
    EXPECT_FALSE(registry.OpenKey(std::string(256, 'k'), true));
    EXPECT_FALSE(registry.WriteInteger("V", 1));
    EXPECT_FALSE(registry.ValueExists("V"));
    EXPECT_EQ(store.ReadFile(UserFile), "");

    ASSERT_TRUE(registry.OpenKey("A", true));
    ASSERT_TRUE(registry.WriteInteger("V", 1));
    ASSERT_TRUE(registry.OpenKeyReadOnly("a"));
    EXPECT_EQ(registry.ReadInteger("V"), 1);
    EXPECT_FALSE(registry.WriteInteger("V", 2));
    EXPECT_FALSE(registry.DeleteValue("V"));
    registry.CloseKey();
    EXPECT_FALSE(registry.ValueExists("V"));
    EXPECT_FALSE(registry.OpenKeyReadOnly("Missing"));
}

TEST_F(RegistryTest, ReadRecordTellsHowTheValueFitsTheRecord)
{
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey("R", true));
    const uint8_t two[] = {7, 8};
    const uint8_t five[] = {1, 2, 3, 4, 5};
    ASSERT_TRUE(registry.WriteBinary("Two", two, 2));
    ASSERT_TRUE(registry.WriteBinary("Five", five, 5));
    ASSERT_TRUE(registry.WriteString("Text", "abcd"));

    uint8_t record[4] = {9, 9, 9, 9};
    EXPECT_EQ(ReadRecord(registry, "Missing", record, 4), TRecordRead::Absent);
    EXPECT_EQ(ReadRecord(registry, "Five", record, 4), TRecordRead::TooLong);
    EXPECT_EQ(ReadRecord(registry, "Text", record, 4), TRecordRead::WrongType);
    EXPECT_EQ(record[0], 9);
    EXPECT_EQ(ReadRecord(registry, "Two", record, 4), TRecordRead::Short);
    EXPECT_EQ((std::vector<uint8_t>(record, record + 4)), (std::vector<uint8_t>{7, 8, 9, 9}));
    uint8_t wider[5] = {};
    EXPECT_EQ(ReadRecord(registry, "Five", wider, 5), TRecordRead::Ok);
    EXPECT_EQ(wider[4], 5);
}

TEST_F(RegistryTest, TheStoreFolderFollowsTheEnvironment)
{
    const QByteArray config = qgetenv("XDG_CONFIG_HOME");
    const QByteArray home = qgetenv("HOME");
    qputenv("TARNWICK_REGISTRY_DIR", "/tmp/own/");
    EXPECT_EQ(Registry::HiveFilePath(Hive::LocalMachine), "/tmp/own/HKEY_LOCAL_MACHINE.reg");
    qputenv("TARNWICK_REGISTRY_DIR", "");
    qputenv("XDG_CONFIG_HOME", "/tmp/config");
    EXPECT_EQ(Registry::StoreDirectory(), "/tmp/config/tarnwick/registry");
    qunsetenv("XDG_CONFIG_HOME");
    qputenv("HOME", "/tmp/home");
    EXPECT_EQ(Registry::StoreDirectory(), "/tmp/home/.config/tarnwick/registry");
    qputenv("HOME", home);
    if (!config.isNull())
        qputenv("XDG_CONFIG_HOME", config);
}

TEST_F(RegistryTest, PersonalFolderPrefersTheStoredValueThenDocumentsThenHome)
{
    const QByteArray home = qgetenv("HOME");
    const QByteArray config = qgetenv("XDG_CONFIG_HOME");
    QTemporaryDir fakeHome;
    qputenv("HOME", fakeHome.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (fakeHome.path() + "/.config").toLocal8Bit());
    EXPECT_EQ(PersonalFolder(), fakeHome.path().toStdString());
    ASSERT_TRUE(QDir(fakeHome.path()).mkdir("Documents"));
    EXPECT_EQ(PersonalFolder(), (fakeHome.path() + "/Documents").toStdString());

    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(
            "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders", true));
    ASSERT_TRUE(registry.WriteExpandString("Personal", "%USERPROFILE%\\Eigen"));
    EXPECT_EQ(PersonalFolder(), "%USERPROFILE%\\Eigen");
    qputenv("HOME", home);
    qputenv("XDG_CONFIG_HOME", config);
    if (config.isNull())
        qunsetenv("XDG_CONFIG_HOME");
}

TEST(RegistryFileTest, ParsedFilesAreWrittenBackSortedAndComplete)
{
    const auto hive = Registry::THive::Parse("TarnwickRegistry 1\r\n"
                                             "[b\\c]\r\n"
                                             "\"z\"=dword:1\r\n"
                                             "\"\"=\"empty name is the default\"\r\n"
                                             "[A]\r\n"
                                             "\"y\"=hex:0A,ff\r\n"
                                             "[B]\r\n"
                                             "\"Z\"=dword:FFFFFFFF\r\n");
    ASSERT_TRUE(hive);
    EXPECT_EQ(hive->Serialize(),
              "TarnwickRegistry 1\n"
              "\n[A]\n\"y\"=hex:0a,ff\n"
              "\n[b]\n\"Z\"=dword:ffffffff\n"
              "\n[b\\c]\n@=\"empty name is the default\"\n\"z\"=dword:00000001\n");
    EXPECT_FALSE(hive->KeyExists({"b", "c", "d"}));
    EXPECT_TRUE(hive->KeyExists({"B", "C"}));
}

TEST(RegistryFileTest, KeysReachTheStoresLimitsAndNoFurther)
{
    using Registry::MaxKeyDepth;
    using Registry::MaxKeyName;
    using Registry::THive;
    const std::string head = "TarnwickRegistry 1\n";
    const auto deepest = THive::Parse(head + DeepSection(MaxKeyDepth, "k"));
    ASSERT_TRUE(deepest);
    EXPECT_TRUE(deepest->KeyExists(std::vector<std::string>(MaxKeyDepth, "K")));
    EXPECT_EQ(THive::Parse(deepest->Serialize())->Serialize(), deepest->Serialize());
    EXPECT_FALSE(THive::Parse(head + DeepSection(MaxKeyDepth + 1, "k")));

    const std::string longest(MaxKeyName, 'n');
    EXPECT_TRUE(THive::Parse(head + DeepSection(2, longest)));
    EXPECT_FALSE(THive::Parse(head + DeepSection(2, longest + "n")));
    // Within both limits, but every section repeats its whole path: written back, these 128 KB
    // would make a file of 33 MB, larger than any hive file is read.
    EXPECT_FALSE(THive::Parse(head + DeepSection(MaxKeyDepth, longest)));
}

TEST(RegistryFileTest, MalformedFilesAreRejected)
{
    const std::string head = "TarnwickRegistry 1\n";
    for (const std::string &text : {std::string("TarnwickRegistry 2\n"),
                                    std::string("\n") + head,
                                    head + "\"v\"=dword:0\n",
                                    head + "[]\n",
                                    head + "[\\A]\n",
                                    head + "[A\\\\B]\n",
                                    head + "[A\n",
                                    head + "[A]\n\"v\"=dword:\n",
                                    head + "[A]\n\"v\"=dword:123456789\n",
                                    head + "[A]\n\"v\"=hex:1\n",
                                    head + "[A]\n\"v\"=hex:01,\n",
                                    head + "[A]\n\"v\"=hex:01 02\n",
                                    head + "[A]\n\"v\"=\"a\n",
                                    head + "[A]\n\"v\"=\"a\"b\n",
                                    head + "[A]\n\"v\"=\"\\x4\"\n",
                                    head + "[A]\n\"v\"=\"\\n\"\n",
                                    head + "[A]\n\"v\"=text\n",
                                    head + "[A]\nv=\"x\"\n",
                                    head + "[A]\n@\"x\"\n",
                                    head + "[A]\n; comment\n",
                                    head + "[A" + std::string(1, '\0') + "]\n"})
        EXPECT_FALSE(Registry::THive::Parse(text)) << text;
    EXPECT_TRUE(Registry::THive::Parse(""));
    EXPECT_TRUE(Registry::THive::Parse(head));
    EXPECT_TRUE(Registry::THive::Parse(head + "\n\n[A]\n\n\"v\"=hex:\n"));
}

} // namespace
