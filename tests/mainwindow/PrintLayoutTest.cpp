// The print layout and paging, the column shares of the preview and the printing's pure
// functions, headless: a fake measurer makes the layout exact.

#include "core/PrintWord.h"
#include "core/Unit_GlobalSettings.h"
#include "core/Unit_LanguagePack.h"
#include "core/Unit_WordList.h"
#include "platform/CodePage.h"
#include "print/Unit_Print.h"
#include "print/Unit_PrintLayout.h"
#include "support/StoreFixture.h"
#include "support/WordListFixtures.h"

#include <QFontInfo>
#include <QImage>
#include <QPrintDialog>
#include <QPrinter>
#include <array>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

// Every byte 10 wide unless told otherwise; every font 8 high above the baseline, 10 in all.
class TFakeMeasurer : public ITextMeasurer
{
public:
    int Ascent(int font) const override { return Ascents.count(font) ? Ascents.at(font) : 8; }
    int Height(int font) const override { return Heights.count(font) ? Heights.at(font) : 10; }
    int Width(int, std::string_view bytes) const override
    {
        ++Measured;
        int width = 0;
        for (const char byte : bytes)
            width += Widths.count(byte) ? Widths.at(byte) : 10;
        return width;
    }
    bool IsLeadByte(int, unsigned char byte) const override { return LeadBytes.count(byte) > 0; }

    std::map<int, int> Ascents;
    std::map<int, int> Heights;
    std::map<char, int> Widths;
    std::set<unsigned char> LeadBytes;
    mutable int Measured = 0;
};

std::string Wrapped(std::string text, int maxWidth, const ITextMeasurer &measurer)
{
    WrapText(text, maxWidth, measurer, 0);
    return text;
}

// A sheet of 8.5 x 11 inches at 100 dots per inch without offsets: margins of 80, gaps of 20,
// padding of 8; with a heading 12 high the rows run from baseline 120 down to 988.
TPrinterMetrics Letter100()
{
    TPrinterMetrics metrics;
    metrics.LogPixelsX = 100;
    metrics.LogPixelsY = 100;
    metrics.PhysicalWidth = 850;
    metrics.PhysicalHeight = 1100;
    return metrics;
}

std::array<TPrintColumn, 5> Columns(std::initializer_list<TPrintColumn> used)
{
    std::array<TPrintColumn, 5> columns{};
    size_t i = 0;
    for (const TPrintColumn &column : used)
        columns[i++] = column;
    return columns;
}

std::string Lines(int count)
{
    std::string text = "1";
    for (int i = 2; i <= count; ++i)
        text += "\r\n" + std::to_string(i % 10);
    return text;
}

class PrintLayout : public ::testing::Test
{
protected:
    PrintLayout() { measurer.Heights[HeadingFont] = 12; }

    TPrintLayout Layout() const { return TPrintLayout(List, columns, metrics, measurer); }

    TFakeMeasurer measurer;
    TPrinterMetrics metrics = Letter100();
    std::array<TPrintColumn, 5> columns = Columns({{pkForWord, 1.0}});
    std::unique_ptr<TWordList> owned = TListBuilder().Languages("Frans", 0, "Nederlands", 0).Take();
    TWordList &List = *owned;
};

// The sum of the used shares as the settings check adds them, and whether the slots are as the
// settings store keeps them: used slots first, each kind once, every share within 0..1.
double ShareSum(const std::array<TPrintColumn, 5> &columns)
{
    double sum = 0.0;
    for (const TPrintColumn &column : columns) {
        if (column.Kind != pkUnused)
            sum += column.Width;
    }
    return sum;
}

bool SlotsValid(const std::array<TPrintColumn, 5> &columns)
{
    std::set<int> kinds;
    bool unused = false;
    for (const TPrintColumn &column : columns) {
        if (column.Kind == pkUnused) {
            unused = true;
            continue;
        }
        if (unused || !kinds.insert(column.Kind).second || column.Width < 0.0 || column.Width > 1.0)
            return false;
    }
    return !kinds.empty() && ShareSum(columns) == 1.0;
}

} // namespace

TEST(PrintRounding, HalvesGoToTheEvenNeighbour)
{
    EXPECT_EQ(RoundEven(6.5), 6);
    EXPECT_EQ(RoundEven(7.5), 8);
    EXPECT_EQ(RoundEven(-2.5), -2);
    EXPECT_EQ(RoundEven(2.4999), 2);
    EXPECT_EQ(RoundEven(130.0), 130);
    EXPECT_EQ(MulDiv(10, 300, 72), 42);
    EXPECT_EQ(MulDiv(8, 1200, 72), 133);
    EXPECT_EQ(MulDiv(3, 12, 72), 1);
    EXPECT_EQ(MulDiv(1, 1, 0), 0);
}

