#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

// What the help viewer reads from the help compiler's internal files, without touching a file:
// the context map, the default topic and language, the pop-up texts and a page's code page.
namespace HelpFile {

// "/#SYSTEM" records {WORD code, WORD length, data}.
struct TSystemInfo
{
    std::string DefaultTopic;
    std::string Title;
    uint32_t Lcid = 0;
};
TSystemInfo ParseSystem(std::string_view system);

// Context number -> topic path, from "/#IVB" (a DWORD byte count, then pairs {context, offset
// into "/#STRINGS"}) and "/#STRINGS" (zero-terminated paths). Damaged pairs are skipped.
std::map<uint32_t, std::string> ParseContextMap(std::string_view ivb, std::string_view strings);

// The object that a stored topic path names: the path as stored, else ever shorter suffixes down
// to the bare file name (the compiler may store the folders it was run in). "" when none exists.
std::string ResolveTopic(std::string_view stored,
                         const std::function<bool(const std::string &)> &exists);

// "#define NAME value" lines of a header.
std::map<std::string, uint32_t> ParseDefines(std::string_view header);
// The ".topic <id>" blocks of a pop-up text file: a numeric id as it is, a symbolic one through
// defines. A text runs to the next ".topic" line, without trailing blank lines; CR LF or LF.
std::map<uint32_t, std::string> ParsePopups(std::string_view text,
                                            const std::map<std::string, uint32_t> &defines);

// The code page a page is written in: its meta charset (windows-125x, iso-8859-1, utf-8 as 65001),
// else the help file's language.
inline constexpr int Utf8CodePage = 65001;
int PageCodePage(std::string_view html, uint32_t lcid);

} // namespace HelpFile
