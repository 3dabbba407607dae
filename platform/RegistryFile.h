#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The contents of one hive of the settings store and its text form:
//
//   TarnwickRegistry 1
//   [Software\Tarnwick]
//   "Version"=dword:00000000
//   "Edit options"=hex:01,01,01,01
//   "MRU list"="/home/ann/Frans.wdl"
//   @="default value"
//
// Keys and value names compare without regard to ASCII case and keep the spelling they were
// created with. Strings are bytes; the text form escapes "\", the quote, bytes below 0x20 and 0x7F
// as \\, \", \xHH. The form is written sorted, so equal contents always give equal files.
namespace Registry {

enum class ValueType : uint8_t {
    None,
    String,
    ExpandString,
    Binary,
    DWord,
};

struct TValue
{
    std::string Name;
    ValueType Type = ValueType::None;
    // The bytes of a string or binary value; a DWORD's number is in DWord.
    std::string Data;
    uint32_t DWord = 0;
};

struct TKey
{
    // The full path as first created, segments separated by "\".
    std::string Path;
    // By folded name; "" is the default value.
    std::map<std::string, TValue> Values;
};

// A path split into its key names; nullopt when a name is empty, too long or holds a control
// character. One leading "\" is allowed; the empty path gives no names.
std::optional<std::vector<std::string>> SplitPath(std::string_view path);

class THive
{
public:
    bool KeyExists(const std::vector<std::string> &names) const;
    const TKey *FindKey(const std::vector<std::string> &names) const;
    TKey *FindKey(const std::vector<std::string> &names);
    // Creates the key (names not empty) and every missing parent; existing keys keep their
    // spelling.
    TKey &CreateKey(const std::vector<std::string> &names);
    // Removes the key with all it holds; false when it does not exist.
    bool DeleteKey(const std::vector<std::string> &names);
    // Names of the direct sub-keys, in sorted order.
    std::vector<std::string> SubKeyNames(const std::vector<std::string> &names) const;
    bool Empty() const { return Keys.empty(); }
    bool operator==(const THive &other) const;

    // The text form, and its reader; nullopt when the text is not a hive file. An empty text is
    // an empty hive.
    std::string Serialize() const;
    static std::optional<THive> Parse(std::string_view text);

private:
    // By folded path with the separator below every name character, so a key sorts before its
    // sub-keys and the sub-keys of one key sit together.
    std::map<std::string, TKey> Keys;
};

// The name as the store compares it.
std::string FoldName(std::string_view name);

// The value of a hexadecimal digit, or -1.
int HexDigit(char c);

} // namespace Registry
