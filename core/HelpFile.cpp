#include "core/HelpFile.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>
#include <optional>

namespace HelpFile {

namespace {

enum TSystemCode : uint16_t {
    DefaultTopicCode = 2,
    TitleCode = 3,
    LcidCode = 4,
};

constexpr int Latin1CodePage = 1252;
constexpr int CyrillicCodePage = 1251;
constexpr int CentralEuropeanCodePage = 1250;
constexpr int GreekCodePage = 1253;
constexpr int TurkishCodePage = 1254;

uint32_t ReadLE(std::string_view bytes, size_t pos, size_t size)
{
    uint32_t value = 0;
    for (size_t i = 0; i < size; ++i)
        value |= uint32_t(static_cast<unsigned char>(bytes[pos + i])) << (8 * i);
    return value;
}

std::string CString(std::string_view bytes)
{
    return std::string(bytes.substr(0, std::min(bytes.find('\0'), bytes.size())));
}

std::string Lower(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

std::optional<uint32_t> Number(std::string_view text)
{
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

// Primary language -> the Windows code page of its script.
int LanguageCodePage(uint32_t lcid)
{
    enum : uint32_t {
        Bulgarian = 0x02,
        Czech = 0x05,
        Greek = 0x08,
        Hungarian = 0x0E,
        Polish = 0x15,
        Romanian = 0x18,
        Russian = 0x19,
        Croatian = 0x1A,
        Slovak = 0x1B,
        Turkish = 0x1F,
        Ukrainian = 0x22,
        Slovenian = 0x24,
    };
    constexpr uint32_t PrimaryMask = 0x3FF;
    switch (lcid & PrimaryMask) {
    case Bulgarian:
    case Russian:
    case Ukrainian:
        return CyrillicCodePage;
    case Czech:
    case Hungarian:
    case Polish:
    case Romanian:
    case Croatian:
    case Slovak:
    case Slovenian:
        return CentralEuropeanCodePage;
    case Greek:
        return GreekCodePage;
    case Turkish:
        return TurkishCodePage;
    default:
        return Latin1CodePage;
    }
}

} // namespace

TSystemInfo ParseSystem(std::string_view system)
{
    constexpr size_t VersionSize = 4;
    constexpr size_t HeaderSize = 4;
    TSystemInfo info;
    for (size_t pos = VersionSize; pos + HeaderSize <= system.size();) {
        const auto code = static_cast<uint16_t>(ReadLE(system, pos, 2));
        const size_t length = ReadLE(system, pos + 2, 2);
        pos += HeaderSize;
        if (length > system.size() - pos)
            break;
        const std::string_view data = system.substr(pos, length);
        if (code == DefaultTopicCode)
            info.DefaultTopic = CString(data);
        else if (code == TitleCode)
            info.Title = CString(data);
        else if (code == LcidCode && data.size() >= 4)
            info.Lcid = ReadLE(data, 0, 4);
        pos += length;
    }
    return info;
}

std::map<uint32_t, std::string> ParseContextMap(std::string_view ivb, std::string_view strings)
{
    constexpr size_t PairSize = 8;
    std::map<uint32_t, std::string> map;
    if (ivb.size() < 4)
        return map;
    const size_t count = std::min<size_t>(ReadLE(ivb, 0, 4), ivb.size() - 4) / PairSize;
    for (size_t i = 0; i < count; ++i) {
        const size_t pos = 4 + i * PairSize;
        const uint32_t context = ReadLE(ivb, pos, 4);
        const uint32_t offset = ReadLE(ivb, pos + 4, 4);
        if (offset < strings.size())
            map.emplace(context, CString(strings.substr(offset)));
    }
    return map;
}

std::string ResolveTopic(std::string_view stored,
                         const std::function<bool(const std::string &)> &exists)
{
    std::string path(stored);
    std::replace(path.begin(), path.end(), '\\', '/');
    while (!path.empty()) {
        const std::string candidate = path.front() == '/' ? path : "/" + path;
        if (exists(candidate))
            return candidate;
        const size_t slash = path.find('/', 1);
        if (slash == std::string::npos)
            break;
        path.erase(0, slash + 1);
    }
    return {};
}

std::map<std::string, uint32_t> ParseDefines(std::string_view header)
{
    std::map<std::string, uint32_t> defines;
    while (!header.empty()) {
        const size_t end = std::min(header.find('\n'), header.size());
        std::string_view line = Trim(header.substr(0, end));
        header.remove_prefix(std::min(end + 1, header.size()));
        constexpr std::string_view Define = "#define";
        if (line.substr(0, Define.size()) != Define)
            continue;
        line = Trim(line.substr(Define.size()));
        const size_t gap = line.find_first_of(" \t");
        if (gap == std::string_view::npos)
            continue;
        if (const auto value = Number(Trim(line.substr(gap))))
            defines[Lower(line.substr(0, gap))] = *value;
    }
    return defines;
}

std::map<uint32_t, std::string> ParsePopups(std::string_view text,
                                            const std::map<std::string, uint32_t> &defines)
{
    std::map<uint32_t, std::string> popups;
    std::optional<uint32_t> current;
    std::string body;
    const auto finish = [&] {
        while (!body.empty() && (body.back() == '\n' || body.back() == ' ' || body.back() == '\t'))
            body.pop_back();
        if (current)
            popups[*current] = body;
        body.clear();
    };
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        constexpr std::string_view Topic = ".topic";
        if (line.size() > Topic.size() && Lower(line.substr(0, Topic.size())) == Topic
            && std::isspace(static_cast<unsigned char>(line[Topic.size()]))) {
            finish();
            const std::string_view id = Trim(line.substr(Topic.size()));
            current = Number(id);
            if (!current) {
                const auto found = defines.find(Lower(id));
                if (found != defines.end())
                    current = found->second;
            }
            continue;
        }
        if (current) {
            body.append(line);
            body.push_back('\n');
        }
    }
    finish();
    return popups;
}

int PageCodePage(std::string_view html, uint32_t lcid)
{
    const std::string lower = Lower(html.substr(0, std::min<size_t>(html.size(), 2048)));
    const size_t charset = lower.find("charset=");
    if (charset != std::string::npos) {
        size_t start = charset + std::strlen("charset=");
        if (start < lower.size() && (lower[start] == '"' || lower[start] == '\''))
            ++start;
        const size_t end = lower.find_first_of("\"'; >", start);
        const std::string name = lower.substr(start, end == std::string::npos ? end : end - start);
        if (name == "utf-8" || name == "utf8")
            return Utf8CodePage;
        if (name == "iso-8859-1")
            return Latin1CodePage;
        constexpr std::string_view Windows = "windows-";
        if (name.substr(0, Windows.size()) == Windows)
            if (const auto page = Number(std::string_view(name).substr(Windows.size())))
                return static_cast<int>(*page);
    }
    return LanguageCodePage(lcid);
}

} // namespace HelpFile
