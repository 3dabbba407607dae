#include "core/Unit_Constants.h"
#include "core/Unit_GlobalSettings.h"
#include "grid/WordsGrid.h"
#include "support/WordListFixtures.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

const QColor Base(255, 255, 255);
const QColor Button(200, 200, 200);
const QColor Highlight(0, 0, 200);
const QColor HighlightedText(250, 250, 0);
const QColor Text(0, 0, 0);
const QColor Light(240, 240, 240);
const QColor Dark(100, 100, 100);
const QColor Grey(128, 128, 128);
const QColor Red(255, 102, 102);
const QColor Green(115, 230, 115);
const QColor Black(0, 0, 0);

class WordsGridDraw : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetDefaultSettings();
        QPalette colors = Grid.palette();
        colors.setColor(QPalette::Base, Base);
        colors.setColor(QPalette::Button, Button);
        colors.setColor(QPalette::Highlight, Highlight);
        colors.setColor(QPalette::HighlightedText, HighlightedText);
        colors.setColor(QPalette::Text, Text);
        colors.setColor(QPalette::Light, Light);
        colors.setColor(QPalette::Dark, Dark);
        Grid.setPalette(colors);
        Grid.resize(1000, 400);
        Grid.SetWordList(TListBuilder().Languages("En", 0, "Nederlands", 0).Words(8, "").Take());
        List = Grid.GetWordList();
    }

    QColor Pixel(int x, int y) { return Image.pixelColor(x, y); }
    void Render() { Image = Grid.viewport()->grab().toImage(); }
    QRect Cell(int kind, int row) const { return Grid.CellRect(Grid.ColumnOfKind(kind), row); }

    // The cell as it must look: its background with text drawn at an origin in a font.
    QImage Expected(const QRect &cell, const QColor &background, const QFont &font, QPoint origin,
                    const QString &text) const
    {
        QImage expected(cell.size(), QImage::Format_ARGB32_Premultiplied);
        expected.fill(background);
        QPainter painter(&expected);
        painter.setFont(font);
        painter.setPen(Text);
        painter.drawText(QRect(origin, cell.size()),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
        return expected;
    }

    // Compares the inside of a cell, one pixel in from each edge.
    bool SameInside(const QRect &cell, const QImage &expected) const
    {
        for (int y = 1; y < cell.height() - 1; ++y)
            for (int x = 1; x < cell.width() - 1; ++x)
                if (Image.pixel(cell.left() + x, cell.top() + y) != expected.pixel(x, y))
                    return false;
        return true;
    }

    TNumberedPack Pack;
    TWordsGrid Grid;
    TWordList *List = nullptr;
    QImage Image;
};

} // namespace

TEST_F(WordsGridDraw, HeadersAreDrawnInTheDefaultFontWithRaisedEdges)
{
    Render();
    const QFont font = DefaultFont.toQFont();
    const QRect level1 = Cell(ckLevel1, 0);
    EXPECT_EQ(level1.height(), 18);
    EXPECT_TRUE(SameInside(level1, Expected(level1, Button, font, {2, 2}, "En->Ned")));
    EXPECT_FALSE(SameInside(level1, Expected(level1, Button, font, {2, 2}, "En->Nederlands")));
    const QRect level2 = Cell(ckLevel2, 0);
    EXPECT_TRUE(SameInside(level2, Expected(level2, Button, font, {2, 2}, "Ned->En")));
    const QRect context = Cell(ckContext, 0);
    EXPECT_TRUE(SameInside(
            context,
            Expected(context, Button, font, {2, 2}, NumberedQText(TEntry::ContextHeader))));
    const QRect score = Cell(ckScore, 0);
    EXPECT_TRUE(SameInside(
            score, Expected(score, Button, font, {2, 2}, NumberedQText(TEntry::ScoreHeader))));

    // Light left and top, then dark right and bottom over the corners.
    EXPECT_EQ(Pixel(context.left(), context.top()), Light);
    EXPECT_EQ(Pixel(context.left() + 5, context.top()), Light);
    EXPECT_EQ(Pixel(context.left(), context.bottom()), Dark);
    EXPECT_EQ(Pixel(context.right(), context.top()), Dark);
    EXPECT_EQ(Pixel(context.right(), context.bottom()), Dark);
    const QRect rowHeader = Grid.CellRect(0, 3);
    EXPECT_EQ(Pixel(rowHeader.left() + 5, rowHeader.top() + 5), Button);
    EXPECT_EQ(Pixel(rowHeader.left(), rowHeader.top() + 5), Light);
}

