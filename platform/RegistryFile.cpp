#include "platform/RegistryFile.h"

#include <cstdio>
#include <utility>

namespace Registry {

namespace {

constexpr std::string_view Header = "TarnwickRegistry 1";

bool IsControl(unsigned char c)
{
    return c < 0x20 || c == 0x7F;
}

char FoldChar(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

void AppendHexByte(std::string &out, unsigned char byte)
{
    static const char Digits[] = "0123456789abcdef";
    out += Digits[byte >> 4];
    out += Digits[byte & 0x0F];
}

void AppendQuoted(std::string &out, std::string_view text)
{
    out += '"';
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\' || c == '"') {
            out += '\\';
            out += c;
        } else if (IsControl(byte)) {
            out += "\\x";
            AppendHexByte(out, byte);
        } else {
            out += c;
        }
    }
    out += '"';
}

void AppendHexList(std::string &out, std::string_view bytes)
{
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0)
            out += ',';
        AppendHexByte(out, static_cast<unsigned char>(bytes[i]));
    }
}

void AppendValue(std::string &out, const TValue &value)
{
    if (value.Name.empty())
        out += '@';
    else
        AppendQuoted(out, value.Name);
    out += '=';
    switch (value.Type) {
    case ValueType::DWord: {
        char digits[9];
        std::snprintf(digits, sizeof digits, "%08x", static_cast<unsigned>(value.DWord));
        out += "dword:";
        out += digits;
        break;
    }
    case ValueType::Binary:
        out += "hex:";
        AppendHexList(out, value.Data);
        break;
    case ValueType::ExpandString:
        out += "hex(2):";
        AppendHexList(out, value.Data);
        break;
    case ValueType::String:
    case ValueType::None:
        AppendQuoted(out, value.Data);
        break;
    }
    out += '\n';
}

// Reads a quoted text at the start of `text`; on success `text` is left after the closing quote.
std::optional<std::string> ParseQuoted(std::string_view &text)
{
    if (text.empty() || text.front() != '"')
        return std::nullopt;
    std::string result;
    size_t i = 1;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '"') {
            text.remove_prefix(i + 1);
            return result;
        }
        if (c != '\\') {
            result += c;
            ++i;
            continue;
        }
        if (i + 1 >= text.size())
            return std::nullopt;
        const char escaped = text[i + 1];
        if (escaped == '\\' || escaped == '"') {
            result += escaped;
            i += 2;
        } else if (escaped == 'x' && i + 3 < text.size() && HexDigit(text[i + 2]) >= 0
                   && HexDigit(text[i + 3]) >= 0) {
            result += static_cast<char>(HexDigit(text[i + 2]) * 16 + HexDigit(text[i + 3]));
            i += 4;
        } else {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

std::optional<std::string> ParseHexList(std::string_view text)
{
    std::string bytes;
    if (text.empty())
        return bytes;
    size_t i = 0;
    while (true) {
        if (i + 2 > text.size() || HexDigit(text[i]) < 0 || HexDigit(text[i + 1]) < 0)
            return std::nullopt;
        bytes += static_cast<char>(HexDigit(text[i]) * 16 + HexDigit(text[i + 1]));
        i += 2;
        if (i == text.size())
            return bytes;
        if (text[i] != ',')
            return std::nullopt;
        ++i;
    }
}

std::optional<uint32_t> ParseDWord(std::string_view text)
{
    if (text.empty() || text.size() > 8)
        return std::nullopt;
    uint32_t value = 0;
    for (char c : text) {
        const int digit = HexDigit(c);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + static_cast<uint32_t>(digit);
    }
    return value;
}

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

std::optional<TValue> ParseValueLine(std::string_view line)
{
    TValue value;
    if (!line.empty() && line.front() == '@') {
        line.remove_prefix(1);
    } else {
        auto name = ParseQuoted(line);
        if (!name)
            return std::nullopt;
        value.Name = std::move(*name);
    }
    if (line.empty() || line.front() != '=')
        return std::nullopt;
    line.remove_prefix(1);
    if (StartsWith(line, "dword:")) {
        const auto number = ParseDWord(line.substr(6));
        if (!number)
            return std::nullopt;
        value.Type = ValueType::DWord;
        value.DWord = *number;
    } else if (StartsWith(line, "hex:") || StartsWith(line, "hex(2):")) {
        const bool expand = line[3] == '(';
        auto bytes = ParseHexList(line.substr(expand ? 7 : 4));
        if (!bytes)
            return std::nullopt;
        value.Type = expand ? ValueType::ExpandString : ValueType::Binary;
        value.Data = std::move(*bytes);
    } else {
        auto text = ParseQuoted(line);
        if (!text || !line.empty())
            return std::nullopt;
        value.Type = ValueType::String;
        value.Data = std::move(*text);
    }
    return value;
}

} // namespace

