#include "print/Unit_PrintLayout.h"

#include "core/Texts.h"
#include "core/Unit_WordList.h"
#include "platform/CodePage.h"

#include <QPrinter>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

TWordList *PrintList = nullptr;
int PrintFirst = 0;
int PrintLast = -1;
TPrinterMetrics PrinterMetrics;
std::vector<TPageInfo> Pages;
int CurrentPage = 1;
double Zoom = 0.0;
double MinZoom = 0.0;

namespace {

// Advances are kept, as the font engine keeps them, in 64ths of a pixel; a width is rounded to
// whole pixels, halves up, as the engine rounds it.
constexpr int SubPixels = 64;

int ToPixels(int64_t subPixels)
{
    return static_cast<int>((subPixels + SubPixels / 2) / SubPixels);
}

constexpr const char *FixedFontFamily = "Arial";
constexpr int ColumnPointSize = 8;
constexpr int HeadingPointSize = 10;
constexpr double AddedShare = 0.25;
constexpr double MinShare = 0.1;
// AddColumnShares scales the others again while rounding leaves them above their room; a few
// passes settle it.
constexpr int MaxRoomPasses = 5;

bool IsBreakCharacter(char byte)
{
    return byte == ' ' || byte == '-' || byte == '/' || byte == '_' || byte == '\\';
}

// Characters that a font draws with their own advance, at most moved by kerning: Latin, Greek,
// Cyrillic and the common punctuation and symbols. Everything else (combining marks, scripts
// that are shaped, controls, private-use stand-ins) is measured as a whole.
bool IsSimpleCharacter(char16_t c)
{
    return (c >= 0x20 && c <= 0x7E) || (c >= 0xA0 && c <= 0x24F) || (c >= 0x370 && c <= 0x482)
            || (c >= 0x48A && c <= 0x4FF) || (c >= 0x2010 && c <= 0x2027)
            || (c >= 0x2030 && c <= 0x205E) || (c >= 0x20A0 && c <= 0x20BF)
            || (c >= 0x2100 && c <= 0x214F);
}

// Length in bytes of the character at pos: a lead byte takes its trail byte along; a lone lead
// byte at the end is a character of its own.
size_t CharLength(std::string_view text, size_t pos, const ITextMeasurer &measurer, int font)
{
    if (pos + 1 < text.size() && measurer.IsLeadByte(font, static_cast<unsigned char>(text[pos])))
        return 2;
    return 1;
}

bool Fits(std::string_view text, int maxWidth, const ITextMeasurer &measurer, int font)
{
    return measurer.WidthBound(font, text) <= maxWidth || measurer.Width(font, text) <= maxWidth;
}

double SumOfShares(const std::array<TPrintColumn, 5> &columns, int first, int end)
{
    double sum = 0.0;
    for (int i = first; i < end; ++i)
        sum += columns[static_cast<size_t>(i)].Width;
    return sum;
}

} // namespace

int RoundEven(double value)
{
    const double floor = std::floor(value);
    const double fraction = value - floor;
    double result = floor;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2.0) != 0.0))
        result = floor + 1.0;
    return static_cast<int>(result);
}

int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return 0;
    const long long product = static_cast<long long>(a) * b;
    long long quotient = product / c;
    const long long rest = product % c;
    if (2 * std::llabs(rest) >= std::llabs(static_cast<long long>(c)))
        quotient += (product < 0) != (c < 0) ? -1 : 1;
    return static_cast<int>(quotient);
}

bool IsLeadByteOf(int codePage, unsigned char byte)
{
    switch (codePage) {
    case 932:
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case 936:
    case 949:
    case 950:
        return byte >= 0x81 && byte <= 0xFE;
    case 1361:
        return (byte >= 0x84 && byte <= 0xD3) || (byte >= 0xD8 && byte <= 0xDE)
                || (byte >= 0xE0 && byte <= 0xF9);
    default:
        return false;
    }
}

