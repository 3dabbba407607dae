#pragma once

#include "platform/RegistryStore.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A root key of the settings store and at most one open key below it. Paths are relative to the
// root ("\Software\Tarnwick" and "Software\Tarnwick" are the same key); names are compared without
// regard to case. Every call sees what any other key object or process wrote before it, and every
// change is on disk when the call returns. Failures are return values: absent values read as
// nullopt, failed changes return false (Registry::LastError() tells why).
class TRegistry
{
public:
    explicit TRegistry(Registry::Hive root = Registry::Hive::CurrentUser);

    Registry::Hive RootKey() const { return root; }
    // Opens the key; with canCreate a missing key is created with its parents.
    bool OpenKey(std::string_view path, bool canCreate);
    // Opens an existing key; changes through it are refused.
    bool OpenKeyReadOnly(std::string_view path);
    void CloseKey();
    bool KeyOpen() const { return open; }
    // The open key's path as first created.
    std::string CurrentPath() const;

    bool KeyExists(std::string_view path) const;
    // Removes the key with every sub-key and value; false when it does not exist.
    bool DeleteKey(std::string_view path);

    // Values of the open key; "" names the default value.
    bool ValueExists(std::string_view name) const;
    Registry::ValueType GetDataType(std::string_view name) const;
    // Bytes of a string or binary value, 4 for a DWORD, -1 when absent.
    int GetDataSize(std::string_view name) const;
    std::optional<int32_t> ReadInteger(std::string_view name) const;
    // A string or expandable string, as its bytes.
    std::optional<std::string> ReadString(std::string_view name) const;
    std::optional<std::vector<uint8_t>> ReadBinary(std::string_view name) const;
    bool WriteInteger(std::string_view name, int32_t value);
    bool WriteString(std::string_view name, std::string_view value);
    bool WriteExpandString(std::string_view name, std::string_view value);
    bool WriteBinary(std::string_view name, const void *data, size_t size);
    bool DeleteValue(std::string_view name);

    int SubKeyCount() const;
    int ValueCount() const;
    bool HasSubKeys() const { return SubKeyCount() > 0; }
    std::vector<std::string> GetKeyNames() const;
    std::vector<std::string> GetValueNames() const;

private:
    std::optional<Registry::TValue> FindValue(std::string_view name) const;
    bool WriteValue(Registry::TValue value);

    Registry::Hive root;
    bool open = false;
    bool readOnly = false;
    std::vector<std::string> names;
};

// How a fixed-size record was read: Ok fills it, Short fills its first bytes and leaves the rest;
// the other results leave it untouched.
enum class TRecordRead {
    Absent,
    Ok,
    Short,
    TooLong,
    WrongType,
};
TRecordRead ReadRecord(const TRegistry &registry, std::string_view name, void *record, size_t size);

// The user's documents folder as a local file name: the "Personal" shell folder when the store
// holds it (as stored), else the desktop's documents folder when it exists, else the home folder.
std::string PersonalFolder();
