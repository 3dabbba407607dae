#include "core/Unit_FileAssociation.h"

#include "platform/Registry.h"
#include "platform/ShellAssociation.h"

#include <array>
#include <optional>

namespace {

constexpr const char *TypeName = "Tarnwick.Wordlist";

struct TKeyValue
{
    std::string Key;
    // nullopt: the key only has to exist.
    std::optional<std::string> Default;
};

std::array<TKeyValue, 6> Keys(const std::string &programPath, const std::string &description)
{
    const std::string type = TypeName;
    return {{
            {".wdl", type},
            {type, description},
            {type + "\\DefaultIcon", programPath + ",1"},
            {type + "\\Shell", std::string("open")},
            {type + "\\Shell\\open", std::nullopt},
            {type + "\\Shell\\open\\command", AssociationCommand(programPath)},
    }};
}

} // namespace

std::string AssociationCommand(const std::string &programPath)
{
    return programPath + " \"%1\"";
}

bool CheckFileAssociation(const std::string &programPath, const std::string &description)
{
    for (const TKeyValue &key : Keys(programPath, description)) {
        TRegistry registry(Registry::Hive::ClassesRoot);
        if (!registry.OpenKeyReadOnly(key.Key))
            return false;
        if (key.Default && registry.ReadString("") != key.Default)
            return false;
    }
    // The desktop's side may have been changed or removed on its own.
    return ShellAssociation::IsCurrent({programPath, description});
}

bool RegisterFileAssociation(const std::string &programPath, const std::string &description,
                             std::string &error)
{
    for (const TKeyValue &key : Keys(programPath, description)) {
        TRegistry registry(Registry::Hive::ClassesRoot);
        if (!registry.OpenKey(key.Key, true)
            || (key.Default && !registry.WriteString("", *key.Default))) {
            error = Registry::LastError();
            return false;
        }
    }
    return ShellAssociation::Notify({programPath, description}, error);
}
