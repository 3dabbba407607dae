#include "core/HelpFile.h"

#include <gtest/gtest.h>

using namespace HelpFile;

namespace {

std::string Dword(uint32_t value)
{
    std::string bytes;
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    return bytes;
}

std::string Record(uint16_t code, const std::string &data)
{
    std::string bytes = Dword(code | (static_cast<uint32_t>(data.size()) << 16));
    return bytes + data;
}

} // namespace

TEST(HelpFile, SystemAndContextMapAreReadAndDamageIsSkipped)
{
    const std::string system = Dword(3) + Record(2, std::string("index.htm\0", 10))
            + Record(3, std::string("Help\0", 5)) + Record(4, Dword(0x0413) + Dword(0))
            + Record(2, "cut short by the file's end");
    const TSystemInfo info = ParseSystem(system.substr(0, system.size() - 5));
    EXPECT_EQ("index.htm", info.DefaultTopic);
    EXPECT_EQ("Help", info.Title);
    EXPECT_EQ(0x0413u, info.Lcid);

    const std::string strings = std::string("\0/a/index.htm\0b.htm\0", 20);
    // Three pairs claimed, the last pointing past the strings, and a stray byte after them.
    const std::string ivb = Dword(24) + Dword(1) + Dword(1) + Dword(2000) + Dword(14) + Dword(7)
            + Dword(999) + "x";
    const auto map = ParseContextMap(ivb, strings);
    ASSERT_EQ(2u, map.size());
    EXPECT_EQ("/a/index.htm", map.at(1));
    EXPECT_EQ("b.htm", map.at(2000));
    EXPECT_TRUE(ParseContextMap(Dword(1000), "").empty());
    EXPECT_TRUE(ParseContextMap("", strings).empty());
}

TEST(HelpFile, StoredBuildPathsFallBackToShorterSuffixes)
{
    const auto exists
            = [](const std::string &path) { return path == "/index.htm" || path == "/pics/a.png"; };
    EXPECT_EQ("/index.htm", ResolveTopic("/home/build/help/nl/index.htm", exists));
    EXPECT_EQ("/index.htm", ResolveTopic("index.htm", exists));
    EXPECT_EQ("/pics/a.png", ResolveTopic("C:\\work\\pics\\a.png", exists));
    EXPECT_EQ("", ResolveTopic("/build/missing.htm", exists));
    EXPECT_EQ("", ResolveTopic("", exists));
}

TEST(HelpFile, PopupsByNumberAndByNameWithEitherLineEnd)
{
    const auto defines = ParseDefines("// ids\n#define IDH_FIND 1700\n#define IDH_HEX 0x10\r\n"
                                      "#define BROKEN\n#define IDH_TEXT abc\n");
    EXPECT_EQ((std::map<std::string, uint32_t>{{"idh_find", 1700}, {"idh_hex", 16}}), defines);

    const auto popups = ParsePopups(".topic 1\r\nFirst line\r\nsecond line\r\n\r\n\r\n"
                                    ".topic IDH_Find\nFinds text.\n\n"
                                    ".topic IDH_UNKNOWN\nNever shown.\n"
                                    ".topic 2803\nThe last one, without a line end",
                                    defines);
    ASSERT_EQ(3u, popups.size());
    EXPECT_EQ("First line\nsecond line", popups.at(1));
    EXPECT_EQ("Finds text.", popups.at(1700));
    EXPECT_EQ("The last one, without a line end", popups.at(2803));
    EXPECT_TRUE(ParsePopups("text before any topic\n", defines).empty());
}

TEST(HelpFile, PageCodePageFromCharsetElseLanguage)
{
    EXPECT_EQ(Utf8CodePage, PageCodePage(R"(<meta content="text/html; charset=UTF-8">)", 0x0413));
    EXPECT_EQ(1250, PageCodePage("<meta charset='windows-1250'>", 0x0409));
    EXPECT_EQ(1252, PageCodePage("<p>no charset</p>", 0x0413));
    EXPECT_EQ(1251, PageCodePage("<p>no charset</p>", 0x0419));
    EXPECT_EQ(1250, PageCodePage("", 0x0415));
    EXPECT_EQ(1252, PageCodePage("charset=windows-", 0x0409));
}