TEST_F(WordsGridDraw, WordTextIsDecodedWithTheCodePageOfItsColumnsFont)
{
    List->SetForFont(std::make_unique<TListFont>(TListFont{"Arial", 204, 12}));
    Grid.ApplyFonts();
    List->SetForWord(0, "\xE0\xE1");
    List->SetLesson(0, "\xE0\xE1");
    Render();
    QLineEdit measure;
    measure.setFrame(false);
    const QFont russian = TListFont{"Arial", 204, 12}.toQFont();
    measure.setFont(russian);
    const int d = Grid.DefaultRowHeight();
    const int top = 2 + (d - measure.sizeHint().height()) / 2;
    const QRect word = Cell(ckForWord, 1);
    EXPECT_TRUE(SameInside(word, Expected(word, Base, russian, {2, top}, QString::fromUtf8("аб"))));
    EXPECT_FALSE(
            SameInside(word, Expected(word, Base, russian, {2, top}, QString::fromUtf8("àá"))));
    // The lesson is a DEFAULT text, in the default font, whatever the foreign font.
    const QRect lesson = Cell(ckLesson, 1);
    const int lessonTop = 2 + (d - 18) / 2;
    EXPECT_TRUE(SameInside(lesson,
                           Expected(lesson, Base, DefaultFont.toQFont(), {2, lessonTop},
                                    QString::fromUtf8("àá"))));
}

TEST_F(WordsGridDraw, LevelsShowZeroToThreeFilledSquares)
{
    for (int level = 0; level < 4; ++level)
        List->SetLevel1(level, static_cast<uint8_t>(level));
    Render();
    const int m = (Grid.DefaultRowHeight() - 7) / 2;
    for (int level = 0; level < 4; ++level) {
        const QRect cell = Cell(ckLevel1, level + 1);
        for (int square = 0; square < 3; ++square) {
            const int x = cell.left() + 16 + 10 * square;
            const int y = cell.top() + m;
            const QColor outline = level > 0 ? Grey : Base;
            EXPECT_EQ(Pixel(x, y), outline) << level << " " << square;
            EXPECT_EQ(Pixel(x + 6, y + 6), outline) << level << " " << square;
            EXPECT_EQ(Pixel(x + 7, y + 3), Base) << "squares are 7 px wide";
            EXPECT_EQ(Pixel(x + 3, y + 3), square < level ? Grey : Base) << level << " " << square;
        }
    }
}

TEST_F(WordsGridDraw, OneDirectionShowsAFullHeightBarColouredByTheRequiredScore)
{
    // Word 1 reaches the required score exactly (3 of 5), word 2 falls one short.
    List->SetLevel1(0, 1);
    List->SetCount1(0, 5);
    List->SetHistory1(0, 0b00111);
    List->SetScore1(0, 10);
    List->SetLevel2(1, 2);
    List->SetCount2(1, 5);
    List->SetHistory2(1, 0b00011);
    Render();
    const int m = (Grid.DefaultRowHeight() - 14) / 2;
    const QRect green = Cell(ckScore, 1);
    const int top = green.top() + m;
    const int bottom = green.top() + green.height() - m;
    EXPECT_EQ(Pixel(green.left() + 4, top), Green);
    EXPECT_EQ(Pixel(green.left() + 34, bottom - 1), Green) << "52 * 3 / 5 = 31 px of bar";
    EXPECT_EQ(Pixel(green.left() + 36, top + 3), Base);
    // A score above the level's threshold puts the mark at the bar's end, never beyond.
    const int mark = green.left() + 4 + 52 - 1;
    EXPECT_EQ(Pixel(mark, top - 1), Black);
    EXPECT_EQ(Pixel(mark, bottom), Black);
    EXPECT_EQ(Pixel(mark, top + 3), Black);
    EXPECT_EQ(Pixel(mark + 1, top + 3), Base);

    const QRect red = Cell(ckScore, 2);
    EXPECT_EQ(Pixel(red.left() + 10, red.top() + m + 3), Red);
    EXPECT_EQ(Pixel(red.left() + 4, red.top() + m - 1), Black) << "no right answers: mark at 0";
    EXPECT_EQ(Pixel(red.left() + 30, red.top() + m + 3), Base);
}

TEST_F(WordsGridDraw, TwoDirectionsShowTwoBarsInOneFrame)
{
    List->SetLevel1(0, 1);
    List->SetLevel2(0, 1);
    List->SetCount1(0, 5);
    List->SetHistory1(0, 0b11111);
    List->SetScore1(0, 1);
    List->SetCount2(0, 5);
    List->SetHistory2(0, 0b00001);
    Render();
    const QRect cell = Cell(ckScore, 1);
    const int m = (Grid.DefaultRowHeight() - 14) / 2;
    const int top = cell.top() + m;
    const int bottom = cell.top() + cell.height() - m;
    EXPECT_EQ(Pixel(cell.left() + 40, top), Red) << "the frame is red unless both reach it";
    EXPECT_EQ(Pixel(cell.left() + 40, bottom - 1), Red);
    EXPECT_EQ(Pixel(cell.left() + 20, top + 1), Green);
    EXPECT_EQ(Pixel(cell.left() + 54, top + 6), Green) << "the upper bar is 50 px";
    EXPECT_EQ(Pixel(cell.left() + 20, top + 7), Base);
    EXPECT_EQ(Pixel(cell.left() + 10, top + 8), Red) << "the lower bar is 10 px";
    EXPECT_EQ(Pixel(cell.left() + 15, top + 8), Base);
    EXPECT_EQ(Pixel(cell.left() + 29, top - 1), Black) << "1 of 2: the mark halfway";
    EXPECT_EQ(Pixel(cell.left() + 29, top + 6), Black);
    EXPECT_EQ(Pixel(cell.left() + 29, top + 8), Base);
    EXPECT_EQ(Pixel(cell.left() + 4, bottom), Black);

    Grid.SelectRows(1, false, false);
    Render();
    EXPECT_EQ(Pixel(cell.left() + 40, top), HighlightedText);
    EXPECT_EQ(Pixel(cell.left() + 20, top + 1), HighlightedText);
    EXPECT_EQ(Pixel(cell.left() + 20, top + 7), Highlight);
    EXPECT_EQ(Pixel(cell.left() + 29, top - 1), HighlightedText);
}

