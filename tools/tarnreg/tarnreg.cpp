// tarnreg: reads and changes the settings store from the command line.
//
//   tarnreg get HIVE KEY NAME
//   tarnreg set HIVE KEY NAME dword|string|expand|binary VALUE
//   tarnreg delete HIVE KEY [NAME]
//   tarnreg dump [HIVE]
//
// HIVE is HKCU, HKLM, HKCR or a full root name; NAME "@" is the default value. A DWORD is given in
// decimal or as 0x..., a binary as hex bytes ("01,02,ff", "" for none). Strings are taken as bytes.
// Exit status: 0 done, 1 not found or failed, 2 wrong use.

#include "platform/Registry.h"
#include "platform/RegistryFile.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>

namespace {

constexpr int Done = 0;
constexpr int Failed = 1;
constexpr int Usage = 2;

int ShowUsage()
{
    std::cerr << "usage: tarnreg get HIVE KEY NAME\n"
                 "       tarnreg set HIVE KEY NAME dword|string|expand|binary VALUE\n"
                 "       tarnreg delete HIVE KEY [NAME]\n"
                 "       tarnreg dump [HIVE]\n"
                 "HIVE: HKCU, HKLM, HKCR; NAME @ is the default value\n";
    return Usage;
}

std::optional<Registry::Hive> ParseHive(std::string_view given)
{
    std::string text(given);
    for (char &c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (text == "HKCU" || text == "HKEY_CURRENT_USER")
        return Registry::Hive::CurrentUser;
    if (text == "HKLM" || text == "HKEY_LOCAL_MACHINE")
        return Registry::Hive::LocalMachine;
    if (text == "HKCR" || text == "HKEY_CLASSES_ROOT")
        return Registry::Hive::ClassesRoot;
    return std::nullopt;
}

std::string_view ValueName(std::string_view arg)
{
    return arg == "@" ? std::string_view() : arg;
}

std::optional<std::string> ParseBytes(std::string_view text)
{
    std::string bytes;
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ',' || text[i] == ' ') {
            ++i;
            continue;
        }
        if (i + 1 >= text.size() || Registry::HexDigit(text[i]) < 0
            || Registry::HexDigit(text[i + 1]) < 0)
            return std::nullopt;
        bytes += static_cast<char>(Registry::HexDigit(text[i]) * 16
                                   + Registry::HexDigit(text[i + 1]));
        i += 2;
    }
    return bytes;
}

std::optional<int32_t> ParseDWord(const std::string &text)
{
    if (text.empty())
        return std::nullopt;
    char *end = nullptr;
    errno = 0;
    const long long value = std::strtoll(text.c_str(), &end, 0);
    if (errno != 0 || *end != '\0' || value < INT32_MIN || value > UINT32_MAX)
        return std::nullopt;
    return static_cast<int32_t>(static_cast<uint32_t>(value));
}

int Get(TRegistry &registry, std::string_view name)
{
    switch (registry.GetDataType(name)) {
    case Registry::ValueType::DWord:
        std::cout << *registry.ReadInteger(name) << '\n';
        return Done;
    case Registry::ValueType::String:
    case Registry::ValueType::ExpandString:
        std::cout << *registry.ReadString(name) << '\n';
        return Done;
    case Registry::ValueType::Binary: {
        const auto bytes = *registry.ReadBinary(name);
        for (size_t i = 0; i < bytes.size(); ++i)
            std::printf("%s%02x", i ? "," : "", bytes[i]);
        std::printf("\n");
        return Done;
    }
    case Registry::ValueType::None:
        break;
    }
    std::cerr << "tarnreg: no such value\n";
    return Failed;
}

int Set(TRegistry &registry, std::string_view name, std::string_view type, const std::string &value)
{
    bool written = false;
    if (type == "dword") {
        const auto number = ParseDWord(value);
        if (!number)
            return ShowUsage();
        written = registry.WriteInteger(name, *number);
    } else if (type == "string") {
        written = registry.WriteString(name, value);
    } else if (type == "expand") {
        written = registry.WriteExpandString(name, value);
    } else if (type == "binary") {
        const auto bytes = ParseBytes(value);
        if (!bytes)
            return ShowUsage();
        written = registry.WriteBinary(name, bytes->data(), bytes->size());
    } else {
        return ShowUsage();
    }
    if (written)
        return Done;
    std::cerr << "tarnreg: " << Registry::LastError() << '\n';
    return Failed;
}

// One hive is shown in its file form; all three each under a "; name" line.
int Dump(Registry::Hive hive, bool labelled)
{
    Registry::ReadHive(hive, [&](const Registry::THive &contents) {
        if (labelled)
            std::cout << "; " << Registry::HiveName(hive) << '\n';
        std::cout << contents.Serialize();
    });
    return Done;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2)
        return ShowUsage();
    const std::string_view command = argv[1];
    if (command == "dump") {
        if (argc == 2) {
            for (auto hive : {Registry::Hive::CurrentUser, Registry::Hive::LocalMachine,
                              Registry::Hive::ClassesRoot})
                Dump(hive, true);
            return Done;
        }
        const auto hive = argc == 3 ? ParseHive(argv[2]) : std::nullopt;
        return hive ? Dump(*hive, false) : ShowUsage();
    }
    if (argc < 4)
        return ShowUsage();
    const auto hive = ParseHive(argv[2]);
    if (!hive)
        return ShowUsage();
    TRegistry registry(*hive);
    const std::string_view key = argv[3];
    if (command == "get" && argc == 5) {
        if (!registry.OpenKeyReadOnly(key)) {
            std::cerr << "tarnreg: no such key\n";
            return Failed;
        }
        return Get(registry, ValueName(argv[4]));
    }
    if (command == "set" && argc == 7) {
        if (!registry.OpenKey(key, true)) {
            std::cerr << "tarnreg: cannot open the key: " << Registry::LastError() << '\n';
            return Failed;
        }
        return Set(registry, ValueName(argv[4]), argv[5], argv[6]);
    }
    if (command == "delete" && (argc == 4 || argc == 5)) {
        bool deleted;
        if (argc == 4)
            deleted = registry.DeleteKey(key);
        else
            deleted = registry.OpenKey(key, false) && registry.DeleteValue(ValueName(argv[4]));
        if (!deleted)
            std::cerr << "tarnreg: nothing deleted\n";
        return deleted ? Done : Failed;
    }
    return ShowUsage();
}