TEST(WrapText, TheBreakCharacterStaysOnTheUpperLine)
{
    TFakeMeasurer measurer;
    EXPECT_EQ(Wrapped("aaa bbb", 45, measurer), "aaa \r\nbbb");
    EXPECT_EQ(Wrapped("one-two/three", 55, measurer), "one-\r\ntwo/\r\nthree");
    EXPECT_EQ(Wrapped("a_b\\c", 25, measurer), "a_\r\nb\\\r\nc");
}

TEST(WrapText, ARunWithoutBreaksIsCutAtTheLastFit)
{
    TFakeMeasurer measurer;
    EXPECT_EQ(Wrapped("abcdefgh", 35, measurer), "abc\r\ndef\r\ngh");
    // Exactly the width fits.
    EXPECT_EQ(Wrapped("abcdef", 30, measurer), "abc\r\ndef");
    EXPECT_EQ(Wrapped("abc", 30, measurer), "abc");
}

TEST(WrapText, LeadingSpacesAreKept)
{
    TFakeMeasurer measurer;
    EXPECT_EQ(Wrapped("  abc", 100, measurer), "  abc");
    EXPECT_EQ(Wrapped("abcd  ef", 40, measurer), "abcd\r\n  ef");
}

TEST(WrapText, ALeadByteMovesToTheNextLine)
{
    TFakeMeasurer measurer;
    measurer.LeadBytes = {0x81};
    EXPECT_EQ(Wrapped("ab\x81\x40"
                      "cd",
                      30, measurer),
              "ab\r\n\x81\x40"
              "c\r\nd");
    // A trail byte that looks like a lead byte stays with its pair.
    EXPECT_EQ(Wrapped("\x81\x81\x81\x81x", 30, measurer), "\x81\x81\r\n\x81\x81x");
}

TEST(WrapText, EndsForACharacterWiderThanTheColumn)
{
    TFakeMeasurer measurer;
    measurer.Widths['W'] = 100;
    EXPECT_EQ(Wrapped("WWa", 50, measurer), "W\r\nW\r\na");
    EXPECT_EQ(Wrapped("aW", 50, measurer), "a\r\nW");
}

TEST(WrapText, EndsForNoWidthAtAll)
{
    TFakeMeasurer measurer;
    measurer.LeadBytes = {0x81};
    EXPECT_EQ(Wrapped("abc", 0, measurer), "a\r\nb\r\nc");
    EXPECT_EQ(Wrapped("ab", -5, measurer), "a\r\nb");
    // A double-byte character goes whole, even alone on a line.
    EXPECT_EQ(Wrapped("\x81\x40z", 0, measurer), "\x81\x40\r\nz");
}

TEST(WrapText, ATrailingLoneLeadByteIsOneCharacter)
{
    TFakeMeasurer measurer;
    measurer.LeadBytes = {0x81};
    EXPECT_EQ(Wrapped("ab\x81", 25, measurer), "ab\r\n\x81");
    EXPECT_EQ(Wrapped("\x81\x40\x81", 0, measurer), "\x81\x40\r\n\x81");
    EXPECT_EQ(Wrapped("ab\x81", 30, measurer), "ab\x81");
}

TEST(WrapText, ALongTextIsMeasuredByHalvingNotCharacterByCharacter)
{
    TFakeMeasurer measurer;
    std::string text(2000, 'x');
    WrapText(text, 1000, measurer, 0);
    EXPECT_EQ(LineCount(text), 20);
    EXPECT_LT(measurer.Measured, 400);
}

TEST(WrapText, LinesAreCountedAtEveryLineEnd)
{
    EXPECT_EQ(LineCount(""), 1);
    EXPECT_EQ(LineCount("a\r\nb"), 2);
    EXPECT_EQ(LineCount("a\rb\nc\r\n"), 4);
    const std::vector<std::string_view> lines = SplitLines("a\r\nb\rc\n");
    EXPECT_EQ(lines, (std::vector<std::string_view>{"a", "b", "c", ""}));
}

TEST(LeadBytes, FollowTheColumnFontsCodePage)
{
    for (int byte = 0; byte < 256; ++byte) {
        const auto b = static_cast<unsigned char>(byte);
        EXPECT_EQ(IsLeadByteOf(932, b),
                  (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC))
                << byte;
        for (int codePage : {936, 949, 950})
            EXPECT_EQ(IsLeadByteOf(codePage, b), byte >= 0x81 && byte <= 0xFE)
                    << codePage << " " << byte;
        EXPECT_EQ(IsLeadByteOf(1361, b),
                  (byte >= 0x84 && byte <= 0xD3) || (byte >= 0xD8 && byte <= 0xDE)
                          || (byte >= 0xE0 && byte <= 0xF9))
                << byte;
        for (int codePage : {1252, 1250, 1251, 1255, 874})
            EXPECT_FALSE(IsLeadByteOf(codePage, b));
    }
    auto list = TListBuilder().Languages("Japans", 128, "Nederlands", 0).Take();
    const TFontMeasurer measurer(*list, 96);
    EXPECT_TRUE(measurer.IsLeadByte(pkForWord, 0x81));
    EXPECT_TRUE(measurer.IsLeadByte(pkContext, 0xE0));
    EXPECT_FALSE(measurer.IsLeadByte(pkRefWord, 0x81));
    EXPECT_FALSE(measurer.IsLeadByte(pkLesson, 0x81));
}

