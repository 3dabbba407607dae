#include "platform/MachineScope.h"
#include "platform/Registry.h"
#include "support/StoreFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using Registry::Hive;

namespace {

const char *const TrainerKeyPath = "\\Software\\Tarnwick";

// A store of the test's own and a stand-in for the system's folders.
class MachineHives : public ::testing::Test
{
protected:
    void SetUp() override
    {
        saved = qgetenv("TARNWICK_SYSTEM_ROOT");
        qputenv("TARNWICK_SYSTEM_ROOT", QFile::encodeName(system.path()));
    }
    void TearDown() override
    {
        SetMachineScope(TMachineScope::Layered);
        qputenv("TARNWICK_SYSTEM_ROOT", saved);
    }
    QString SystemFile(Hive hive) const
    {
        return system.filePath(QStringLiteral("etc/xdg/tarnwick/registry/%1.reg")
                                       .arg(QLatin1String(Registry::HiveName(hive))));
    }
    static QByteArray Read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static std::optional<std::string> Language()
    {
        TRegistry machine(Hive::LocalMachine);
        if (!machine.OpenKeyReadOnly(TrainerKeyPath))
            return std::nullopt;
        return machine.ReadString("Language");
    }

    TStoreDir store;
    QTemporaryDir system;
    QByteArray saved;
};

// An installation for every user writes the system's hives, readable by all; the trainer reads
// them beneath its own, writes only its own, and its own values win; a user's setup sees only its
// own.
TEST_F(MachineHives, TheSystemHivesLieBeneathTheOwnForTheTrainerOnly)
{
    SetMachineScope(TMachineScope::System);
    EXPECT_EQ(Registry::SystemHiveFilePath(Hive::LocalMachine),
              QFile::encodeName(SystemFile(Hive::LocalMachine)).toStdString());
    PutString(TrainerKeyPath, "Language", "English", Hive::LocalMachine);
    PutString(TrainerKeyPath, "Edition", "full", Hive::LocalMachine);
    PutString(".wdl", "", "Tarnwick.Wordlist", Hive::ClassesRoot);
    PutString(TrainerKeyPath, "Mine", "user", Hive::CurrentUser);
    const QFileInfo hive(SystemFile(Hive::LocalMachine));
    EXPECT_EQ(hive.permissions() & (QFileDevice::ReadOther | QFileDevice::WriteOther),
              QFileDevice::ReadOther);
    EXPECT_TRUE(QFileInfo(hive.path()).permissions().testFlag(QFileDevice::ExeOther));
    EXPECT_TRUE(store.ReadFile("HKEY_LOCAL_MACHINE.reg").empty());
    EXPECT_TRUE(store.ReadFile("HKEY_CLASSES_ROOT.reg").empty());
    // The user's own hive is never the system's.
    EXPECT_NE(store.ReadFile("HKEY_CURRENT_USER.reg").find("\"Mine\"=\"user\""), std::string::npos);
    EXPECT_FALSE(QFileInfo::exists(SystemFile(Hive::CurrentUser)));

    SetMachineScope(TMachineScope::Layered);
    EXPECT_EQ(Language(), "English");
    EXPECT_EQ(StoredString(".wdl", "", Hive::ClassesRoot), "Tarnwick.Wordlist");
    const QByteArray before = Read(SystemFile(Hive::LocalMachine));
    TRegistry machine(Hive::LocalMachine);
    ASSERT_TRUE(machine.OpenKey(TrainerKeyPath, true));
    ASSERT_TRUE(machine.WriteString("Language", "Nederlands"));
    EXPECT_EQ(Language(), "Nederlands");
    EXPECT_EQ(StoredString(TrainerKeyPath, "Edition", Hive::LocalMachine), "full");
    EXPECT_EQ(Read(SystemFile(Hive::LocalMachine)), before);
    const std::string own = store.ReadFile("HKEY_LOCAL_MACHINE.reg");
    EXPECT_NE(own.find("\"Language\"=\"Nederlands\""), std::string::npos) << own;
    EXPECT_EQ(own.find("Edition"), std::string::npos) << own;

    SetMachineScope(TMachineScope::Own);
    EXPECT_EQ(Language(), "Nederlands");
    EXPECT_EQ(StoredString(TrainerKeyPath, "Edition", Hive::LocalMachine), std::nullopt);
    EXPECT_FALSE(TRegistry(Hive::ClassesRoot).KeyExists(".wdl"));
}

// Only the administrator may set a damaged system hive aside; a trainer reads it as empty.
TEST_F(MachineHives, ADamagedSystemHiveIsReadAsEmptyAndLeftInPlace)
{
    QDir().mkpath(QFileInfo(SystemFile(Hive::LocalMachine)).path());
    {
        QFile file(SystemFile(Hive::LocalMachine));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not a hive\n[[[");
    }
    PutString(TrainerKeyPath, "Language", "English", Hive::LocalMachine);
    EXPECT_EQ(Language(), "English");
    EXPECT_EQ(Read(SystemFile(Hive::LocalMachine)), "not a hive\n[[[");
    EXPECT_EQ(QDir(QFileInfo(SystemFile(Hive::LocalMachine)).path()).entryList(QDir::Files),
              QStringList{"HKEY_LOCAL_MACHINE.reg"});
}

} // namespace