size_t ITextMeasurer::LongestFit(int font, std::string_view bytes, int maxWidth) const
{
    if (Fits(bytes, maxWidth, *this, font))
        return bytes.size();
    size_t fits = 0;
    size_t fails = bytes.size();
    while (fails - fits > 1) {
        const size_t middle = fits + (fails - fits) / 2;
        if (Fits(bytes.substr(0, middle), maxWidth, *this, font))
            fits = middle;
        else
            fails = middle;
    }
    return fits;
}

bool TPrinterMetrics::Valid() const
{
    return LogPixelsX > 0 && LogPixelsY > 0 && PhysicalWidth > 0 && PhysicalHeight > 0
            && PageWidth() > 0 && PageHeight() > 0;
}

TPrinterMetrics ReadPrinterMetrics(const QPrinter &printer)
{
    TPrinterMetrics metrics;
    metrics.LogPixelsX = printer.logicalDpiX();
    metrics.LogPixelsY = printer.logicalDpiY();
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    metrics.PhysicalWidth = RoundEven(paper.width());
    metrics.PhysicalHeight = RoundEven(paper.height());
    metrics.OffsetLeft = RoundEven(page.left() - paper.left());
    metrics.OffsetTop = RoundEven(page.top() - paper.top());
    metrics.GapRight = metrics.PhysicalWidth - metrics.OffsetLeft - RoundEven(page.width());
    metrics.GapBottom = metrics.PhysicalHeight - metrics.OffsetTop - RoundEven(page.height());
    return metrics;
}

TPrinterMetrics FallbackPrinterMetrics()
{
    TPrinterMetrics metrics;
    metrics.LogPixelsX = 1200;
    metrics.LogPixelsY = 1200;
    metrics.PhysicalWidth = 9917;
    metrics.PhysicalHeight = 14033;
    metrics.OffsetLeft = 167;
    metrics.OffsetTop = 167;
    metrics.GapRight = 167;
    metrics.GapBottom = 167;
    return metrics;
}

TPrintFontInfo PrintFontInfo(const TWordList &list, int font)
{
    TPrintFontInfo info;
    info.Family = QString::fromLatin1(FixedFontFamily);
    info.PointSize = ColumnPointSize;
    info.CodePage = CodePage::Default;
    const TListFont *listFont = nullptr;
    switch (font) {
    case pkForWord:
    case pkContext:
        listFont = list.ForFont.get();
        break;
    case pkRefWord:
        listFont = list.RefFont.get();
        break;
    case HeadingFont:
        info.PointSize = HeadingPointSize;
        info.Bold = true;
        break;
    default:
        break;
    }
    if (listFont) {
        info.Family = CodePage::ToUnicode(listFont->Name, CodePage::Default);
        if (listFont->Size > 0)
            info.PointSize = listFont->Size;
        info.CodePage = CodePage::ForCharset(listFont->Charset);
    }
    return info;
}

