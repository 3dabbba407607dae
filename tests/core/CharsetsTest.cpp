#include "core/FontCatalog.h"
#include "core/Unit_Charsets.h"
#include "core/Unit_LanguagePack.h"

#include <QComboBox>
#include <QLineEdit>
#include <gtest/gtest.h>
#include <map>

namespace {

class FakeCatalog : public IFontCatalog
{
public:
    std::vector<std::string> Families(int charset) const override
    {
        const auto found = families.find(charset);
        return found == families.end() ? std::vector<std::string>() : found->second;
    }
    bool IsInstalled(const std::string &) const override { return true; }
    bool Supports(const std::string &name, int charset) const override
    {
        for (const std::string &family : Families(charset)) {
            if (family == name)
                return true;
        }
        return false;
    }

    std::map<int, std::vector<std::string>> families;
};

class Charsets : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (int i = 0; i < MainEntryCount; ++i)
            pack.Entries.push_back("entry " + std::to_string(i));
        saved = LanguagePack;
        LanguagePack = &pack;
        SetFontCatalog(&catalog);
    }
    void TearDown() override
    {
        SetFontCatalog(nullptr);
        LanguagePack = saved;
    }

    static QStringList Items(const QComboBox &combo)
    {
        QStringList items;
        for (int i = 0; i < combo.count(); ++i)
            items.append(combo.itemText(i));
        return items;
    }

    TLanguagePack pack;
    TLanguagePack *saved = nullptr;
    FakeCatalog catalog;
};

} // namespace

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

TEST_F(Charsets, CharsetComboHoldsTheSixteenNamesAfterEveryFill)
{
    QComboBox combo;
    FillCharsetCombo(&combo);
    FillCharsetCombo(&combo);
    ASSERT_EQ(16, combo.count());
    EXPECT_EQ(QStringLiteral("entry 337"), combo.itemText(0));
    EXPECT_EQ(QStringLiteral("entry 341"), combo.itemText(4));
    EXPECT_EQ(QStringLiteral("entry 352"), combo.itemText(15));

    pack.Entries[337] = "Standaard \xE9";
    FillCharsetCombo(&combo);
    EXPECT_EQ(QStringLiteral("Standaard \u00E9"), combo.itemText(0));
}

TEST_F(Charsets, FontComboIsSortedWithoutDuplicates)
{
    catalog.families[204] = {"Tahoma", "arial", "Arial", "Courier", "Arial", "Tahoma", "\xC9lan"};
    QComboBox combo;
    FillFontCombo(204, &combo);
    EXPECT_EQ((QStringList{"Arial", "arial", "Courier", "Tahoma", QStringLiteral("\u00C9lan")}),
              Items(combo));
}

TEST_F(Charsets, FontComboKeepsAListedNameAndReplacesAnotherWithTheFirst)
{
    catalog.families[0] = {"Verdana", "Arial", "Tahoma"};
    QComboBox combo;
    combo.setEditable(true);

    combo.setEditText(QStringLiteral("tahoma"));
    FillFontCombo(0, &combo);
    EXPECT_EQ(QStringLiteral("tahoma"), combo.currentText());
    EXPECT_EQ(3, combo.count());

    combo.setEditText(QStringLiteral("Wingdings"));
    FillFontCombo(0, &combo);
    EXPECT_EQ(QStringLiteral("Arial"), combo.currentText());

    combo.setEditText(QStringLiteral("Verdana"));
    FillFontCombo(162, &combo);
    EXPECT_EQ(0, combo.count());
    EXPECT_EQ(QString(), combo.currentText());
}

TEST_F(Charsets, FontComboWithFixedItemsSelectsTheKeptName)
{
    catalog.families[0] = {"Verdana", "Arial", "Tahoma"};
    QComboBox combo;
    combo.addItems({"Gone", "Tahoma"});
    combo.setCurrentIndex(1);
    FillFontCombo(0, &combo);
    EXPECT_EQ(1, combo.currentIndex());
    EXPECT_EQ(QStringLiteral("Tahoma"), combo.currentText());

    combo.clear();
    combo.addItem(QStringLiteral("Gone"));
    FillFontCombo(0, &combo);
    EXPECT_EQ(0, combo.currentIndex());
}

TEST_F(Charsets, FontSupportsCharsetAsksTheCatalogue)
{
    catalog.families[161] = {"Arial"};
    EXPECT_TRUE(FontSupportsCharset("Arial", 161));
    EXPECT_FALSE(FontSupportsCharset("Arial", 177));
    EXPECT_FALSE(FontSupportsCharset("Tahoma", 161));
}
