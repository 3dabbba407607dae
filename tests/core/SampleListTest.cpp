#include "core/Unit_WordList.h"
#include "support/WordListFixtures.h"

#include <gtest/gtest.h>

// The list the quick start opens must stay a valid list of the current format.
TEST(SampleList, OpensAsAnUnchangedCurrentList)
{
    TFakeFontCatalog fonts;
    TRecordingHooks hooks;
    TWordList list;
    bool ok = false;
    int format = 0;
    list.LoadFromFile(TARNWICK_SOURCE_DIR "/samples/Frans.wdl", ok, format);
    EXPECT_TRUE(ok);
    EXPECT_EQ(5, format);
    EXPECT_TRUE(list.Saved);
    EXPECT_EQ(20, list.Count());
    EXPECT_EQ("Frans", list.ForLanguage);
    EXPECT_EQ("la maison", list.GetForWord(0));
    EXPECT_EQ("het huis", list.GetRefWord(0));
    EXPECT_TRUE(hooks.Errors.empty());
}
