#pragma once

#include "core/PrintWord.h"
#include "core/Unit_GlobalSettings.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QPrinter;
class TWordList;

// The layout behind printing a word list: every text wrapped to its column's width,
// the rows stacked on pages, and the page model that the print preview and the print job draw
// from. The engine itself is pure: the printer's measures and a text measurer are handed in.

// All rounding of a real to an integer in printing: to the nearest integer, halves to the even
// one.
int RoundEven(double value);
// a x b / c rounded to the nearest integer, halves away from zero (the Windows MulDiv); 0 when
// c is 0.
int MulDiv(int a, int b, int c);

// The position of one row: its text baseline in layout units (one unit = one printer pixel of
// the vertical resolution), measured from the top edge of the printable area.
struct TBaseLine
{
    int32_t Y = 0;
};

// One page: its rows from top to bottom, and as many baselines.
struct TPageInfo
{
    std::vector<TPrintWord> Lines;
    std::vector<TBaseLine> BaseLines;
};

// The printer's measures in its device pixels.
struct TPrinterMetrics
{
    int LogPixelsX = 0;
    int LogPixelsY = 0;
    int PhysicalWidth = 0;
    int PhysicalHeight = 0;
    // Physical edge of the sheet to the printable area.
    int OffsetLeft = 0;
    int OffsetTop = 0;
    // Printable area to the physical edge.
    int GapRight = 0;
    int GapBottom = 0;

    // The printable area (HORZRES, VERTRES).
    int PageWidth() const { return PhysicalWidth - OffsetLeft - GapRight; }
    int PageHeight() const { return PhysicalHeight - OffsetTop - GapBottom; }
    // Resolutions and sheet sizes that can be divided by.
    bool Valid() const;
    friend bool operator==(const TPrinterMetrics &, const TPrinterMetrics &) = default;
};

// The measures of a printer as its page layout gives them.
TPrinterMetrics ReadPrinterMetrics(const QPrinter &printer);
// A4 at 1200 dpi with quarter-inch margins: what stands in for a printer that reports nothing
// usable.
TPrinterMetrics FallbackPrinterMetrics();

// The unit's globals. What is printed, set by the grid's print command before it shows the
// preview: the list (not owned) and the inclusive range of word indices.
extern TWordList *PrintList;
extern int PrintFirst;
extern int PrintLast;
// The printer's measures as read when the preview was shown.
extern TPrinterMetrics PrinterMetrics;
// The pages of the layout; page n at n - 1.
extern std::vector<TPageInfo> Pages;
// The page the preview shows (1-based), and its scale with its lower bound.
extern int CurrentPage;
extern double Zoom;
extern double MinZoom;

// The page geometry, in inches.
inline constexpr double MarginInches = 0.8;
inline constexpr double GapInches = 0.2;
inline constexpr double PadInches = 0.08;
inline constexpr double RowPitch = 1.3;

// The fonts of printing: one per column kind (0..4) and the heading and footer font.
inline constexpr int HeadingFont = PrintKindCount;
inline constexpr int PrintFontCount = PrintKindCount + 1;

struct TPrintFontInfo
{
    QString Family;
    int PointSize = 8;
    bool Bold = false;
    // The code page the font's texts are stored in.
    int CodePage = 0;
};

// Kinds 0 and 2: the list's foreign font; 1: its reference font; 3 and 4: "Arial" 8 pt regular;
// the heading font: "Arial" 10 pt bold.
TPrintFontInfo PrintFontInfo(const TWordList &list, int font);
// The font at a size in device pixels (at least 1).
QFont MakePrintFont(const TPrintFontInfo &info, int pixelSize);
// The heading of a column kind: the list's languages, or the pack's column names.
QString ColumnHeading(const TWordList &list, int kind);

// Whether a byte starts a double-byte character in a code page, by its value, as Windows judges
// it: 932 81-9F and E0-FC; 936, 949 and 950 81-FE; 1361 (Johab) 84-D3, D8-DE and E0-F9; no other
// code page has lead bytes.
bool IsLeadByteOf(int codePage, unsigned char byte);

// Measures of the printed texts. Texts are bytes in the code page of the font.
class ITextMeasurer
{
public:
    virtual ~ITextMeasurer() = default;
    virtual int Ascent(int font) const = 0;
    virtual int Height(int font) const = 0;
    virtual int Width(int font, std::string_view bytes) const = 0;
    // At least the width of every leading part of bytes (the whole included): a cheap bound where
    // one is known, otherwise the width itself.
    virtual int WidthBound(int font, std::string_view bytes) const { return Width(font, bytes); }
    // Whether the byte starts a double-byte character in the font's code page.
    virtual bool IsLeadByte(int font, unsigned char byte) const = 0;
    // The longest leading part of bytes (a byte count) whose width is at most maxWidth. Widths of
    // leading parts grow with their length, so halving finds it.
    virtual size_t LongestFit(int font, std::string_view bytes, int maxWidth) const;
    // Whether ThreadCopy gives a measurer of the same measures, to be made and used on another
    // thread, so that a long list is laid out on several at once.
    virtual bool HasThreadCopies() const { return false; }
    virtual std::unique_ptr<ITextMeasurer> ThreadCopy() const { return nullptr; }
};

// The printed fonts at a printer's vertical resolution, each at MulDiv(point size, resolution, 72)
// pixels, measured with QFontMetrics on an image of that resolution.
class TFontMeasurer : public ITextMeasurer
{
public:
    TFontMeasurer(const TWordList &list, int logPixelsY);
    ~TFontMeasurer() override;

