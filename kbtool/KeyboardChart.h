#pragma once

#include "kbtool/KeyChars.h"

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QString>
#include <array>
#include <functional>
#include <string>
#include <vector>

class QPainter;

// The printed chart of a keyboard layout: one page with the keyboard to scale, every key with its
// four characters and its key print, then pages that list what each dead key composes. Sizes are
// in inches, converted per axis with the device's resolution.

// Inches to device pixels, to the nearest pixel, halves to the even neighbour.
int InchToPrinter(int dotsPerInch, double inches);

// The device as the chart sees it, in the painter's coordinates (the printable area's top left is
// the origin).
struct TChartDevice
{
    int DpiX = 0;
    int DpiY = 0;
    // The printable area.
    QSize Page;
    // The whole sheet; its top left lies at or above and left of the origin.
    QRect Paper;
};

// Whether the keyboard block fits the printable area.
bool ChartFits(const TChartDevice &device);

struct TChartContent
{
    const TKeyChars &Chars;
    int CodePage = 0;
    QFont KeyFont;
    std::string KeyPrints;
    QString LayoutText;
};

// How far each character code reaches left of its origin, in device pixels.
using TOverhangs = std::array<int, 256>;
TOverhangs MeasureOverhangs(const QFont &keyFont, int codePage, QPaintDevice &device);

// Where the dead-key pages put a title or an entry: its page (0 is the first dead-key page) and the
// top left of its cell.
struct TDeadKeyPlace
{
    int Page = 0;
    QPoint At;

    friend bool operator==(const TDeadKeyPlace &, const TDeadKeyPlace &) = default;
};

struct TDeadKeyPlan
{
    // Per table: its title, then its entries.
    std::vector<std::vector<TDeadKeyPlace>> Tables;
    int PageCount = 0;
};

// Lays out tables of the given entry counts in columns over the page box. The first page keeps
// room for its heading.
TDeadKeyPlan PlanDeadKeyPages(const std::vector<int> &entryCounts, int lineHeight, const QRect &box,
                              int dpiX, int dpiY);

// Paints the whole chart; newPage starts the next sheet and answers false when it could not.
// Answers the number of pages painted.
int PaintKeyboardChart(QPainter &painter, const TChartDevice &device, const TChartContent &content,
                       const std::function<bool()> &newPage);