TEST_F(PrintLayout, TheGeometryFollowsTheMarginsOffsetsAndGaps)
{
    EXPECT_EQ(Layout().Left(), 80);
    EXPECT_EQ(Layout().Width(), 690);
    EXPECT_EQ(Layout().FirstBaseline(), 120);
    EXPECT_EQ(Layout().Bottom(), 988);
    metrics.OffsetLeft = 25;
    metrics.OffsetTop = 30;
    metrics.GapRight = 15;
    metrics.GapBottom = 40;
    // Measured from the printable area; the page is the printable area.
    EXPECT_EQ(Layout().Left(), 55);
    EXPECT_EQ(Layout().Width(), 810 - 55 - 65);
    EXPECT_EQ(Layout().FirstBaseline(), 12 + 50 + 20 + 8);
    EXPECT_EQ(Layout().Bottom(), 1030 - 40 - 12 - 20);
}

TEST_F(PrintLayout, ARowWhoseHeightEqualsAvailableStillFits)
{
    TListBuilder(List).Word("a");
    TPrintWord word;
    // Available = 988 - (y - 8); one line is 10 high.
    EXPECT_EQ(Layout().LayoutWord(word, 0, 8, 986), 10);
    EXPECT_EQ(word.ForWord, "a");
    EXPECT_EQ(Layout().LayoutWord(word, 0, 8, 987), -1);
}

TEST_F(PrintLayout, TheNextRowStartsPageTwoAtTheSameFirstBaseline)
{
    TListBuilder(List).Words(100, "w#");
    const std::vector<TPageInfo> pages = Layout().Paginate(0, 99);
    ASSERT_EQ(pages.size(), 2u);
    // Baselines 120, 133, ... up to 986: 67 rows.
    ASSERT_EQ(pages[0].Lines.size(), 67u);
    EXPECT_EQ(pages[0].BaseLines[66].Y, 120 + 66 * 13);
    EXPECT_EQ(pages[1].Lines.size(), 33u);
    EXPECT_EQ(pages[1].BaseLines[0].Y, 120);
    EXPECT_EQ(pages[1].Lines[0].ForWord, "w67");
    EXPECT_EQ(pages[0].Lines.size(), pages[0].BaseLines.size());
}

TEST_F(PrintLayout, ThePitchIsThirteenTenthsOfTheRowHalvesToEven)
{
    TListBuilder(List).Word(Lines(10)).Word("b");
    std::vector<TPageInfo> pages = Layout().Paginate(0, 1);
    ASSERT_EQ(pages[0].BaseLines.size(), 2u);
    EXPECT_EQ(pages[0].BaseLines[1].Y - pages[0].BaseLines[0].Y, 130);

    measurer.Heights[pkForWord] = 5;
    measurer.Ascents[pkForWord] = 4;
    pages = Layout().Paginate(1, 1);
    EXPECT_EQ(pages[0].BaseLines[0].Y, 12 + 80 + 20 + 4);
    TListBuilder(List).Word("c");
    pages = Layout().Paginate(1, 2);
    EXPECT_EQ(pages[0].BaseLines[1].Y - pages[0].BaseLines[0].Y, 6);
}

TEST_F(PrintLayout, ARowHigherThanAPageStandsAloneOnItsPage)
{
    columns = Columns({{pkForWord, 0.5}, {pkRefWord, 0.5}});
    TListBuilder(List).Word("before", "x").Word(Lines(200), "beside").Word("after", "y");
    const std::vector<TPageInfo> pages = Layout().Paginate(0, 2);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0].Lines.size(), 1u);
    ASSERT_EQ(pages[1].Lines.size(), 1u);
    EXPECT_EQ(pages[1].BaseLines[0].Y, 120);
    // CR and LF are measured like other characters: the lines are wrapped once more.
    EXPECT_GE(LineCount(pages[1].Lines[0].ForWord), 200);
    // Alone on its page it is filled in every column.
    EXPECT_EQ(pages[1].Lines[0].RefWord, "beside");
    EXPECT_EQ(pages[2].Lines[0].ForWord, "after");
}