    int Ascent(int font) const override;
    int Height(int font) const override;
    int Width(int font, std::string_view bytes) const override;
    bool IsLeadByte(int font, unsigned char byte) const override;
    // Adds up the characters' advances, one pass over the text, where no character needs
    // shaping; otherwise halves.
    size_t LongestFit(int font, std::string_view bytes, int maxWidth) const override;
    // Fonts and their metrics belong to the thread that made them; a copy makes its own.
    bool HasThreadCopies() const override { return true; }
    std::unique_ptr<ITextMeasurer> ThreadCopy() const override;

private:
    struct TMeasuredFont
    {
        TMeasuredFont(const TPrintFontInfo &info, int pixelSize, const QImage &device);
        // The same font for another thread: the measures are taken over, the font itself is
        // made again when a text first needs it.
        TMeasuredFont(const TMeasuredFont &source, const QImage &device);
        // The font's metrics for whole texts, made on first use by the thread that uses them.
        const QFontMetrics &Metrics() const;

        TPrintFontInfo Info;
        int PixelSize = 0;
        const QImage &Device;
        int CodePage = 0;
        bool DoubleByte = false;
        int Ascent = 0;
        int Height = 0;
        // Per byte of a single-byte code page: its character's own advance in 64ths of a pixel,
        // or -1 for a character that needs shaping. Measured once, when the font is made.
        std::array<int, 256> ByteAdvance{};

    private:
        mutable std::unique_ptr<QFontMetrics> WholeMetrics;
    };
    TFontMeasurer(const TFontMeasurer &source);
    const TMeasuredFont &Font(int font) const;
    // The advance of a byte's character alone, or -1 when it must be measured in its text.
    static int Advance(const TMeasuredFont &measured, unsigned char byte);

    QImage Device;
    std::vector<std::unique_ptr<TMeasuredFont>> Fonts;
};

// Wraps text in place to lines of at most maxWidth: a line breaks after the last
// break character (" -/_\") that fits, else after the last character that fits; a double-byte
// character is never split. Every line takes at least one character, so wrapping always ends.
void WrapText(std::string &text, int maxWidth, const ITextMeasurer &measurer, int font);
// As WrapText, from source into text, whose room is used again.
void WrapText(std::string_view source, std::string &text, int maxWidth,
              const ITextMeasurer &measurer, int font);

// The number of lines of a wrapped text: its CR LF, CR and LF each end a line; an empty text is
// one line.
int LineCount(std::string_view text);
// The lines of a wrapped text.
std::vector<std::string_view> SplitLines(std::string_view text);

// The used slots of the print columns: those before the first unused one.
int UsedColumns(const std::array<TPrintColumn, 5> &columns);

// The layout of a list's rows on the pages of one printer, in layout units.
class TPrintLayout
{
public:
    TPrintLayout(const TWordList &list, const std::array<TPrintColumn, 5> &columns,
                 const TPrinterMetrics &metrics, const ITextMeasurer &measurer);

    // An inch measure in layout units.
    int Inch(double inches) const;
    // Fills word from word index at baseline y; the row's height, or -1 when it does not fit on
    // the page. With allColumns every column is filled even when the row has outgrown the page.
    int LayoutWord(TPrintWord &word, int index, int maxAscent, int y,
                   bool allColumns = false) const;
    // The pages of the words first..last. A row higher than an empty page stands alone on its
    // page (clipped when drawn); no words give one empty page.
    std::vector<TPageInfo> Paginate(int first, int last) const;

    int MaxAscent() const;
    // The baseline of the first row, the same on every page.
    int FirstBaseline() const;
    // The lowest position a row may reach.
    int Bottom() const;
    int Left() const { return left; }
    int Width() const { return width; }
    int HeadingHeight() const { return headingHeight; }

private:
    // Fills word's columns from word index, measured with the measurer given; the row's height.
    // Past a column that makes the row higher than limit the others are left, as the row no
    // longer fits.
    int LayoutColumns(const ITextMeasurer &with, TPrintWord &word, int index, int maxAscent,
                      int limit) const;

    const TWordList &list;
    const std::array<TPrintColumn, 5> &columns;
    const TPrinterMetrics &metrics;
    const ITextMeasurer &measurer;
    int used = 0;
    int left = 0;
    int width = 0;
    int pad = 0;
    int headingHeight = 0;
};

// Changes of the printed columns in the preview, on the slots of the print settings. After each the
// shares of the used slots sum to exactly 1.0 in slot order.

// The last used slot takes 1.0 minus the sum of the others, in slot order.
void FixLastShare(std::array<TPrintColumn, 5> &columns);
// Appends a column of the kind with a quarter of the width, the others giving room in
// proportion but none below a tenth.
void AddColumnShares(std::array<TPrintColumn, 5> &columns, uint8_t kind);
// Takes out the used slot at index; the others grow in proportion.
void RemoveColumnShares(std::array<TPrintColumn, 5> &columns, int index);
// Column index (not the last) dragged to width of a header headerWidth wide: only its right
// neighbour gives or takes, and neither goes below a tenth.
void ResizeColumnShares(std::array<TPrintColumn, 5> &columns, int index, int width,
                        int headerWidth);
// Exchanges the used slots index and index + 1, kinds and shares.
void SwapColumns(std::array<TPrintColumn, 5> &columns, int index);
