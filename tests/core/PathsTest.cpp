#include "core/Unit_Constants.h"
#include "core/Unit_Paths.h"

#include <gtest/gtest.h>

TEST(Paths, RemoveTrailingBackslashKeepsTheRootAndRemovesOneSlash)
{
    EXPECT_EQ("/", RemoveTrailingBackslash("/"));
    EXPECT_EQ("/tmp", RemoveTrailingBackslash("/tmp/"));
    EXPECT_EQ("a/", RemoveTrailingBackslash("a//"));
    EXPECT_EQ("", RemoveTrailingBackslash(""));
    EXPECT_EQ("/tmp", RemoveTrailingBackslash("/tmp"));
}

TEST(Paths, JoinPathAddsOneSeparator)
{
    EXPECT_EQ("/data/a.lng", JoinPath("/data", "a.lng"));
    EXPECT_EQ("/data/a.lng", JoinPath("/data/", "a.lng"));
    EXPECT_EQ("/a.lng", JoinPath("/", "a.lng"));
    EXPECT_EQ("a.lng", JoinPath("", "a.lng"));
    EXPECT_EQ("/data", JoinPath("/data", ""));
    EXPECT_EQ("/", JoinPath("/", ""));
}

TEST(Constants, KeyScanCodesFollowTheKeyboardRows)
{
    ASSERT_EQ(48u, KeyScanCodes.size());
    EXPECT_EQ(41, KeyScanCodes.front());
    EXPECT_EQ(2, KeyScanCodes[1]);
    EXPECT_EQ(13, KeyScanCodes[12]);
    EXPECT_EQ(16, KeyScanCodes[13]);
    EXPECT_EQ(30, KeyScanCodes[25]);
    EXPECT_EQ(44, KeyScanCodes[36]);
    EXPECT_EQ(43, KeyScanCodes[46]);
    EXPECT_EQ(57, KeyScanCodes.back());
    EXPECT_EQ("MS Sans Serif", DefaultFont.Name);
    EXPECT_EQ(1, DefaultFont.Charset);
    EXPECT_EQ(8, DefaultFont.Size);
}