std::string FoldName(std::string_view name)
{
    std::string folded(name);
    for (char &c : folded)
        c = FoldChar(c);
    return folded;
}

std::optional<std::vector<std::string>> SplitPath(std::string_view path)
{
    if (!path.empty() && path.front() == '\\')
        path.remove_prefix(1);
    std::vector<std::string> names;
    if (path.empty())
        return names;
    while (true) {
        const size_t slash = path.find('\\');
        const std::string_view name = path.substr(0, slash);
        if (name.empty() || name.size() > MaxKeyName || names.size() == MaxKeyDepth)
            return std::nullopt;
        for (char c : name) {
            if (IsControl(static_cast<unsigned char>(c)))
                return std::nullopt;
        }
        names.emplace_back(name);
        if (slash == std::string_view::npos)
            return names;
        path.remove_prefix(slash + 1);
    }
}

bool THive::KeyExists(const std::vector<std::string> &names) const
{
    return names.empty() || FindNode(names) != nullptr;
}

THive::TKeys::const_iterator THive::FindSlot(const std::vector<std::string> &names) const
{
    auto found = Keys.end();
    TKeyNumber parent = 0;
    for (const std::string &name : names) {
        found = Keys.find(TSlot{parent, FoldName(name)});
        if (found == Keys.end())
            break;
        parent = found->second.Number;
    }
    return found;
}

const THive::TNode *THive::FindNode(const std::vector<std::string> &names) const
{
    const auto found = FindSlot(names);
    return found == Keys.end() ? nullptr : &found->second;
}

const TKey *THive::FindKey(const std::vector<std::string> &names) const
{
    const TNode *node = FindNode(names);
    return node ? &node->Key : nullptr;
}

TKey *THive::FindKey(const std::vector<std::string> &names)
{
    return const_cast<TKey *>(std::as_const(*this).FindKey(names));
}

std::string THive::KeyPath(const std::vector<std::string> &names) const
{
    std::string path;
    TKeyNumber parent = 0;
    for (const std::string &name : names) {
        const auto found = Keys.find(TSlot{parent, FoldName(name)});
        if (found == Keys.end())
            return std::string();
        if (!path.empty())
            path += '\\';
        path += found->second.Key.Name;
        parent = found->second.Number;
    }
    return path;
}

TKey &THive::CreateKey(const std::vector<std::string> &names)
{
    TNode *node = nullptr;
    TKeyNumber parent = 0;
    for (const std::string &name : names) {
        auto [entry, created] = Keys.try_emplace(TSlot{parent, FoldName(name)});
        if (created) {
            entry->second.Number = ++LastNumber;
            entry->second.Key.Name = name;
        }
        node = &entry->second;
        parent = node->Number;
    }
    return node->Key;
}

THive::TKeys::const_iterator THive::FirstChild(TKeyNumber parent) const
{
    return Keys.lower_bound(TSlot{parent, std::string()});
}

THive::TKeys::const_iterator THive::EndOfChildren(TKeyNumber parent) const
{
    return Keys.lower_bound(TSlot{parent + 1, std::string()});
}