TEST_F(WordsGridDraw, ScoreCellIsEmptyWithBothLevelsOffAndSurvivesADamagedLevel)
{
    List->SetLevel1(1, 7);
    List->SetScore1(1, 3);
    Render();
    const QRect empty = Cell(ckScore, 1);
    for (int y = empty.top(); y <= empty.bottom(); ++y)
        for (int x = empty.left(); x <= empty.right(); ++x)
            ASSERT_EQ(Pixel(x, y), Base) << x << "," << y;
    const QRect damaged = Cell(ckScore, 2);
    const int m = (Grid.DefaultRowHeight() - 14) / 2;
    EXPECT_EQ(Pixel(damaged.left() + 55, damaged.top() + m - 1), Black);
}

TEST_F(WordsGridDraw, SoundCellCentresItsBitmapAndTheSelectedRowUsesTheOther)
{
    QPixmap normal(16, 16);
    normal.fill(Qt::red);
    QPixmap inverse(16, 16);
    inverse.fill(Qt::green);
    Grid.SetSoundBmp(normal);
    Grid.SetSoundInvBmp(inverse);
    List->SetSound(0, 0, 10);
    List->SetSound(1, 0, 10);
    Grid.SelectRows(2, false, false);
    Render();
    const QRect cell = Cell(ckSound, 1);
    const int x = cell.left() + (cell.width() - 16) / 2;
    const int y = cell.top() + (cell.height() - 16) / 2;
    EXPECT_EQ(Pixel(x, y), QColor(Qt::red));
    EXPECT_EQ(Pixel(x + 15, y + 15), QColor(Qt::red));
    EXPECT_EQ(Pixel(x - 1, y), Base);
    EXPECT_EQ(Pixel(x + 16, y + 15), Base);
    const QRect selected = Cell(ckSound, 2);
    EXPECT_EQ(Pixel(x, selected.top() + (selected.height() - 16) / 2), QColor(Qt::green));
    const QRect without = Cell(ckSound, 3);
    EXPECT_EQ(Pixel(x + 8, without.top() + 8), Base);
}

TEST_F(WordsGridDraw, SelectedRowsAreHighlightedAndTheAppendRowShowsNothing)
{
    for (int i = 0; i < 8; ++i) {
        List->SetForWord(i, "word");
        List->SetLevel1(i, 3);
        List->SetLevel2(i, 3);
    }
    Grid.SelectCellAt(1, 3);
    Render();
    const QRect current = Cell(ckForWord, 3);
    EXPECT_EQ(Pixel(current.right() - 1, current.bottom() - 1), Base) << "a current cell is plain";
    Grid.SelectRows(3, false, false);
    Grid.SelectRows(4, true, false);
    Render();
    for (int row : {3, 4})
        for (int kind = ckForWord; kind <= ckScore; ++kind) {
            const QRect cell = Cell(kind, row);
            EXPECT_EQ(Pixel(cell.right(), cell.bottom()), Highlight) << kind << " " << row;
        }
    EXPECT_EQ(Pixel(current.right(), Cell(ckForWord, 5).bottom()), Base);

    ASSERT_EQ(Grid.RowCount(), 10);
    for (int kind = ckForWord; kind <= ckScore; ++kind) {
        const QRect cell = Cell(kind, 9);
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x)
                ASSERT_EQ(Pixel(x, y), Base) << kind;
    }
}

TEST_F(WordsGridDraw, WithoutAListOnlyBackgroundsAndEdgesAreDrawn)
{
    TWordsGrid empty;
    empty.setPalette(Grid.palette());
    empty.resize(600, 200);
    empty.show();
    const QImage image = empty.viewport()->grab().toImage();
    const QRect header = empty.CellRect(1, 0);
    EXPECT_EQ(image.pixelColor(header.center()), Button);
    const QRect cell = empty.CellRect(1, 1);
    EXPECT_EQ(image.pixelColor(cell.center()), Base);
}
