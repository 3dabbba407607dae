#pragma once

#include "platform/RegistryStore.h"

#include <QTemporaryDir>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A settings store of its own for one test: TARNWICK_REGISTRY_DIR points to a fresh folder while
// the object lives.
class TStoreDir
{
public:
    TStoreDir();
    ~TStoreDir();
    TStoreDir(const TStoreDir &) = delete;
    TStoreDir &operator=(const TStoreDir &) = delete;

    std::string Path() const;
    // The bytes of a file in the folder ("" when it does not exist).
    std::string ReadFile(const std::string &name) const;
    void WriteFile(const std::string &name, const std::string &bytes) const;

private:
    QTemporaryDir dir;
    QByteArray saved;
};

// The trainer's own key, in the user's hive and the machine-wide one.
inline constexpr const char *TrainerKey = "\\Software\\Tarnwick";

// Values put into and read from the current store through its own interface, as another program
// would; a change that fails fails the test. Keys are paths below the root of the hive.
void PutString(const char *key, const char *name, const std::string &value,
               Registry::Hive hive = Registry::Hive::CurrentUser);
void PutInteger(const char *key, const char *name, int32_t value,
                Registry::Hive hive = Registry::Hive::CurrentUser);
void PutBinary(const char *key, const char *name, const std::vector<uint8_t> &bytes,
               Registry::Hive hive = Registry::Hive::CurrentUser);
void DeleteStoredValue(const char *key, const char *name,
                       Registry::Hive hive = Registry::Hive::CurrentUser);
// nullopt when the value is missing or no string.
std::optional<std::string> StoredString(const char *key, const char *name,
                                        Registry::Hive hive = Registry::Hive::CurrentUser);
// Empty when the value is missing or not binary.
std::vector<uint8_t> Binary(const char *key, const char *name);
std::vector<std::string> ValueNames(const char *key);

// What the installer leaves in the store for the trainer: its machine-wide language.
void SeedInstalledStore();
