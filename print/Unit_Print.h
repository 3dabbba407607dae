#pragma once

#include "print/Unit_PrintLayout.h"

#include <QFont>
#include <QString>
#include <array>
#include <utility>
#include <vector>

class QPainter;
class QPrintDialog;
class QPrinter;
class QWidget;

// Printing and what the print preview shares with it: the one printer of the
// program, its dialog, the check that the page still is the one laid out, and the drawing of a
// page.

// The program's printer, created at first use and kept until the application ends. The printer
// setup command, the print preview and the keyboard chart all print through it, so a printer or
// paper chosen once holds for the session.
QPrinter &SharedPrinter();
// Puts a fresh printer in place of the shared one (tests start from the default printer).
void ResetSharedPrinter();

// How the print dialog is prepared for a layout of some pages.
struct TPrintDialogSetup
{
    bool PageNumbers = false;
    int MinPage = 1;
    int MaxPage = 1;
    int FromPage = 1;
    int ToPage = 1;
    friend bool operator==(const TPrintDialogSetup &, const TPrintDialogSetup &) = default;
};

// 0 or 1 page: no page numbers, everything 1; more: page numbers 1..pages.
TPrintDialogSetup PrintDialogSetup(int pages);
void ApplyPrintDialogSetup(QPrintDialog &dialog, const TPrintDialogSetup &setup);
// The pages to print after the dialog: all of them, unless the printer holds a page range, which
// is kept within 1..pages.
std::pair<int, int> PrintRange(const QPrinter &printer, int pages);

// The print dialog and the printer setup dialog on the shared printer. The program shows
// QPrintDialog; tests put a script in.
class IPrintDialog
{
public:
    virtual ~IPrintDialog() = default;
    // The print dialog, prepared as setup says. False when cancelled.
    virtual bool Execute(QPrinter &printer, QWidget *parent, const TPrintDialogSetup &setup) = 0;
    // The printer setup command's dialog: printer and paper, nothing printed. False when
    // cancelled.
    virtual bool Setup(QPrinter &printer, QWidget *parent) = 0;
};

// nullptr restores the program's dialog. Gives back the one installed before.
IPrintDialog *SetPrintDialog(IPrintDialog *dialog);
IPrintDialog &PrintDialog();

// The printer setup command: the dialog on the shared printer, whose choice the
// printer keeps.
void PrinterSetup(QWidget *parent);

// Starts a job on the printer under a title (the PDF's title, the print queue's job name): "" when
// the painter draws on its pages, else what to tell the user: that there is no printer, that the
// file cannot be written, or that the printer refused. Every job of the program starts here.
QString BeginPrintJob(QPainter &painter, QPrinter &printer, const QString &title);

// Whether the page that a layout was made for (stored) is still the printer's page (now): the six
// measures compared at one resolution, each within a pixel. A resolution of 0 never matches.
bool PageMatches(const TPrinterMetrics &stored, const TPrinterMetrics &now);

// Where one page is drawn: the preview on its sheet, the job on the printer's printable area.
struct TPageFrame
{
    // The printed width: from Left, Width wide; cells padded by Pad.
    int Left = 0;
    int Width = 0;
    int Pad = 0;
    int HeadingTop = 0;
    int FooterBottom = 0;
    // The edges of the heading rectangles, one more than the columns.
    std::vector<int> HeadingEdges;
    // Kinds 0..4 and the heading font, at the device's size.
    std::array<QFont, PrintFontCount> Fonts;
    // Code pages of the kinds' texts.
    std::array<int, PrintKindCount> CodePages{};
};

// Headings, rows at their baselines (device coordinates) and the footer with the list's name and
// the page number. A row's cells are clipped to their columns and above the footer.
void DrawPage(QPainter &painter, const TPageFrame &frame, const TWordList &list,
              const std::array<TPrintColumn, 5> &columns, const TPageInfo &page,
              const std::vector<int> &baselines, int pageNumber);

// The pages from..to (1-based) of the layout, printed on the printer whose measures are now:
// baselines scaled from the layout's resolution, margins and columns at the printer's own, the
// offsets and gaps as now read. "" when done, else what went wrong.
QString PrintPages(QPrinter &printer, const TWordList &list,
                   const std::array<TPrintColumn, 5> &columns, const std::vector<TPageInfo> &pages,
                   const TPrinterMetrics &stored, const TPrinterMetrics &now, int from, int to);