// Measures as the measurer it wraps, but never on another thread.
class TOneThreadMeasurer : public ITextMeasurer
{
public:
    explicit TOneThreadMeasurer(const ITextMeasurer &measurer)
        : Measurer(measurer)
    { }
    int Ascent(int font) const override { return Measurer.Ascent(font); }
    int Height(int font) const override { return Measurer.Height(font); }
    int Width(int font, std::string_view bytes) const override
    {
        return Measurer.Width(font, bytes);
    }
    bool IsLeadByte(int font, unsigned char byte) const override
    {
        return Measurer.IsLeadByte(font, byte);
    }
    size_t LongestFit(int font, std::string_view bytes, int maxWidth) const override
    {
        return Measurer.LongestFit(font, bytes, maxWidth);
    }

private:
    const ITextMeasurer &Measurer;
};

// The fake measures, copied for every thread.
class TCopiedFakeMeasurer : public TFakeMeasurer
{
public:
    bool HasThreadCopies() const override { return true; }
    std::unique_ptr<ITextMeasurer> ThreadCopy() const override
    {
        return std::make_unique<TCopiedFakeMeasurer>(*this);
    }
};

// A long list is laid out on several threads, each measuring with a copy made on it; the pages
// are those of the same list laid out on one thread, down to every baseline and wrapped line, with
// rows that wrap, rows that start a page and rows higher than a page alone on theirs.
TEST_F(PrintLayout, ALongListGivesThePagesItGivesOnOneThread)
{
    columns = Columns({{pkForWord, 0.3}, {pkRefWord, 0.3}, {pkContext, 0.4}});
    std::mt19937 random(99);
    TListBuilder words(List);
    for (int i = 0; i < 30000; ++i) {
        std::string context;
        for (unsigned n = random() % 12; n > 0; --n)
            context += "mot\xE9 " + std::to_string(random() % 1000) + " ";
        if (i % 4999 == 7)
            context = Lines(300);
        words.Word("w" + std::to_string(i), std::to_string(random())).Context(context);
    }
    TCopiedFakeMeasurer fake;
    fake.Heights[HeadingFont] = 12;
    const TFontMeasurer fonts(List, 300);
    const TOneThreadMeasurer oneFake(fake), oneFont(fonts);
    const struct
    {
        const ITextMeasurer &Threads, &One;
        const char *Name;
    } cases[]{{fake, oneFake, "fake measures"}, {fonts, oneFont, "the fonts at 300 dpi"}};
    for (const auto &test : cases) {
        SCOPED_TRACE(test.Name);
        const std::vector<TPageInfo> many
                = TPrintLayout(List, columns, metrics, test.Threads).Paginate(2, List.Count() - 1);
        const std::vector<TPageInfo> one
                = TPrintLayout(List, columns, metrics, test.One).Paginate(2, List.Count() - 1);
        ASSERT_EQ(many.size(), one.size());
        size_t rows = 0, wrong = 0, alone = 0;
        for (size_t page = 0; page < one.size(); ++page) {
            ASSERT_EQ(many[page].Lines.size(), one[page].Lines.size()) << page;
            ASSERT_EQ(many[page].BaseLines.size(), one[page].Lines.size()) << page;
            alone += LineCount(one[page].Lines[0].Context) >= 300 ? 1 : 0;
            for (size_t row = 0; row < one[page].Lines.size(); ++row, ++rows) {
                const TPrintWord &a = many[page].Lines[row], &b = one[page].Lines[row];
                wrong += a.ForWord != b.ForWord || a.RefWord != b.RefWord || a.Context != b.Context
                                || many[page].BaseLines[row].Y != one[page].BaseLines[row].Y
                        ? 1
                        : 0;
            }
        }
        EXPECT_EQ(rows, 29998u);
        EXPECT_EQ(wrong, 0u);
        EXPECT_EQ(alone, 6u);
        EXPECT_EQ(one[1].Lines[0].ForWord, "w" + std::to_string(2 + one[0].Lines.size()));
    }
}

TEST_F(PrintLayout, NoWordsGiveOneEmptyPage)
{
    const std::vector<TPageInfo> pages = Layout().Paginate(0, -1);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_TRUE(pages[0].Lines.empty());
    TListBuilder(List).Words(3, "w");
    EXPECT_EQ(Layout().Paginate(2, 1).size(), 1u);
}

TEST_F(PrintLayout, ColumnsPastAvailableAreNotStored)
{
    columns = Columns({{pkForWord, 0.4}, {pkRefWord, 0.3}, {pkContext, 0.3}});
    TListBuilder(List).Word("a", Lines(200)).Context("context");
    TPrintWord word;
    EXPECT_EQ(Layout().LayoutWord(word, 0, 8, 120), -1);
    EXPECT_EQ(word.ForWord, "a");
    EXPECT_GE(LineCount(word.RefWord), 200);
    EXPECT_EQ(word.Context, "");
    // Columns that are not shown are never filled.
    TListBuilder(List).Word("b", "c").PartOfSpeech("zn").Context("ctx");
    EXPECT_EQ(Layout().LayoutWord(word, 1, 8, 120), 10);
    EXPECT_EQ(word.PartOfSpeech, "");
    EXPECT_EQ(word.Context, "ctx");
}

