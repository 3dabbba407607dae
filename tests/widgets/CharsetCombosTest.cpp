#include "widgets/CharsetCombos.h"
#include "core/CharsetsFixture.h"

#include <QComboBox>

namespace {

QStringList Items(const QComboBox &combo)
{
    QStringList items;
    for (int i = 0; i < combo.count(); ++i)
        items.append(combo.itemText(i));
    return items;
}

} // namespace

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