QFont MakePrintFont(const TPrintFontInfo &info, int pixelSize)
{
    QFont font(info.Family);
    font.setPixelSize(std::max(1, pixelSize));
    font.setBold(info.Bold);
    // Printed text stands on its characters' own advances, without kerning or ligatures: a line
    // is as wide as its characters together, which the layout adds up instead of shaping every
    // leading part of every text.
    font.setKerning(false);
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

QString ColumnHeading(const TWordList &list, int kind)
{
    switch (kind) {
    case pkForWord:
        return DecodeText(list.ForLanguage);
    case pkRefWord:
        return DecodeText(list.RefLanguage);
    case pkContext:
        return PackText(TEntry::ContextHeader);
    case pkPartOfSpeech:
        return PackText(TEntry::PartOfSpeechHeader);
    default:
        return PackText(TEntry::LessonHeader);
    }
}

TFontMeasurer::TMeasuredFont::TMeasuredFont(const TPrintFontInfo &info, int pixelSize,
                                            const QImage &device)
    : Info(info)
    , PixelSize(pixelSize)
    , Device(device)
    , CodePage(info.CodePage)
    , DoubleByte(CodePage::IsDoubleByte(info.CodePage))
{
    const QFont font = MakePrintFont(info, pixelSize);
    WholeMetrics = std::make_unique<QFontMetrics>(font, &device);
    Ascent = WholeMetrics->ascent();
    Height = WholeMetrics->height();
    ByteAdvance.fill(-1);
    if (DoubleByte)
        return;
    const QFontMetricsF exact(font, &device);
    for (unsigned byte = 0; byte < ByteAdvance.size(); ++byte) {
        const char character = static_cast<char>(byte);
        const QString text = CodePage::ToUnicode(std::string_view(&character, 1), CodePage);
        if (text.size() == 1 && IsSimpleCharacter(text[0].unicode()))
            ByteAdvance[byte]
                    = static_cast<int>(std::lround(exact.horizontalAdvance(text[0]) * SubPixels));
    }
}

TFontMeasurer::TMeasuredFont::TMeasuredFont(const TMeasuredFont &source, const QImage &device)
    : Info(source.Info)
    , PixelSize(source.PixelSize)
    , Device(device)
    , CodePage(source.CodePage)
    , DoubleByte(source.DoubleByte)
    , Ascent(source.Ascent)
    , Height(source.Height)
    , ByteAdvance(source.ByteAdvance)
{ }

const QFontMetrics &TFontMeasurer::TMeasuredFont::Metrics() const
{
    if (!WholeMetrics)
        WholeMetrics = std::make_unique<QFontMetrics>(MakePrintFont(Info, PixelSize), &Device);
    return *WholeMetrics;
}

TFontMeasurer::TFontMeasurer(const TWordList &list, int logPixelsY)
    : Device(1, 1, QImage::Format_RGB32)
{
    const int resolution = std::max(1, logPixelsY);
    const int dotsPerMetre = RoundEven(resolution / 0.0254);
    Device.setDotsPerMeterX(dotsPerMetre);
    Device.setDotsPerMeterY(dotsPerMetre);
    for (int font = 0; font < PrintFontCount; ++font) {
        const TPrintFontInfo info = PrintFontInfo(list, font);
        Fonts.push_back(std::make_unique<TMeasuredFont>(
                info, MulDiv(info.PointSize, resolution, 72), Device));
    }
}

TFontMeasurer::TFontMeasurer(const TFontMeasurer &source)
    : ITextMeasurer(source)
    , Device(source.Device.width(), source.Device.height(), source.Device.format())
{
    Device.setDotsPerMeterX(source.Device.dotsPerMeterX());
    Device.setDotsPerMeterY(source.Device.dotsPerMeterY());
    for (const auto &font : source.Fonts)
        Fonts.push_back(std::make_unique<TMeasuredFont>(*font, Device));
}

TFontMeasurer::~TFontMeasurer() = default;

std::unique_ptr<ITextMeasurer> TFontMeasurer::ThreadCopy() const
{
    return std::unique_ptr<ITextMeasurer>(new TFontMeasurer(*this));
}

const TFontMeasurer::TMeasuredFont &TFontMeasurer::Font(int font) const
{
    return *Fonts[static_cast<size_t>(std::clamp(font, 0, PrintFontCount - 1))];
}

int TFontMeasurer::Ascent(int font) const
{
    return Font(font).Ascent;
}

int TFontMeasurer::Height(int font) const
{
    return Font(font).Height;
}

int TFontMeasurer::Width(int font, std::string_view bytes) const
{
    const TMeasuredFont &measured = Font(font);
    int64_t sum = 0;
    for (const char byte : bytes) {
        const int advance = Advance(measured, static_cast<unsigned char>(byte));
        if (advance < 0)
            return measured.Metrics().horizontalAdvance(
                    CodePage::ToUnicode(bytes, measured.CodePage));
        sum += advance;
    }
    return ToPixels(sum);
}

int TFontMeasurer::Advance(const TMeasuredFont &measured, unsigned char byte)
{
    return measured.ByteAdvance[byte];
}

size_t TFontMeasurer::LongestFit(int font, std::string_view bytes, int maxWidth) const
{
    const TMeasuredFont &measured = Font(font);
    int64_t sum = 0;
    size_t fit = 0;
    for (const char byte : bytes) {
        const int advance = Advance(measured, static_cast<unsigned char>(byte));
        if (advance < 0)
            return ITextMeasurer::LongestFit(font, bytes, maxWidth);
        sum += advance;
        if (ToPixels(sum) > maxWidth)
            break;
        ++fit;
    }
    return fit;
}

bool TFontMeasurer::IsLeadByte(int font, unsigned char byte) const
{
    return IsLeadByteOf(Font(font).CodePage, byte);
}

void WrapText(std::string &text, int maxWidth, const ITextMeasurer &measurer, int font)
{
    std::string wrapped;
    WrapText(text, wrapped, maxWidth, measurer, font);
    text = std::move(wrapped);
}

void WrapText(std::string_view source, std::string &text, int maxWidth,
              const ITextMeasurer &measurer, int font)
{
    text.clear();
    size_t fit = source.empty() ? 0 : measurer.LongestFit(font, source, maxWidth);
    if (fit == source.size()) {
        text.assign(source);
        return;
    }
    text.reserve(source.size() + 8);
    size_t pos = 0;
    while (pos < source.size()) {
        const std::string_view rest = source.substr(pos);
        if (pos > 0)
            fit = measurer.LongestFit(font, rest, maxWidth);
        size_t length = fit;
        if (fit < rest.size()) {
            // The line is full. Walk its characters: the last break character that fits ends
            // it; without one, a cut inside a double-byte character moves that character on.
            size_t lastBreak = 0;
            size_t charStart = 0;
            size_t whole = 0;
            while (charStart < fit) {
                const size_t charLength = CharLength(rest, charStart, measurer, font);
                if (charStart + charLength > fit)
                    break;
                if (charLength == 1 && IsBreakCharacter(rest[charStart]))
                    lastBreak = charStart + 1;
                charStart += charLength;
                whole = charStart;
            }
            length = lastBreak > 0 ? lastBreak : whole;
        }
        // Every line takes at least one character, so that wrapping ends.
        if (length == 0)
            length = CharLength(rest, 0, measurer, font);
        if (pos > 0)
            text += "\r\n";
        text.append(rest.substr(0, length));
        pos += length;
    }
}

int LineCount(std::string_view text)
{
    int lines = 1;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            ++lines;
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else if (text[i] == '\n') {
            ++lines;
        }
    }
    return lines;
}