TEST_F(PrintLayout, EachColumnWrapsToItsShareLessThePadding)
{
    // W 690: column 0 from 80 to 80 + 345 - 8, column 1 from 425 to 425 + 345 - 8.
    columns = Columns({{pkForWord, 0.5}, {pkRefWord, 0.5}});
    TListBuilder(List).Word(std::string(40, 'a'), std::string(40, 'b'));
    TPrintWord word;
    EXPECT_EQ(Layout().LayoutWord(word, 0, 8, 120), 20);
    EXPECT_EQ(word.ForWord, std::string(33, 'a') + "\r\n" + std::string(7, 'a'));
    EXPECT_EQ(word.RefWord, std::string(33, 'b') + "\r\n" + std::string(7, 'b'));
    // A taller font in a later column: the heights line up on the largest ascent.
    measurer.Ascents[pkRefWord] = 20;
    measurer.Heights[pkRefWord] = 25;
    EXPECT_EQ(Layout().MaxAscent(), 20);
    EXPECT_EQ(Layout().LayoutWord(word, 0, 20, 200), 50);
}

TEST(PrintFonts, PartOfSpeechAndLessonAreAlwaysArialEight)
{
    TWordList list;
    list.InitLanguages("Russisch", 204, "Times New Roman", 20, "Grieks", 161, "Courier New", 14);
    for (int kind : {pkPartOfSpeech, pkLesson}) {
        const TPrintFontInfo info = PrintFontInfo(list, kind);
        EXPECT_EQ(info.Family, QStringLiteral("Arial"));
        EXPECT_EQ(info.PointSize, 8);
        EXPECT_FALSE(info.Bold);
        EXPECT_EQ(info.CodePage, 1252);
    }
    const TPrintFontInfo heading = PrintFontInfo(list, HeadingFont);
    EXPECT_EQ(heading.Family, QStringLiteral("Arial"));
    EXPECT_EQ(heading.PointSize, 10);
    EXPECT_TRUE(heading.Bold);
    for (int kind : {pkForWord, pkContext}) {
        const TPrintFontInfo info = PrintFontInfo(list, kind);
        EXPECT_EQ(info.Family, QStringLiteral("Times New Roman"));
        EXPECT_EQ(info.PointSize, 20);
        EXPECT_EQ(info.CodePage, 1251);
    }
    const TPrintFontInfo ref = PrintFontInfo(list, pkRefWord);
    EXPECT_EQ(ref.Family, QStringLiteral("Courier New"));
    EXPECT_EQ(ref.PointSize, 14);
    EXPECT_EQ(ref.CodePage, 1253);

    // Measured at the printer's resolution: 8 pt at 1200 dpi is 133 pixels.
    const TFontMeasurer measurer(list, 1200);
    EXPECT_EQ(measurer.Height(pkLesson),
              QFontMetrics(MakePrintFont(PrintFontInfo(list, pkLesson), 133)).height());
}

TEST(PrintFonts, TheBoundIsNeverBelowTheMeasuredWidth)
{
    TWordList list;
    list.InitLanguages("Frans", 0, "Arial", 12, "Vietnamees", 163, "Arial", 10);
    const TFontMeasurer measurer(list, 1200);
    const std::vector<std::string> texts{"AVAWAY To Ty Yo", "fi fl ffi office",
                                         "Wat is dat? \xE9\xE8\xEA\xEB\xF1 \x80 \x99",
                                         "a \xCC\xD2 combining", "\x9C\x8C \x96\x97 x"};
    for (int font = 0; font < PrintFontCount; ++font) {
        for (const std::string &text : texts) {
            for (size_t length = 1; length <= text.size(); ++length) {
                const std::string_view part = std::string_view(text).substr(0, length);
                EXPECT_GE(measurer.WidthBound(font, part), measurer.Width(font, part))
                        << font << " '" << part << "'";
            }
        }
    }
}

