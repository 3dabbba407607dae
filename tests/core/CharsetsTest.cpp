#include "core/CharsetsFixture.h"
#include "core/Unit_Charsets.h"

TEST_F(Charsets, IndexesAndValuesMapBothWays)
{
    EXPECT_EQ(1, IndexToCharset(0));
    EXPECT_EQ(1, IndexToCharset(16));
    EXPECT_EQ(1, IndexToCharset(-1));
    EXPECT_EQ(0, IndexToCharset(1));
    EXPECT_EQ(130, IndexToCharset(15));
    EXPECT_EQ(0, CharsetToIndex(1));
    EXPECT_EQ(0, CharsetToIndex(2));
    EXPECT_EQ(0, CharsetToIndex(255));
    for (int index = 0; index < 16; ++index)
        EXPECT_EQ(index, CharsetToIndex(IndexToCharset(index)));
    EXPECT_TRUE(IsSupportedCharset(238));
    EXPECT_FALSE(IsSupportedCharset(2));
}

TEST_F(Charsets, NamesComeFromThePack)
{
    EXPECT_EQ("entry 337", CharsetName(1));
    EXPECT_EQ("entry 337", CharsetName(2));
    EXPECT_EQ("entry 338", CharsetName(0));
    EXPECT_EQ("entry 339", CharsetName(238));
    EXPECT_EQ("entry 352", CharsetName(130));
}

TEST_F(Charsets, FontSupportsCharsetAsksTheCatalogue)
{
    catalog.families[161] = {"Arial"};
    EXPECT_TRUE(FontSupportsCharset("Arial", 161));
    EXPECT_FALSE(FontSupportsCharset("Arial", 177));
    EXPECT_FALSE(FontSupportsCharset("Tahoma", 161));
}
