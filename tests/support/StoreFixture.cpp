#include "support/StoreFixture.h"

#include "platform/Registry.h"

#include <QFile>
#include <gtest/gtest.h>

TStoreDir::TStoreDir()
    : saved(qgetenv("TARNWICK_REGISTRY_DIR"))
{
    qputenv("TARNWICK_REGISTRY_DIR", dir.path().toLocal8Bit());
}

TStoreDir::~TStoreDir()
{
    qputenv("TARNWICK_REGISTRY_DIR", saved);
}

std::string TStoreDir::Path() const
{
    return dir.path().toStdString();
}

std::string TStoreDir::ReadFile(const std::string &name) const
{
    QFile file(dir.filePath(QString::fromStdString(name)));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll().toStdString();
}

void TStoreDir::WriteFile(const std::string &name, const std::string &bytes) const
{
    QFile file(dir.filePath(QString::fromStdString(name)));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes.data(), static_cast<qint64>(bytes.size())),
              static_cast<qint64>(bytes.size()));
}

void PutString(const char *key, const char *name, const std::string &value, Registry::Hive hive)
{
    TRegistry registry(hive);
    ASSERT_TRUE(registry.OpenKey(key, true));
    ASSERT_TRUE(registry.WriteString(name, value));
}

void PutInteger(const char *key, const char *name, int32_t value, Registry::Hive hive)
{
    TRegistry registry(hive);
    ASSERT_TRUE(registry.OpenKey(key, true));
    ASSERT_TRUE(registry.WriteInteger(name, value));
}

void PutBinary(const char *key, const char *name, const std::vector<uint8_t> &bytes,
               Registry::Hive hive)
{
    TRegistry registry(hive);
    ASSERT_TRUE(registry.OpenKey(key, true));
    ASSERT_TRUE(registry.WriteBinary(name, bytes.data(), bytes.size()));
}

void DeleteStoredValue(const char *key, const char *name, Registry::Hive hive)
{
    TRegistry registry(hive);
    ASSERT_TRUE(registry.OpenKey(key, false));
    ASSERT_TRUE(registry.DeleteValue(name));
}

std::optional<std::string> StoredString(const char *key, const char *name, Registry::Hive hive)
{
    TRegistry registry(hive);
    if (!registry.OpenKeyReadOnly(key))
        return std::nullopt;
    return registry.ReadString(name);
}

std::vector<uint8_t> Binary(const char *key, const char *name)
{
    TRegistry registry;
    if (!registry.OpenKey(key, false))
        return {};
    return registry.ReadBinary(name).value_or(std::vector<uint8_t>{});
}

std::vector<std::string> ValueNames(const char *key)
{
    TRegistry registry;
    if (!registry.OpenKey(key, false))
        return {};
    return registry.GetValueNames();
}

void SeedInstalledStore()
{
    PutString(TrainerKey, "Language", "Nederlands", Registry::Hive::LocalMachine);
}