// The measurer adds up the characters' own advances; the widths must be those Qt measures and
// draws with the printed font, and the longest fit what measuring every leading part one by one
// finds, pairs that other fonts kern, ligatures, accents and shaped text included.
TEST(PrintFonts, TheLongestFitIsTheLastLeadingPartThatFits)
{
    TWordList list;
    list.InitLanguages("Frans", 0, "Arial", 12, "Vietnamees", 163, "Times New Roman", 10);
    const TFontMeasurer measurer(list, 1200);
    QImage device(1, 1, QImage::Format_RGB32);
    device.setDotsPerMeterX(RoundEven(1200 / 0.0254));
    device.setDotsPerMeterY(RoundEven(1200 / 0.0254));
    const std::vector<std::string> texts{"AVAWAY To Ty Yo Wa", "office affine fjord",
                                         "le mot fran\xE7"
                                         "ais \xE9\xE8\xEA 12345",
                                         "a \xCC\xD2 combining \xDE\xEC", "iiiiiiiiiiWWWWWWWWW"};
    for (int font = 0; font < PrintFontCount; ++font) {
        for (const std::string &text : texts) {
            const TPrintFontInfo info = PrintFontInfo(list, font);
            const QFontMetrics qt(MakePrintFont(info, MulDiv(info.PointSize, 1200, 72)), &device);
            std::vector<int> widths{0};
            for (size_t length = 1; length <= text.size(); ++length) {
                const std::string_view part = std::string_view(text).substr(0, length);
                widths.push_back(measurer.Width(font, part));
                EXPECT_EQ(widths.back(),
                          qt.horizontalAdvance(CodePage::ToUnicode(part, info.CodePage)))
                        << font << " '" << part << "'";
            }
            std::vector<int> limits{-5, 0, 1, widths.back() + 1000};
            for (const int width : widths) {
                limits.push_back(width - 1);
                limits.push_back(width);
                limits.push_back(width + 1);
            }
            for (const int limit : limits) {
                size_t expected = 0;
                while (expected < text.size() && widths[expected + 1] <= limit)
                    ++expected;
                EXPECT_EQ(measurer.LongestFit(font, text, limit), expected)
                        << font << " '" << text << "' " << limit;
            }
        }
    }
}

TEST(PrintFonts, RealMetricsAtNinetySixDotsGiveStablePageCounts)
{
    const QFontInfo arial(QFont(QStringLiteral("Arial")));
    EXPECT_EQ(arial.family(), QStringLiteral("Liberation Sans"));
    auto list = TListBuilder()
                        .Languages("Frans", 0, "Nederlands", 0)
                        .Words(500, "mot #", "woord #")
                        .Take();
    for (int i = 0; i < list->Count(); i += 7)
        list->SetContext(i,
                         "un exemple assez long pour remplir deux lignes dans sa colonne "
                                 + std::to_string(i));
    TPrinterMetrics a4;
    a4.LogPixelsX = 96;
    a4.LogPixelsY = 96;
    a4.PhysicalWidth = 794;
    a4.PhysicalHeight = 1123;
    const std::array<TPrintColumn, 5> columns = TPrintSettings().Columns;
    const TFontMeasurer measurer(*list, 96);
    EXPECT_EQ(measurer.Height(HeadingFont), 15);
    const std::vector<TPageInfo> pages
            = TPrintLayout(*list, columns, a4, measurer).Paginate(0, 499);
    EXPECT_EQ(pages.size(), 15u);
    size_t rows = 0;
    for (const TPageInfo &page : pages)
        rows += page.Lines.size();
    EXPECT_EQ(rows, 500u);
    // The same measures give the same pages.
    const TFontMeasurer again(*list, 96);
    EXPECT_EQ(TPrintLayout(*list, columns, a4, again).Paginate(0, 499).size(), pages.size());
}

TEST(PrintColumns, AddingAFourthColumnScalesTheOthersToThreeQuarters)
{
    auto columns = Columns({{pkForWord, 0.4}, {pkRefWord, 0.3}, {pkContext, 0.3}});
    AddColumnShares(columns, pkLesson);
    EXPECT_DOUBLE_EQ(columns[0].Width, 0.3);
    EXPECT_DOUBLE_EQ(columns[1].Width, 0.225);
    EXPECT_DOUBLE_EQ(columns[2].Width, 0.225);
    EXPECT_EQ(columns[3].Kind, pkLesson);
    EXPECT_DOUBLE_EQ(columns[3].Width, 0.25);
    EXPECT_EQ(columns[4].Kind, pkUnused);
    EXPECT_TRUE(SlotsValid(columns));
}

TEST(PrintColumns, AddingKeepsAShareAtItsFloorAndScalesTheRestAgain)
{
    auto columns = Columns({{pkForWord, 0.1}, {pkRefWord, 0.45}, {pkContext, 0.45}});
    AddColumnShares(columns, pkPartOfSpeech);
    EXPECT_DOUBLE_EQ(columns[0].Width, 0.1);
    EXPECT_DOUBLE_EQ(columns[1].Width, 0.325);
    EXPECT_DOUBLE_EQ(columns[2].Width, 0.325);
    EXPECT_DOUBLE_EQ(columns[3].Width, 0.25);
    EXPECT_TRUE(SlotsValid(columns));
}

TEST(PrintColumns, RemovingMovesTheRestUpAndScalesThemToTheWhole)
{
    auto columns = Columns({{pkForWord, 0.4}, {pkRefWord, 0.4}, {pkContext, 0.2}});
    RemoveColumnShares(columns, 1);
    EXPECT_EQ(columns[0].Kind, pkForWord);
    EXPECT_EQ(columns[1].Kind, pkContext);
    EXPECT_DOUBLE_EQ(columns[0].Width, 0.4 / 0.6);
    EXPECT_DOUBLE_EQ(columns[1].Width, 0.2 / 0.6);
    EXPECT_EQ(columns[2].Kind, pkUnused);
    EXPECT_EQ(columns[2].Width, 0.0);
    EXPECT_TRUE(SlotsValid(columns));
}

