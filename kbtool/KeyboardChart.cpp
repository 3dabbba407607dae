#include "kbtool/KeyboardChart.h"

#include "core/Texts.h"

#include <QFontMetrics>
#include <QPainter>
#include <cmath>

namespace {

// The keyboard block and its parts, in inches.
constexpr double BlockWidth = 9.88;
constexpr double BlockHeight = 4.3;
constexpr double HeadingHeight = 1.0;
constexpr double KeyboardHeight = 3.3;
constexpr double KeyWidth = 0.66;
constexpr double TabWidth = 1.02;
constexpr double CapsLockWidth = 1.14;
constexpr double ShiftWidth = 1.53;
constexpr double BottomKeyWidth = 0.78;
constexpr double CharacterInset = 0.05;
constexpr double KeyPrintWidth = 0.12;
constexpr double KeyPrintHeight = 0.15;
constexpr double LabelInset = 0.08;
constexpr double PenWidth = 0.002;
// The dead-key pages.
constexpr double PageMargin = 0.8;
constexpr double DeadHeadingHeight = 0.7;
constexpr double LinePadding = 0.16;
constexpr double TextInset = 0.08;
constexpr double ColumnStep = 1.6;
constexpr double ColumnWidth = 1.2;
constexpr double EntryCellWidth = 0.6;

const char *const LabelFamily = "Arial";
constexpr int HeadingPoints = 18;
constexpr int LabelPoints = 10;
constexpr int SmallPoints = 8;
const QColor DeadQuarterGrey(128, 128, 128);
// The row of the space bar, below the four rows of character keys.
constexpr int SpaceBarRow = 4;

QFont ArialFont(int points, bool bold = false)
{
    QFont font(QString::fromLatin1(LabelFamily), points);
    font.setBold(bold);
    return font;
}

// A rectangle given by its edges, the right and bottom ones outside it.
QRect Edges(int left, int top, int right, int bottom)
{
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

QString CharText(uint8_t character, int codePage)
{
    return DecodeText(std::string(1, static_cast<char>(character)), codePage);
}

// Text whose top is at y, clipped to the cell.
void DrawTopLeft(QPainter &painter, const QRect &clip, int x, int y, const QString &text)
{
    painter.save();
    painter.setClipRect(clip);
    painter.drawText(x, y + QFontMetrics(painter.font(), painter.device()).ascent(), text);
    painter.restore();
}

void DrawTopCentred(QPainter &painter, const QRect &clip, int x, int y, const QString &text)
{
    const QFontMetrics metrics(painter.font(), painter.device());
    DrawTopLeft(painter, clip, x - metrics.horizontalAdvance(text) / 2, y, text);
}

class TChartPainter
{
public:
    TChartPainter(QPainter &painter, const TChartDevice &device, const TChartContent &content)
        : painter(painter)
        , device(device)
        , content(content)
        , overhangs(MeasureOverhangs(content.KeyFont, content.CodePage, *painter.device()))
    { }

    int X(double inches) const { return InchToPrinter(device.DpiX, inches); }
    int Y(double inches) const { return InchToPrinter(device.DpiY, inches); }

    void PaintKeyboardPage();
    int PaintDeadKeyPages(const std::function<bool()> &newPage);

private:
    void Outline(const QRect &cell);
    void KeyCap(const QRect &cell, int key);
    void KeyCapLabel(const QRect &cell, const QString &text);
    void PaintDeadKeyTitle(const QPoint &at, int lineHeight, int ascent, const TDeadKeyInfo &dead);
    void PaintDeadKeyEntry(const QPoint &at, int lineHeight, int ascent, const TKeyChars &table,
                           const TDeadKeyInfo &entry);
    // Draws text so that its baseline is the line's.
    void DrawOnLine(int x, int lineTop, int ascent, const QRect &clip, const QString &text);

    QPainter &painter;
    const TChartDevice &device;
    const TChartContent &content;
    TOverhangs overhangs;
    int penWidth = 1;
};

void TChartPainter::Outline(const QRect &cell)
{
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(cell);
}

void TChartPainter::KeyCap(const QRect &cell, int key)
{
    Outline(cell);
    const int right = cell.right() + 1;
    const int bottom = cell.bottom() + 1;
    const int mx = cell.left() + (right - cell.left()) / 2;
    const int my = cell.top() + (bottom - cell.top()) / 2;
    const std::pair<QRect, int> quarters[] = {
            {Edges(cell.left(), cell.top(), mx, my), ssShift},
            {Edges(cell.left(), my, mx, bottom), ssNone},
            {Edges(mx, cell.top(), right, my), ssShiftAltGr},
            {Edges(mx, my, right, bottom), ssAltGr},
    };
    painter.setFont(content.KeyFont);
    for (const auto &[quarter, shift] : quarters) {
        const TKeyChar &entry = content.Chars.At(shift, key);
        if (!entry.Char)
            continue;
        if (entry.IsDead)
            painter.fillRect(quarter, DeadQuarterGrey);
        DrawTopLeft(painter, quarter, quarter.left() + X(CharacterInset) + overhangs[entry.Char],
                    quarter.top() + Y(CharacterInset), CharText(entry.Char, content.CodePage));
    }
    const QRect box = Edges(right - X(KeyPrintWidth), bottom - Y(KeyPrintHeight), right, bottom);
    painter.fillRect(box, Qt::black);
    painter.save();
    painter.setFont(ArialFont(SmallPoints, true));
    painter.setPen(Qt::white);
    DrawTopLeft(painter, box, box.left() + penWidth, box.top() + penWidth,
                DecodeText(std::string(1, KeyPrintAt(content.KeyPrints, key))));
    painter.restore();
}

void TChartPainter::KeyCapLabel(const QRect &cell, const QString &text)
{
    QFont font = content.KeyFont;
    font.setFamily(QString::fromLatin1(LabelFamily));
    font.setPointSize(LabelPoints);
    painter.setFont(font);
    DrawTopLeft(painter, cell, cell.left() + X(LabelInset), cell.top() + Y(LabelInset), text);
    painter.setFont(content.KeyFont);
}

void TChartPainter::PaintKeyboardPage()
{
    const int pageWidth = device.Page.width();
    const int x0 = (pageWidth - X(BlockWidth)) / 2;
    const int x1 = pageWidth - x0;
    const int y0 = Y(HeadingHeight) + (device.Page.height() - Y(BlockHeight)) / 2;
    const int y1 = y0 + Y(KeyboardHeight);

    painter.setFont(ArialFont(HeadingPoints, true));
    painter.setPen(Qt::black);
    DrawTopCentred(painter, Edges(0, y0 - Y(HeadingHeight), pageWidth, y0), pageWidth / 2,
                   y0 - Y(HeadingHeight),
                   PackText(TEntry::KeyboardToolCaption) + QLatin1Char(' ') + content.LayoutText);
    painter.setFont(content.KeyFont);
    penWidth = X(PenWidth) + 1;
    painter.setPen(QPen(Qt::black, penWidth));
    Outline(Edges(x0, y0, x1, y1));

    const int rowHeight = Y(KeyWidth);
    const int keyWidth = X(KeyWidth);
    int x = x0;
    int top = y0;
    int bottom = top + rowHeight;
    auto keys = [&](int first, int last) {
        for (int key = first; key <= last; ++key, x += keyWidth)
            KeyCap(Edges(x, top, x + keyWidth, bottom), key);
    };
    auto label = [&](int right, TEntry text, bool outlined = true) {
        const QRect cell = Edges(x, top, right, bottom);
        if (outlined)
            Outline(cell);
        KeyCapLabel(cell, PackText(text));
        x = right;
    };
    auto nextRow = [&](int row) {
        x = x0;
        top = y0 + row * rowHeight;
        bottom = row == SpaceBarRow ? y1 : top + rowHeight;
    };

    keys(RowStart(0), RowEnds[0]);
    label(x1, TEntry::BackspaceKeyLabel);
    nextRow(1);
    label(x + X(TabWidth), TEntry::TabKeyLabel);
    keys(RowStart(1), RowEnds[1]);
    label(x1, TEntry::EnterKeyLabel, false);
    nextRow(2);
    label(x + X(CapsLockWidth), TEntry::CapsLockKeyLabel);
    keys(RowStart(2), RowEnds[2]);
    nextRow(3);
    label(x + X(ShiftWidth), TEntry::ShiftKeyLabel);
    keys(RowStart(3), RowEnds[3] - 1);
    label(x1 - keyWidth, TEntry::ShiftKeyLabel);
    keys(RowEnds[3], RowEnds[3]);
    nextRow(SpaceBarRow);
    const int w = X(BottomKeyWidth);
    for (TEntry text : {TEntry::CtrlKeyLabel, TEntry::StartKeyLabel, TEntry::AltKeyLabel})
        label(x + w, text);
    Outline(Edges(x, top, x1 - 4 * w, bottom));
    x = x1 - 4 * w;
    for (TEntry text : {TEntry::AltKeyLabel, TEntry::StartKeyLabel, TEntry::ChartContextKeyLabel,
                        TEntry::CtrlKeyLabel})
        label(x + w, text);
}

void TChartPainter::DrawOnLine(int x, int lineTop, int ascent, const QRect &clip,
                               const QString &text)
{
    const int baseline = lineTop + ascent + Y(TextInset);
    painter.save();
    painter.setClipRect(clip);
    painter.drawText(x, baseline, text);
    painter.restore();
}

void TChartPainter::PaintDeadKeyTitle(const QPoint &at, int lineHeight, int ascent,
                                      const TDeadKeyInfo &dead)
{
    const QRect cell = Edges(at.x(), at.y(), at.x() + X(ColumnWidth), at.y() + lineHeight);
    painter.fillRect(cell, Qt::black);
    painter.save();
    painter.setPen(Qt::white);
    const QFont titleFont = ArialFont(LabelPoints, true);
    painter.setFont(titleFont);
    const QString title = PackText(TEntry::DeadKeyTitle);
    const int x = at.x() + X(TextInset);
    DrawOnLine(x, at.y(), ascent, cell, title);
    QFont keyFont = content.KeyFont;
    keyFont.setBold(true);
    painter.setFont(keyFont);
    DrawOnLine(x + QFontMetrics(titleFont, painter.device()).horizontalAdvance(title), at.y(),
               ascent, cell,
               CharText(content.Chars.At(dead.Shift, dead.Key).Char, content.CodePage));
    painter.restore();
}

void TChartPainter::PaintDeadKeyEntry(const QPoint &at, int lineHeight, int ascent,
                                      const TKeyChars &table, const TDeadKeyInfo &entry)
{
    const int cellWidth = X(EntryCellWidth);
    const QRect plain = Edges(at.x(), at.y(), at.x() + cellWidth, at.y() + lineHeight);
    const QRect composed = plain.translated(cellWidth, 0);
    Outline(plain);
    Outline(composed);
    const uint8_t key = content.Chars.At(entry.Shift, entry.Key).Char;
    if (key == ' ') {
        painter.setFont(ArialFont(SmallPoints));
        DrawOnLine(plain.left() + X(TextInset), at.y(), ascent, plain,
                   PackText(TEntry::SpaceBarName));
        painter.setFont(content.KeyFont);
    } else if (key) {
        DrawOnLine(plain.left() + X(TextInset), at.y(), ascent, plain,
                   CharText(key, content.CodePage));
    }
    DrawOnLine(composed.left() + X(TextInset), at.y(), ascent, composed,
               CharText(table.At(entry.Shift, entry.Key).Char, content.CodePage));
}

int TChartPainter::PaintDeadKeyPages(const std::function<bool()> &newPage)
{
    const int left = device.Paper.left() + X(PageMargin);
    const int right = device.Paper.left() + device.Paper.width() - X(PageMargin);
    const int top = device.Paper.top() + Y(PageMargin);
    const int bottom = device.Paper.top() + device.Paper.height() - Y(PageMargin);

    const QFontMetrics keyMetrics(content.KeyFont, painter.device());
    const QFontMetrics labelMetrics(ArialFont(LabelPoints, true), painter.device());
    const int ascent = std::max(keyMetrics.ascent(), labelMetrics.ascent());
    const int lineHeight = std::max(keyMetrics.height() + ascent - keyMetrics.ascent(),
                                    labelMetrics.height() + ascent - labelMetrics.ascent())
            + Y(LinePadding);

    const std::vector<TDeadKeyInfo> deadKeys = DeadKeysShiftMajor(content.Chars);
    std::vector<std::vector<TDeadKeyInfo>> entries;
    std::vector<int> counts;
    for (const TDeadKeyInfo &dead : deadKeys) {
        const TKeyChars &table = *content.Chars.At(dead.Shift, dead.Key).DeadTable;
        auto &list = entries.emplace_back();
        for (int shift = 0; shift < ShiftCount; ++shift) {
            for (int key = 0; key < KeyCount; ++key) {
                if (table.At(shift, key).Char)
                    list.push_back({key, shift});
            }
        }
        counts.push_back(static_cast<int>(list.size()));
    }
    if (deadKeys.empty())
        return 0;
    const TDeadKeyPlan plan = PlanDeadKeyPages(counts, lineHeight, Edges(left, top, right, bottom),
                                               device.DpiX, device.DpiY);
    int page = -1;
    auto toPage = [&](int wanted) {
        while (page < wanted) {
            if (!newPage())
                return false;
            ++page;
            painter.setPen(QPen(Qt::black, 1));
            painter.setFont(content.KeyFont);
        }
        return true;
    };
    if (!toPage(0))
        return 0;
    painter.setFont(ArialFont(HeadingPoints, true));
    DrawTopCentred(painter, Edges(left, top, right, bottom), left + (right - left) / 2, top,
                   PackText(TEntry::DeadKeysHeading) + QLatin1Char(' ') + content.LayoutText);
    painter.setFont(content.KeyFont);
    for (size_t t = 0; t < deadKeys.size(); ++t) {
        const std::vector<TDeadKeyPlace> &places = plan.Tables[t];
        const TKeyChars &table = *content.Chars.At(deadKeys[t].Shift, deadKeys[t].Key).DeadTable;
        if (!toPage(places[0].Page))
            return page + 1;
        PaintDeadKeyTitle(places[0].At, lineHeight, ascent, deadKeys[t]);
        for (size_t e = 0; e < entries[t].size(); ++e) {
            if (!toPage(places[e + 1].Page))
                return page + 1;
            PaintDeadKeyEntry(places[e + 1].At, lineHeight, ascent, table, entries[t][e]);
        }
    }
    return page + 1;
}

} // namespace

int InchToPrinter(int dotsPerInch, double inches)
{
    const double exact = dotsPerInch * inches;
    const double below = std::floor(exact);
    const double fraction = exact - below;
    // The conversion is exact to far better than this.
    constexpr double Tolerance = 1e-9;
    if (std::abs(fraction - 0.5) < Tolerance)
        return static_cast<int>(std::fmod(below, 2.0) == 0.0 ? below : below + 1);
    return static_cast<int>(fraction < 0.5 ? below : below + 1);
}

bool ChartFits(const TChartDevice &device)
{
    return InchToPrinter(device.DpiX, BlockWidth) < device.Page.width()
            && InchToPrinter(device.DpiY, BlockHeight) < device.Page.height();
}

TOverhangs MeasureOverhangs(const QFont &keyFont, int codePage, QPaintDevice &device)
{
    TOverhangs overhangs{};
    const QFontMetrics metrics(keyFont, &device);
    for (size_t code = 0; code < overhangs.size(); ++code) {
        const QString text = CharText(static_cast<uint8_t>(code), codePage);
        if (text.size() == 1)
            overhangs[code] = std::max(-metrics.leftBearing(text[0]), 0);
    }
    return overhangs;
}

TDeadKeyPlan PlanDeadKeyPages(const std::vector<int> &entryCounts, int lineHeight, const QRect &box,
                              int dpiX, int dpiY)
{
    TDeadKeyPlan plan;
    const int left = box.left();
    const int right = box.right() + 1;
    const int bottom = box.bottom() + 1;
    int pageTop = box.top() + InchToPrinter(dpiY, DeadHeadingHeight);
    int page = 0;
    int x = left;
    int y = pageTop;
    auto nextColumn = [&] {
        y = pageTop;
        x += InchToPrinter(dpiX, ColumnStep);
    };
    auto keepOnPage = [&] {
        if (InchToPrinter(dpiX, ColumnWidth) > right - x) {
            ++page;
            pageTop = box.top();
            x = left;
            y = pageTop;
        }
    };
    for (int count : entryCounts) {
        auto &places = plan.Tables.emplace_back();
        if (y > pageTop && (count + 1) * lineHeight > bottom - y)
            nextColumn();
        keepOnPage();
        places.push_back({page, {x, y}});
        y += lineHeight;
        for (int entry = 0; entry < count; ++entry) {
            if (bottom - y < lineHeight)
                nextColumn();
            keepOnPage();
            places.push_back({page, {x, y}});
            y += lineHeight;
        }
        y += lineHeight;
    }
    plan.PageCount = entryCounts.empty() ? 0 : page + 1;
    return plan;
}

int PaintKeyboardChart(QPainter &painter, const TChartDevice &device, const TChartContent &content,
                       const std::function<bool()> &newPage)
{
    TChartPainter chart(painter, device, content);
    painter.setBackgroundMode(Qt::TransparentMode);
    chart.PaintKeyboardPage();
    return 1 + chart.PaintDeadKeyPages(newPage);
}
