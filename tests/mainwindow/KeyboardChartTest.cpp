#include "kbtool/KeyboardChart.h"
#include "core/Unit_Constants.h"
#include "platform/CodePage.h"
#include "platform/KbKeymap.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

constexpr int Dpi = 100;
constexpr double MetresPerInch = 0.0254;
constexpr int LetterWidth = 1100;
constexpr int LetterHeight = 850;
constexpr int AcuteKey = 12;
constexpr int QKey = 13;

TKeyChars German()
{
    KbKeymap::UseSystemFilesOnly();
    TKeyChars chars;
    const auto keymap = KbKeymap::Of(KbLayout::FromName("de"));
    EXPECT_TRUE(keymap);
    if (!keymap)
        return chars;
    TKeyCharsComputer computer(chars, *keymap, CodePage::Default);
    for (int key = 0; key < KeyCount; ++key) {
        for (int shift = 0; shift < ShiftCount; ++shift)
            computer.ComputeKeyChar(key, shift);
    }
    return chars;
}

} // namespace

TEST(KeyboardChart, InchesRoundHalvesToEvenAndTheBlockMustFitStrictly)
{
    EXPECT_EQ(2, InchToPrinter(50, 0.05));
    EXPECT_EQ(4, InchToPrinter(50, 0.07));
    EXPECT_EQ(12, InchToPrinter(Dpi, 0.125));
    EXPECT_EQ(14, InchToPrinter(Dpi, 0.135));
    EXPECT_EQ(198, InchToPrinter(300, 0.66));
    EXPECT_EQ(988, InchToPrinter(Dpi, 9.88));

    TChartDevice device{Dpi, Dpi, QSize(989, 431), QRect(-10, -10, 1009, 451)};
    EXPECT_TRUE(ChartFits(device));
    device.Page = QSize(988, 431);
    EXPECT_FALSE(ChartFits(device));
    device.Page = QSize(989, 430);
    EXPECT_FALSE(ChartFits(device));
}

TEST(KeyboardChart, DeadKeyTablesFlowDownColumnsThenAcrossThenOntoNewPages)
{
    // Heading 0.7 in = 70 px on the first page; a column step is 160 px, a column 120 px wide.
    const int line = 50;
    const QRect box(0, 0, 560, 700);
    const TDeadKeyPlan plan = PlanDeadKeyPages({3, 20, 2}, line, box, Dpi, Dpi);
    ASSERT_EQ(3u, plan.Tables.size());
    EXPECT_EQ(2, plan.PageCount);
    ASSERT_EQ(4u, plan.Tables[0].size());
    EXPECT_EQ((TDeadKeyPlace{0, {0, 70}}), plan.Tables[0][0]);
    EXPECT_EQ((TDeadKeyPlace{0, {0, 220}}), plan.Tables[0][3]);
    // Too long for the rest of the column: the table starts the next one.
    ASSERT_EQ(21u, plan.Tables[1].size());
    EXPECT_EQ((TDeadKeyPlace{0, {160, 70}}), plan.Tables[1][0]);
    // Its entries go on at the top of the following column when the column is full.
    EXPECT_EQ((TDeadKeyPlace{0, {160, 620}}), plan.Tables[1][11]);
    EXPECT_EQ((TDeadKeyPlace{0, {320, 70}}), plan.Tables[1][12]);
    EXPECT_EQ((TDeadKeyPlace{0, {320, 470}}), plan.Tables[1][20]);
    // No column left across: a new page, without the heading's room.
    EXPECT_EQ((TDeadKeyPlace{1, {0, 0}}), plan.Tables[2][0]);
    EXPECT_EQ((TDeadKeyPlace{1, {0, 100}}), plan.Tables[2][2]);

    EXPECT_EQ(0, PlanDeadKeyPages({}, line, box, Dpi, Dpi).PageCount);
}

TEST(KeyboardChart, KeysShowTheirQuartersAndDeadQuartersAreGrey)
{
    const TKeyChars chars = German();
    QImage page(LetterWidth, LetterHeight, QImage::Format_RGB32);
    const int dotsPerMetre = qRound(Dpi / MetresPerInch);
    page.setDotsPerMeterX(dotsPerMetre);
    page.setDotsPerMeterY(dotsPerMetre);
    page.fill(Qt::white);
    const TChartContent content{chars, CodePage::Default, QFont(QStringLiteral("Arial"), 10),
                                std::string(), QStringLiteral("German")};
    const TChartDevice device{Dpi, Dpi, page.size(), page.rect()};
    int newPages = 0;
    QPainter painter(&page);
    const int pages = PaintKeyboardChart(painter, device, content, [&] {
        ++newPages;
        return false;
    });
    painter.end();
    // The dead keys' pages were asked for and refused: only the keyboard is there.
    EXPECT_EQ(1, newPages);
    EXPECT_EQ(1, pages);

    // Block: x0 = (1100 - 988) / 2 = 56, y0 = 100 + (850 - 430) / 2 = 310; keys 66 px.
    const int top = 310;
    const int keyLeft = 56 + AcuteKey * 66;
    const int bottomQuarterTop = top + 33;
    EXPECT_EQ(QColor(128, 128, 128), page.pixelColor(keyLeft + 2, bottomQuarterTop + 30));
    const int qLeft = 56 + InchToPrinter(Dpi, 1.02);
    const int rowTwo = top + 66;
    EXPECT_EQ(QColor(Qt::white), page.pixelColor(qLeft + 2, rowTwo + 60));
    // The key print box is black, a blank key print leaves it so.
    EXPECT_EQ(QColor(Qt::black), page.pixelColor(qLeft + 65 - 2, rowTwo + 65 - 2));
    // Something is drawn in the plain quarter of "q" and nothing in its AltGr quarters but "@".
    bool drawn = false;
    for (int y = rowTwo + 33; y < rowTwo + 66 && !drawn; ++y) {
        for (int x = qLeft + 2; x < qLeft + 31 && !drawn; ++x)
            drawn = page.pixelColor(x, y) != QColor(Qt::white);
    }
    EXPECT_TRUE(drawn);
    EXPECT_EQ(0, chars.At(ssShiftAltGr, QKey).Char);
}

TEST(KeyboardChart, OverhangsAreHowFarGlyphsReachLeftOfTheirOrigin)
{
    QImage page(1, 1, QImage::Format_RGB32);
    const int dotsPerMetre = qRound(Dpi / MetresPerInch);
    page.setDotsPerMeterX(dotsPerMetre);
    page.setDotsPerMeterY(dotsPerMetre);
    const QFont font(QStringLiteral("Arial"), 72);
    const TOverhangs overhangs = MeasureOverhangs(font, CodePage::Default, page);
    const QFontMetrics metrics(font, &page);
    // The hook of "j" reaches left of where the pen stands; "a" starts right of it.
    ASSERT_LT(metrics.leftBearing(QLatin1Char('j')), 0);
    EXPECT_EQ(-metrics.leftBearing(QLatin1Char('j')), overhangs['j']);
    EXPECT_EQ(0, overhangs['a']);
    for (int overhang : overhangs)
        EXPECT_GE(overhang, 0);
}