TEST(PrintColumns, ResizingStopsAtATenthOnEitherSide)
{
    auto columns = Columns({{pkForWord, 0.4}, {pkRefWord, 0.3}, {pkContext, 0.3}});
    ResizeColumnShares(columns, 0, 50, 1000);
    EXPECT_DOUBLE_EQ(columns[0].Width, 0.1);
    EXPECT_DOUBLE_EQ(columns[1].Width, 0.6);
    EXPECT_DOUBLE_EQ(columns[2].Width, 0.3);
    ResizeColumnShares(columns, 0, 900, 1000);
    EXPECT_DOUBLE_EQ(columns[0].Width, 0.6);
    EXPECT_DOUBLE_EQ(columns[1].Width, 0.1);
    ResizeColumnShares(columns, 1, 250, 1000);
    EXPECT_DOUBLE_EQ(columns[1].Width, 0.25);
    EXPECT_DOUBLE_EQ(columns[2].Width, 0.15);
    EXPECT_TRUE(SlotsValid(columns));
    // The last column and a header without width change nothing.
    const auto before = columns;
    ResizeColumnShares(columns, 2, 10, 1000);
    ResizeColumnShares(columns, 0, 10, 0);
    for (size_t i = 0; i < columns.size(); ++i)
        EXPECT_EQ(columns[i].Width, before[i].Width);
}

TEST(PrintColumns, RandomChangesKeepTheSharesSummingToExactlyOne)
{
    std::mt19937 random(20240521);
    for (int run = 0; run < 3000; ++run) {
        auto columns = TPrintSettings().Columns;
        for (int step = 0; step < 25; ++step) {
            const int used = UsedColumns(columns);
            switch (random() % 4) {
            case 0: {
                std::vector<uint8_t> hidden;
                for (uint8_t kind = 0; kind < PrintKindCount; ++kind) {
                    bool shown = false;
                    for (int i = 0; i < used; ++i)
                        shown = shown || columns[static_cast<size_t>(i)].Kind == kind;
                    if (!shown)
                        hidden.push_back(kind);
                }
                if (!hidden.empty())
                    AddColumnShares(columns, hidden[random() % hidden.size()]);
                break;
            }
            case 1:
                if (used >= 2)
                    RemoveColumnShares(columns, static_cast<int>(random() % used));
                break;
            case 2:
                ResizeColumnShares(columns, static_cast<int>(random() % used),
                                   static_cast<int>(random() % 1200), 997);
                break;
            default:
                SwapColumns(columns, static_cast<int>(random() % used));
                break;
            }
            ASSERT_TRUE(SlotsValid(columns)) << "run " << run << " step " << step;
        }
    }
}

// The settings store keeps the columns through a restart only when they pass its check.
TEST(PrintColumns, ChangedColumnsSurviveARestart)
{
    TStoreDir store;
    SeedInstalledStore();
    std::vector<std::string> reports;
    SetSettingsErrorReporter([&](const std::string &text) { reports.push_back(text); });
    std::mt19937 random(7);
    for (int run = 0; run < 12; ++run) {
        SetDefaultSettings();
        auto &columns = PrintSettings.Columns;
        AddColumnShares(columns, pkForWord);
        RemoveColumnShares(columns, static_cast<int>(random() % 5));
        RemoveColumnShares(columns, static_cast<int>(random() % 4));
        ResizeColumnShares(columns, 0, static_cast<int>(random() % 600), 733);
        SwapColumns(columns, static_cast<int>(random() % 2));
        ResizeColumnShares(columns, 1, static_cast<int>(random() % 600), 641);
        const auto saved = columns;
        ASSERT_TRUE(SaveSettings());
        SetDefaultSettings();
        bool reset = false;
        ASSERT_TRUE(LoadSettings(reset));
        for (size_t i = 0; i < saved.size(); ++i) {
            EXPECT_EQ(PrintSettings.Columns[i].Kind, saved[i].Kind) << run;
            EXPECT_EQ(PrintSettings.Columns[i].Width, saved[i].Width) << run;
        }
    }
    EXPECT_TRUE(reports.empty());
    SetSettingsErrorReporter(nullptr);
    SetDefaultSettings();
    Language.clear();
}

TEST(PrintCheck, TheSamePagePrints)
{
    EXPECT_TRUE(PageMatches(FallbackPrinterMetrics(), FallbackPrinterMetrics()));
}