std::vector<std::string_view> SplitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    lines.push_back(text.substr(start));
    return lines;
}

int UsedColumns(const std::array<TPrintColumn, 5> &columns)
{
    int used = 0;
    while (used < static_cast<int>(columns.size())
           && columns[static_cast<size_t>(used)].Kind < pkUnused)
        ++used;
    return used;
}

TPrintLayout::TPrintLayout(const TWordList &list, const std::array<TPrintColumn, 5> &columns,
                           const TPrinterMetrics &metrics, const ITextMeasurer &measurer)
    : list(list)
    , columns(columns)
    , metrics(metrics)
    , measurer(measurer)
    , used(UsedColumns(columns))
{
    left = Inch(MarginInches) - metrics.OffsetLeft;
    const int rightMargin = Inch(MarginInches) - metrics.GapRight;
    width = metrics.PageWidth() - left - rightMargin;
    pad = Inch(PadInches);
    headingHeight = measurer.Height(HeadingFont);
}

int TPrintLayout::Inch(double inches) const
{
    return RoundEven(metrics.LogPixelsY * inches);
}

int TPrintLayout::MaxAscent() const
{
    int ascent = 0;
    for (int i = 0; i < used; ++i)
        ascent = std::max(ascent, measurer.Ascent(columns[static_cast<size_t>(i)].Kind));
    return ascent;
}

