#include "platform/FontConfigCatalog.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

bool Contains(const std::vector<std::string> &list, const std::string &name)
{
    return std::find(list.begin(), list.end(), name) != list.end();
}

} // namespace

// These rely on the fonts the dependency script installs (DejaVu and Liberation).
TEST(FontConfigCatalog, ListedFacesAreInstalledWhateverTheirCase)
{
    const TFontConfigCatalog catalog;
    EXPECT_TRUE(catalog.IsInstalled("DejaVu Sans"));
    EXPECT_TRUE(catalog.IsInstalled("dejavu sans"));
    EXPECT_TRUE(catalog.IsInstalled("Liberation Serif"));
    EXPECT_EQ("DejaVu Sans", catalog.Resolve("DejaVu Sans"));
}

TEST(FontConfigCatalog, AliasedFacesStandForTheirInstalledFace)
{
    const TFontConfigCatalog catalog;
    EXPECT_EQ("Liberation Sans", catalog.Resolve("Arial"));
    EXPECT_EQ("Liberation Mono", catalog.Resolve("Courier New"));
    EXPECT_TRUE(catalog.IsInstalled("Times New Roman"));
    // Filed under sans-serif by fontconfig's rules, so it draws with the desktop's sans face.
    EXPECT_TRUE(catalog.IsInstalled("MS Sans Serif"));
    EXPECT_TRUE(catalog.Supports("Arial", 238));
}

TEST(FontConfigCatalog, UnknownFacesAreNotInstalled)
{
    const TFontConfigCatalog catalog;
    EXPECT_FALSE(catalog.IsInstalled("No Such Face Anywhere"));
    EXPECT_FALSE(catalog.IsInstalled(""));
    EXPECT_FALSE(catalog.Supports("No Such Face Anywhere", 1));
}

TEST(FontConfigCatalog, FamiliesFollowTheCharacterSetsLanguages)
{
    const TFontConfigCatalog catalog;
    const auto all = catalog.Families(1);
    EXPECT_TRUE(Contains(all, "DejaVu Sans"));
    EXPECT_TRUE(Contains(catalog.Families(204), "DejaVu Sans"));
    EXPECT_TRUE(Contains(catalog.Families(0), "Liberation Sans"));
    // A character set narrows the families; it never adds one.
    for (int charset : {222, 128, 178}) {
        for (const std::string &family : catalog.Families(charset))
            EXPECT_TRUE(Contains(all, family)) << family;
    }
    EXPECT_TRUE(catalog.Supports("DejaVu Sans", 161));
    EXPECT_TRUE(catalog.Supports("DejaVu Sans", 1));
    EXPECT_FALSE(catalog.Supports("Liberation Mono", 128));
}