TEST(PrintCheck, LandscapeOrAnotherPaperIsAChange)
{
    const TPrinterMetrics portrait = FallbackPrinterMetrics();
    TPrinterMetrics landscape = portrait;
    std::swap(landscape.PhysicalWidth, landscape.PhysicalHeight);
    EXPECT_FALSE(PageMatches(portrait, landscape));
    EXPECT_FALSE(PageMatches(landscape, portrait));
    TPrinterMetrics letter = portrait;
    letter.PhysicalWidth = 10200;
    letter.PhysicalHeight = 13200;
    EXPECT_FALSE(PageMatches(portrait, letter));
}

TEST(PrintCheck, TwiceTheResolutionOnTheSamePaperPrints)
{
    const TPrinterMetrics stored = FallbackPrinterMetrics();
    TPrinterMetrics doubled = stored;
    for (int *value :
         {&doubled.LogPixelsX, &doubled.LogPixelsY, &doubled.PhysicalWidth, &doubled.PhysicalHeight,
          &doubled.OffsetLeft, &doubled.OffsetTop, &doubled.GapRight, &doubled.GapBottom})
        *value *= 2;
    EXPECT_TRUE(PageMatches(stored, doubled));
    EXPECT_TRUE(PageMatches(doubled, stored));
}

TEST(PrintCheck, OnePixelEverywhereStillPrintsTwoDoNot)
{
    const TPrinterMetrics stored = FallbackPrinterMetrics();
    TPrinterMetrics near = stored;
    for (int *value : {&near.PhysicalWidth, &near.PhysicalHeight, &near.OffsetLeft, &near.OffsetTop,
                       &near.GapRight, &near.GapBottom})
        *value += 1;
    EXPECT_TRUE(PageMatches(stored, near));
    for (int TPrinterMetrics::*measure :
         {&TPrinterMetrics::PhysicalWidth, &TPrinterMetrics::PhysicalHeight,
          &TPrinterMetrics::OffsetLeft, &TPrinterMetrics::OffsetTop, &TPrinterMetrics::GapRight,
          &TPrinterMetrics::GapBottom}) {
        TPrinterMetrics far = stored;
        far.*measure += 2;
        EXPECT_FALSE(PageMatches(stored, far));
        far.*measure -= 4;
        EXPECT_FALSE(PageMatches(stored, far));
    }
}

TEST(PrintCheck, AResolutionOfNothingIsAChange)
{
    TPrinterMetrics none = FallbackPrinterMetrics();
    none.LogPixelsY = 0;
    EXPECT_FALSE(PageMatches(FallbackPrinterMetrics(), none));
    none = FallbackPrinterMetrics();
    none.LogPixelsX = 0;
    EXPECT_FALSE(PageMatches(FallbackPrinterMetrics(), none));
}

TEST(PrintDialogSetup, OnePageOffersNoPageNumbers)
{
    EXPECT_EQ(PrintDialogSetup(1), (TPrintDialogSetup{false, 1, 1, 1, 1}));
    EXPECT_EQ(PrintDialogSetup(0), (TPrintDialogSetup{false, 1, 1, 1, 1}));
    EXPECT_EQ(PrintDialogSetup(5), (TPrintDialogSetup{true, 1, 5, 1, 5}));
    EXPECT_EQ(PrintDialogSetup(2), (TPrintDialogSetup{true, 1, 2, 1, 2}));
}

TEST(PrintDialogSetup, TheDialogIsPreparedForThePageCount)
{
    QPrinter printer(QPrinter::HighResolution);
    for (int pages : {1, 5}) {
        QPrintDialog dialog(&printer);
        ApplyPrintDialogSetup(dialog, PrintDialogSetup(pages));
        EXPECT_EQ(dialog.testOption(QAbstractPrintDialog::PrintPageRange), pages >= 2);
        EXPECT_EQ(dialog.minPage(), 1);
        EXPECT_EQ(dialog.maxPage(), pages);
        EXPECT_EQ(dialog.fromPage(), 1);
        EXPECT_EQ(dialog.toPage(), pages);
        EXPECT_EQ(dialog.printRange(), QAbstractPrintDialog::AllPages);
        // Untouched, the dialog prints every page.
        EXPECT_EQ(PrintRange(printer, pages), std::make_pair(1, pages));
    }
}

TEST(PrintDialogSetup, AChosenRangeIsKeptWithinThePages)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(2, 3);
    EXPECT_EQ(PrintRange(printer, 5), std::make_pair(2, 3));
    printer.setFromTo(4, 9);
    EXPECT_EQ(PrintRange(printer, 5), std::make_pair(4, 5));
    printer.setFromTo(0, 0);
    EXPECT_EQ(PrintRange(printer, 5), std::make_pair(1, 5));
    printer.setPrintRange(QPrinter::AllPages);
    printer.setFromTo(2, 2);
    EXPECT_EQ(PrintRange(printer, 5), std::make_pair(1, 5));
}