bool THive::DeleteKey(const std::vector<std::string> &names)
{
    if (names.empty())
        return false;
    const auto found = FindSlot(names);
    if (found == Keys.end())
        return false;
    std::vector<TKeyNumber> pending{found->second.Number};
    Keys.erase(found);
    while (!pending.empty()) {
        const TKeyNumber parent = pending.back();
        pending.pop_back();
        const auto first = FirstChild(parent);
        const auto last = EndOfChildren(parent);
        for (auto child = first; child != last; ++child)
            pending.push_back(child->second.Number);
        Keys.erase(first, last);
    }
    return true;
}

std::vector<std::string> THive::SubKeyNames(const std::vector<std::string> &names) const
{
    std::vector<std::string> result;
    TKeyNumber parent = 0;
    if (!names.empty()) {
        const TNode *node = FindNode(names);
        if (!node)
            return result;
        parent = node->Number;
    }
    for (auto child = FirstChild(parent), last = EndOfChildren(parent); child != last; ++child)
        result.push_back(child->second.Key.Name);
    return result;
}

void THive::Overlay(const THive &over)
{
    std::vector<std::string> path;
    OverlayChildren(over, 0, path);
}

void THive::OverlayChildren(const THive &over, TKeyNumber parent, std::vector<std::string> &path)
{
    for (auto child = over.FirstChild(parent), last = over.EndOfChildren(parent); child != last;
         ++child) {
        path.push_back(child->second.Key.Name);
        TKey &key = CreateKey(path);
        for (const auto &[folded, value] : child->second.Key.Values)
            key.Values[folded] = value;
        OverlayChildren(over, child->second.Number, path);
        path.pop_back();
    }
}

bool THive::operator==(const THive &other) const
{
    return Serialize() == other.Serialize();
}

void THive::SerializeChildren(std::string &out, TKeyNumber parent, std::string &path) const
{
    const size_t parentLength = path.size();
    for (auto child = FirstChild(parent), last = EndOfChildren(parent); child != last; ++child) {
        const TNode &node = child->second;
        if (parentLength > 0)
            path += '\\';
        path += node.Key.Name;
        out += "\n[";
        out += path;
        out += "]\n";
        for (const auto &[name, value] : node.Key.Values)
            AppendValue(out, value);
        SerializeChildren(out, node.Number, path);
        path.resize(parentLength);
    }
}

size_t THive::SectionBytes(TKeyNumber parent, size_t parentLength) const
{
    constexpr size_t Frame = std::string_view("\n[]\n").size();
    size_t bytes = 0;
    for (auto child = FirstChild(parent), last = EndOfChildren(parent); child != last; ++child) {
        const size_t length
                = parentLength + (parentLength > 0 ? 1 : 0) + child->second.Key.Name.size();
        bytes += length + Frame + SectionBytes(child->second.Number, length);
    }
    return bytes;
}

std::string THive::Serialize() const
{
    std::string out(Header);
    out += '\n';
    std::string path;
    SerializeChildren(out, 0, path);
    return out;
}

std::optional<THive> THive::Parse(std::string_view text)
{
    THive hive;
    if (text.empty())
        return hive;
    TKey *current = nullptr;
    bool headerSeen = false;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!headerSeen) {
            if (line != Header)
                return std::nullopt;
            headerSeen = true;
        } else if (line.empty()) {
            continue;
        } else if (line.front() == '[') {
            if (line.size() < 3 || line.back() != ']')
                return std::nullopt;
            const auto names = SplitPath(line.substr(1, line.size() - 2));
            if (!names || names->empty() || line[1] == '\\')
                return std::nullopt;
            current = &hive.CreateKey(*names);
        } else {
            auto value = ParseValueLine(line);
            if (!value || !current)
                return std::nullopt;
            current->Values[FoldName(value->Name)] = std::move(*value);
        }
    }
    // Every section line repeats the whole path of its key: a short file of deep paths would
    // otherwise be written back as one no hive file may be.
    if (hive.SectionBytes(0, 0) > MaxHiveText)
        return std::nullopt;
    return hive;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace Registry