int TPrintLayout::FirstBaseline() const
{
    return headingHeight + (Inch(MarginInches) - metrics.OffsetTop) + Inch(GapInches) + MaxAscent();
}

int TPrintLayout::Bottom() const
{
    return metrics.PageHeight() - (Inch(MarginInches) - metrics.GapBottom) - headingHeight
            - Inch(GapInches);
}

void FixLastShare(std::array<TPrintColumn, 5> &columns)
{
    const int used = UsedColumns(columns);
    if (used == 0)
        return;
    columns[static_cast<size_t>(used - 1)].Width = 1.0 - SumOfShares(columns, 0, used - 1);
}

void AddColumnShares(std::array<TPrintColumn, 5> &columns, uint8_t kind)
{
    const int before = UsedColumns(columns);
    if (before >= static_cast<int>(columns.size()))
        return;
    columns[static_cast<size_t>(before)] = TPrintColumn{kind, AddedShare};
    std::array<bool, 5> fixed{};
    double oldTotal = 1.0;
    double newTotal = 1.0 - AddedShare;
    for (int pass = 0; pass < MaxRoomPasses && oldTotal > newTotal && oldTotal > 0.0; ++pass) {
        double sum = 0.0;
        double remaining = newTotal;
        for (int i = 0; i < before; ++i) {
            if (fixed[static_cast<size_t>(i)])
                continue;
            double &share = columns[static_cast<size_t>(i)].Width;
            share = share * newTotal / oldTotal;
            if (share <= MinShare) {
                share = MinShare;
                fixed[static_cast<size_t>(i)] = true;
                remaining -= MinShare;
            } else {
                sum += share;
            }
        }
        oldTotal = sum;
        newTotal = remaining;
    }
    FixLastShare(columns);
}

void RemoveColumnShares(std::array<TPrintColumn, 5> &columns, int index)
{
    const int before = UsedColumns(columns);
    if (index < 0 || index >= before)
        return;
    for (int i = index; i + 1 < static_cast<int>(columns.size()); ++i)
        columns[static_cast<size_t>(i)] = columns[static_cast<size_t>(i + 1)];
    columns.back() = TPrintColumn{pkUnused, 0.0};
    // The slot that moved up from the end may be an unused one already; so may the last.
    const int used = UsedColumns(columns);
    for (int i = used; i < static_cast<int>(columns.size()); ++i)
        columns[static_cast<size_t>(i)] = TPrintColumn{pkUnused, 0.0};
    const double sum = SumOfShares(columns, 0, used);
    if (sum > 0.0) {
        for (int i = 0; i + 1 < used; ++i)
            columns[static_cast<size_t>(i)].Width /= sum;
    }
    FixLastShare(columns);
}

void ResizeColumnShares(std::array<TPrintColumn, 5> &columns, int index, int width, int headerWidth)
{
    const int used = UsedColumns(columns);
    if (index < 0 || index + 1 >= used || headerWidth <= 0)
        return;
    double &share = columns[static_cast<size_t>(index)].Width;
    double &neighbour = columns[static_cast<size_t>(index + 1)].Width;
    const double pair = share + neighbour;
    double wanted = std::max(static_cast<double>(width) / headerWidth, MinShare);
    if (pair - MinShare < wanted)
        wanted = pair - MinShare;
    // Shares stored below a tenth leave no room for the floor: neither goes below nothing.
    wanted = std::clamp(wanted, 0.0, std::max(pair, 0.0));
    neighbour = pair - wanted;
    share = wanted;
    FixLastShare(columns);
}

void SwapColumns(std::array<TPrintColumn, 5> &columns, int index)
{
    const int used = UsedColumns(columns);
    if (index < 0 || index + 1 >= used)
        return;
    std::swap(columns[static_cast<size_t>(index)], columns[static_cast<size_t>(index + 1)]);
    FixLastShare(columns);
}
