#include "platform/Registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cstring>

using Registry::TKey;
using Registry::TValue;
using Registry::ValueType;

TRegistry::TRegistry(Registry::Hive root)
    : root(root)
{ }

bool TRegistry::OpenKey(std::string_view path, bool canCreate)
{
    CloseKey();
    const auto split = Registry::SplitPath(path);
    if (!split || split->empty())
        return false;
    bool exists = false;
    Registry::ReadHive(root, [&](const Registry::THive &hive) { exists = hive.KeyExists(*split); });
    if (!exists) {
        if (!canCreate)
            return false;
        const bool created = Registry::ChangeHive(root, [&](Registry::THive &hive) {
            hive.CreateKey(*split);
            return true;
        });
        if (!created)
            return false;
    }
    names = *split;
    open = true;
    return true;
}

bool TRegistry::OpenKeyReadOnly(std::string_view path)
{
    if (!OpenKey(path, false))
        return false;
    readOnly = true;
    return true;
}

void TRegistry::CloseKey()
{
    open = false;
    readOnly = false;
    names.clear();
}

std::string TRegistry::CurrentPath() const
{
    std::string path;
    if (!open)
        return path;
    Registry::ReadHive(root, [&](const Registry::THive &hive) { path = hive.KeyPath(names); });
    return path;
}

bool TRegistry::KeyExists(std::string_view path) const
{
    const auto split = Registry::SplitPath(path);
    if (!split)
        return false;
    bool exists = false;
    Registry::ReadHive(root, [&](const Registry::THive &hive) { exists = hive.KeyExists(*split); });
    return exists;
}

bool TRegistry::DeleteKey(std::string_view path)
{
    const auto split = Registry::SplitPath(path);
    if (!split || split->empty())
        return false;
    return Registry::ChangeHive(root,
                                [&](Registry::THive &hive) { return hive.DeleteKey(*split); });
}

std::optional<TValue> TRegistry::FindValue(std::string_view name) const
{
    std::optional<TValue> found;
    if (!open)
        return found;
    Registry::ReadHive(root, [&](const Registry::THive &hive) {
        const TKey *key = hive.FindKey(names);
        if (!key)
            return;
        const auto value = key->Values.find(Registry::FoldName(name));
        if (value != key->Values.end())
            found = value->second;
    });
    return found;
}

bool TRegistry::ValueExists(std::string_view name) const
{
    return FindValue(name).has_value();
}

ValueType TRegistry::GetDataType(std::string_view name) const
{
    const auto value = FindValue(name);
    return value ? value->Type : ValueType::None;
}

int TRegistry::GetDataSize(std::string_view name) const
{
    const auto value = FindValue(name);
    if (!value)
        return -1;
    return value->Type == ValueType::DWord ? 4 : static_cast<int>(value->Data.size());
}

std::optional<int32_t> TRegistry::ReadInteger(std::string_view name) const
{
    const auto value = FindValue(name);
    if (!value || value->Type != ValueType::DWord)
        return std::nullopt;
    return static_cast<int32_t>(value->DWord);
}

std::optional<std::string> TRegistry::ReadString(std::string_view name) const
{
    const auto value = FindValue(name);
    if (!value || (value->Type != ValueType::String && value->Type != ValueType::ExpandString))
        return std::nullopt;
    return value->Data;
}

std::optional<std::vector<uint8_t>> TRegistry::ReadBinary(std::string_view name) const
{
    const auto value = FindValue(name);
    if (!value || value->Type != ValueType::Binary)
        return std::nullopt;
    return std::vector<uint8_t>(value->Data.begin(), value->Data.end());
}

bool TRegistry::WriteValue(TValue value)
{
    if (!open || readOnly)
        return false;
    const bool inSystemLayer = Registry::KeyInSystemLayer(root, names);
    return Registry::ChangeHive(root, [&](Registry::THive &hive) {
        TKey *key = hive.FindKey(names);
        if (!key && inSystemLayer)
            key = &hive.CreateKey(names);
        if (!key)
            return false;
        const std::string folded = Registry::FoldName(value.Name);
        const auto existing = key->Values.find(folded);
        // A value keeps the spelling of its name when it is overwritten.
        if (existing != key->Values.end())
            value.Name = existing->second.Name;
        key->Values[folded] = std::move(value);
        return true;
    });
}

bool TRegistry::WriteInteger(std::string_view name, int32_t value)
{
    TValue stored{std::string(name), ValueType::DWord, {}, static_cast<uint32_t>(value)};
    return WriteValue(std::move(stored));
}

bool TRegistry::WriteString(std::string_view name, std::string_view value)
{
    return WriteValue(TValue{std::string(name), ValueType::String, std::string(value), 0});
}

bool TRegistry::WriteExpandString(std::string_view name, std::string_view value)
{
    return WriteValue(TValue{std::string(name), ValueType::ExpandString, std::string(value), 0});
}

bool TRegistry::WriteBinary(std::string_view name, const void *data, size_t size)
{
    std::string bytes(size, '\0');
    if (size > 0)
        std::memcpy(bytes.data(), data, size);
    return WriteValue(TValue{std::string(name), ValueType::Binary, std::move(bytes), 0});
}

bool TRegistry::DeleteValue(std::string_view name)
{
    if (!open || readOnly)
        return false;
    return Registry::ChangeHive(root, [&](Registry::THive &hive) {
        TKey *key = hive.FindKey(names);
        return key && key->Values.erase(Registry::FoldName(name)) > 0;
    });
}

int TRegistry::SubKeyCount() const
{
    return static_cast<int>(GetKeyNames().size());
}

int TRegistry::ValueCount() const
{
    return static_cast<int>(GetValueNames().size());
}

std::vector<std::string> TRegistry::GetKeyNames() const
{
    std::vector<std::string> result;
    if (!open)
        return result;
    Registry::ReadHive(root, [&](const Registry::THive &hive) {
        if (hive.KeyExists(names))
            result = hive.SubKeyNames(names);
    });
    return result;
}

std::vector<std::string> TRegistry::GetValueNames() const
{
    std::vector<std::string> result;
    if (!open)
        return result;
    Registry::ReadHive(root, [&](const Registry::THive &hive) {
        if (const TKey *key = hive.FindKey(names)) {
            for (const auto &[folded, value] : key->Values)
                result.push_back(value.Name);
        }
    });
    return result;
}

TRecordRead ReadRecord(const TRegistry &registry, std::string_view name, void *record, size_t size)
{
    if (!registry.ValueExists(name))
        return TRecordRead::Absent;
    const auto bytes = registry.ReadBinary(name);
    if (!bytes)
        return TRecordRead::WrongType;
    if (bytes->size() > size)
        return TRecordRead::TooLong;
    if (!bytes->empty())
        std::memcpy(record, bytes->data(), bytes->size());
    return bytes->size() == size ? TRecordRead::Ok : TRecordRead::Short;
}

std::string PersonalFolder()
{
    TRegistry registry(Registry::Hive::CurrentUser);
    if (registry.OpenKey("\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell "
                         "Folders",
                         false)) {
        if (const auto stored = registry.ReadString("Personal"))
            return *stored;
    }
    // A folder stays a local file name, as the file dialogs read it back: never through a code
    // page.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString folder
            = !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
    return QFile::encodeName(folder).toStdString();
}
