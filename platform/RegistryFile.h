#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
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
    // The key's own name as first created.
    std::string Name;
    // By folded name; "" is the default value.
    std::map<std::string, TValue> Values;
};

// The limits of the store the hive files stand in for: a key name is at most 255 characters, and
// a key lies at most 512 levels deep.
constexpr size_t MaxKeyName = 255;
constexpr size_t MaxKeyDepth = 512;
// The hive files are a few kilobytes; a text form this large is not one of them.
constexpr size_t MaxHiveText = 16 * 1024 * 1024;

// A path split into its key names; nullopt when a name is empty, too long or holds a control
// character, or the path is deeper than a key can lie. One leading "\" is allowed; the empty
// path gives no names.
std::optional<std::vector<std::string>> SplitPath(std::string_view path);

class THive
{
public:
    bool KeyExists(const std::vector<std::string> &names) const;
    const TKey *FindKey(const std::vector<std::string> &names) const;
    TKey *FindKey(const std::vector<std::string> &names);
    // The key's path as first created, names separated by "\"; "" when it does not exist.
    std::string KeyPath(const std::vector<std::string> &names) const;
    // Creates the key (names not empty) and every missing parent; existing keys keep their
    // spelling.
    TKey &CreateKey(const std::vector<std::string> &names);
    // Removes the key with all it holds; false when it does not exist.
    bool DeleteKey(const std::vector<std::string> &names);
    // Names of the direct sub-keys, in sorted order.
    std::vector<std::string> SubKeyNames(const std::vector<std::string> &names) const;
    bool Empty() const { return Keys.empty(); }
    // Puts every key and value of `over` into this hive; a value `over` holds replaces this
    // hive's value of the same name.
    void Overlay(const THive &over);
    bool operator==(const THive &other) const;

    // The text form, and its reader; nullopt when the text is not a hive file (also when its
    // text form would be larger than MaxHiveText). An empty text is an empty hive.
    std::string Serialize() const;
    static std::optional<THive> Parse(std::string_view text);

private:
    // Keys are a tree: each is found by its parent's number and its own folded name (the root is
    // number 0), so a key costs its own name, never its whole path, and the sub-keys of one key
    // sit together in name order. Numbers are never given twice, not even after deletions, and a
    // 64-bit count never runs out.
    using TKeyNumber = uint64_t;
    struct TNode
    {
        TKeyNumber Number = 0;
        TKey Key;
    };
    using TSlot = std::pair<TKeyNumber, std::string>;
    using TKeys = std::map<TSlot, TNode>;

    // The key's entry, or end() when it does not exist (or names is empty).
    TKeys::const_iterator FindSlot(const std::vector<std::string> &names) const;
    const TNode *FindNode(const std::vector<std::string> &names) const;
    // The first sub-key of parent and the place after its last one.
    TKeys::const_iterator FirstChild(TKeyNumber parent) const;
    TKeys::const_iterator EndOfChildren(TKeyNumber parent) const;
    // Appends the sections of parent's sub-keys and of theirs, path being parent's path.
    void SerializeChildren(std::string &out, TKeyNumber parent, std::string &path) const;
    // The bytes those sections' lines take, parentLength being the length of parent's path.
    size_t SectionBytes(TKeyNumber parent, size_t parentLength) const;
    // Overlays the sub-keys of over's key `parent`, whose names are `path`.
    void OverlayChildren(const THive &over, TKeyNumber parent, std::vector<std::string> &path);

    TKeys Keys;
    TKeyNumber LastNumber = 0;
};

// The name as the store compares it.
std::string FoldName(std::string_view name);

// The value of a hexadecimal digit, or -1.
int HexDigit(char c);

} // namespace Registry
