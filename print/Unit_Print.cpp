#include "print/Unit_Print.h"

#include "core/Texts.h"
#include "core/Unit_WordList.h"
#include "platform/CodePage.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFontMetrics>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTextBoundaryFinder>
#include <algorithm>
#include <cstdlib>
#include <utility>

namespace {

QPrinter *Printer = nullptr;

void ReleasePrinter()
{
    delete std::exchange(Printer, nullptr);
}

QString SetupTitle()
{
    QString title = PackText(TEntry::PrinterSetupCommand);
    title.remove(QLatin1Char('&'));
    if (title.endsWith(QLatin1String("...")))
        title.chop(3);
    return title;
}

class TProgramPrintDialog : public IPrintDialog
{
public:
    bool Execute(QPrinter &printer, QWidget *parent, const TPrintDialogSetup &setup) override
    {
        QPrintDialog dialog(&printer, parent);
        ApplyPrintDialogSetup(dialog, setup);
        return dialog.exec() == QDialog::Accepted;
    }

    // The print dialog without page numbers, its OK button named as OK: choosing a printer and
    // its paper prints nothing.
    bool Setup(QPrinter &printer, QWidget *parent) override
    {
        QPrintDialog dialog(&printer, parent);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
        dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, false);
        dialog.setWindowTitle(SetupTitle());
        if (auto *buttons = dialog.findChild<QDialogButtonBox *>()) {
            if (QPushButton *ok = buttons->button(QDialogButtonBox::Ok);
                ok && !PackText(TEntry::OkButton).isEmpty())
                ok->setText(PackText(TEntry::OkButton));
        }
        return dialog.exec() == QDialog::Accepted;
    }
};

IPrintDialog *InstalledDialog = nullptr;

// The six measures that tell whether the page changed, in the order compared, with whether each is
// horizontal.
struct TMeasure
{
    int TPrinterMetrics::*Value;
    bool Horizontal;
};
constexpr TMeasure Measures[] = {
        {&TPrinterMetrics::PhysicalHeight, false}, {&TPrinterMetrics::PhysicalWidth, true},
        {&TPrinterMetrics::OffsetLeft, true},      {&TPrinterMetrics::GapRight, true},
        {&TPrinterMetrics::OffsetTop, false},      {&TPrinterMetrics::GapBottom, false},
};

void DrawClipped(QPainter &painter, const QRect &clip, int x, int baseline, const QString &text)
{
    if (clip.width() <= 0 || clip.height() <= 0 || text.isEmpty())
        return;
    painter.setClipRect(clip);
    painter.drawText(QPoint(x, baseline), text);
}

// The start of text whose characters fit whole within width. A clip alone would hide the rest
// from the eye but leave it in a PDF's text, where it runs into the next column's heading.
QString WholeCharsWithin(const QFontMetricsF &metrics, const QString &text, int width)
{
    if (metrics.horizontalAdvance(text) <= width)
        return text;
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, text);
    qsizetype fits = 0;
    for (qsizetype end = characters.toNextBoundary(); end > 0; end = characters.toNextBoundary()) {
        if (metrics.horizontalAdvance(text.left(end)) > width)
            break;
        fits = end;
    }
    return text.left(fits);
}

// Where the printer's page gets its headings, columns and footer, at the printer's own
// resolution, offsets and gaps.
TPageFrame PrinterFrame(const TPrinterMetrics &now, const TWordList &list,
                        const std::array<TPrintColumn, 5> &columns)
{
    const auto inchX = [&](double inches) { return RoundEven(now.LogPixelsX * inches); };
    const auto inchY = [&](double inches) { return RoundEven(now.LogPixelsY * inches); };
    TPageFrame frame;
    frame.Left = inchX(MarginInches) - now.OffsetLeft;
    const int rightMargin = inchX(MarginInches) - now.GapRight;
    frame.Width = now.PageWidth() - frame.Left - rightMargin;
    frame.Pad = inchX(PadInches);
    frame.HeadingTop = inchY(MarginInches) - now.OffsetTop;
    frame.FooterBottom = now.PageHeight() - inchY(MarginInches) + now.GapBottom;
    for (int font = 0; font < PrintFontCount; ++font) {
        const TPrintFontInfo info = PrintFontInfo(list, font);
        frame.Fonts[static_cast<size_t>(font)]
                = MakePrintFont(info, MulDiv(info.PointSize, now.LogPixelsY, 72));
        if (font < PrintKindCount)
            frame.CodePages[static_cast<size_t>(font)] = info.CodePage;
    }
    int edge = frame.Left;
    frame.HeadingEdges.push_back(edge);
    for (int i = 0; i < UsedColumns(columns); ++i) {
        edge += RoundEven(frame.Width * columns[static_cast<size_t>(i)].Width);
        frame.HeadingEdges.push_back(edge);
    }
    return frame;
}

QString NoPrinterText()
{
    return QStringLiteral("No printer is available. Install a printer, or choose to print to a "
                          "file.");
}

// Neither a printer nor a file: Qt would begin the job anyway, fail, and leave the printer
// active, so that no file could be chosen for it again.
bool HasNoOutput(const QPrinter &printer)
{
    return printer.outputFormat() == QPrinter::PdfFormat && printer.outputFileName().isEmpty();
}

QString BeginFailure(const QPrinter &printer)
{
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return QStringLiteral("The file \"%1\" could not be written.")
                .arg(QDir::toNativeSeparators(printer.outputFileName()));
    return QStringLiteral("The printer \"%1\" could not start printing.")
            .arg(printer.printerName());
}

} // namespace

QPrinter &SharedPrinter()
{
    if (!Printer) {
        Printer = new QPrinter(QPrinter::HighResolution);
        // Gone with the application, before the printing plugins are.
        qRemovePostRoutine(ReleasePrinter);
        qAddPostRoutine(ReleasePrinter);
    }
    return *Printer;
}

void ResetSharedPrinter()
{
    ReleasePrinter();
    SharedPrinter();
}

TPrintDialogSetup PrintDialogSetup(int pages)
{
    TPrintDialogSetup setup;
    if (pages >= 2) {
        setup.PageNumbers = true;
        setup.MaxPage = pages;
        setup.ToPage = pages;
    }
    return setup;
}

void ApplyPrintDialogSetup(QPrintDialog &dialog, const TPrintDialogSetup &setup)
{
    dialog.setMinMax(setup.MinPage, setup.MaxPage);
    dialog.setFromTo(setup.FromPage, setup.ToPage);
    dialog.setPrintRange(QAbstractPrintDialog::AllPages);
    // Last: setting the pages offers page numbers again.
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, setup.PageNumbers);
}

std::pair<int, int> PrintRange(const QPrinter &printer, int pages)
{
    pages = std::max(pages, 1);
    if (printer.printRange() == QPrinter::AllPages || printer.fromPage() == 0)
        return {1, pages};
    const int from = std::clamp(printer.fromPage(), 1, pages);
    const int to = std::clamp(printer.toPage(), from, pages);
    return {from, to};
}

IPrintDialog *SetPrintDialog(IPrintDialog *dialog)
{
    return std::exchange(InstalledDialog, dialog);
}

IPrintDialog &PrintDialog()
{
    static TProgramPrintDialog program;
    return InstalledDialog ? *InstalledDialog : program;
}

void PrinterSetup(QWidget *parent)
{
    PrintDialog().Setup(SharedPrinter(), parent);
}

QString BeginPrintJob(QPainter &painter, QPrinter &printer, const QString &title)
{
    if (HasNoOutput(printer))
        return NoPrinterText();
    printer.setDocName(title);
    return painter.begin(&printer) ? QString() : BeginFailure(printer);
}

bool PageMatches(const TPrinterMetrics &stored, const TPrinterMetrics &now)
{
    if (stored.LogPixelsX <= 0 || stored.LogPixelsY <= 0 || now.LogPixelsX <= 0
        || now.LogPixelsY <= 0)
        return false;
    // The smaller page is brought to the other's resolution.
    const bool toStored = now.PhysicalHeight >= stored.PhysicalHeight;
    for (const TMeasure &measure : Measures) {
        const long long storedValue = stored.*measure.Value;
        const long long newValue = now.*measure.Value;
        const long long storedResolution
                = measure.Horizontal ? stored.LogPixelsX : stored.LogPixelsY;
        const long long newResolution = measure.Horizontal ? now.LogPixelsX : now.LogPixelsY;
        const long long difference = toStored
                ? newValue * storedResolution / newResolution - storedValue
                : storedValue * newResolution / storedResolution - newValue;
        if (std::llabs(difference) >= 2)
            return false;
    }
    return true;
}

void DrawPage(QPainter &painter, const TPageFrame &frame, const TWordList &list,
              const std::array<TPrintColumn, 5> &columns, const TPageInfo &page,
              const std::vector<int> &baselines, int pageNumber)
{
    painter.save();
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    const int used = UsedColumns(columns);

    painter.setFont(frame.Fonts[HeadingFont]);
    const QFontMetrics heading = painter.fontMetrics();
    const int headingHeight = heading.height();
    const int headingBaseline = frame.HeadingTop + heading.ascent();
    const QFontMetricsF headingWidths(frame.Fonts[HeadingFont], painter.device());
    for (int i = 0; i < used && i + 1 < static_cast<int>(frame.HeadingEdges.size()); ++i) {
        const int left = frame.HeadingEdges[static_cast<size_t>(i)];
        const int right = frame.HeadingEdges[static_cast<size_t>(i + 1)];
        // The heading keeps to its cells' width, so the pad stays between it and the next.
        const QString text = WholeCharsWithin(
                headingWidths, ColumnHeading(list, columns[static_cast<size_t>(i)].Kind),
                right - left - frame.Pad);
        DrawClipped(painter, QRect(left, frame.HeadingTop, right - left, headingHeight), left,
                    headingBaseline, text);
    }

    // Rows never reach into the footer, not even one higher than the page.
    const int footerTop = frame.FooterBottom - headingHeight;
    const size_t rows = std::min(page.Lines.size(), baselines.size());
    for (size_t row = 0; row < rows; ++row) {
        const int y = baselines[row];
        int cellRight = 0;
        for (int i = 0; i < used; ++i) {
            const TPrintColumn &column = columns[static_cast<size_t>(i)];
            const int cellLeft = i == 0 ? frame.Left : cellRight + frame.Pad;
            cellRight = RoundEven(frame.Width * column.Width) + cellLeft - frame.Pad;
            painter.setFont(frame.Fonts[column.Kind]);
            const QFontMetrics metrics = painter.fontMetrics();
            const int top = y - metrics.ascent();
            const QRect clip(cellLeft, top, cellRight - cellLeft, footerTop - top);
            int baseline = y;
            for (const std::string_view line : SplitLines(page.Lines[row].Text(column.Kind))) {
                if (baseline - metrics.ascent() >= footerTop)
                    break;
                DrawClipped(painter, clip, cellLeft, baseline,
                            CodePage::ToUnicode(line, frame.CodePages[column.Kind]));
                baseline += metrics.height();
            }
        }
    }
    painter.setClipping(false);

    painter.setFont(frame.Fonts[HeadingFont]);
    const int footerBaseline = footerTop + heading.ascent();
    painter.drawText(QPoint(frame.Left, footerBaseline), list.GetListName());
    // Right-aligned on its exact advance: a rounded one may let the last glyph pass the edge.
    const QString number = QString::number(pageNumber);
    const QFontMetricsF exact(frame.Fonts[HeadingFont], painter.device());
    painter.drawText(
            QPointF(frame.Left + frame.Width - exact.horizontalAdvance(number), footerBaseline),
            number);
    painter.restore();
}

QString PrintPages(QPrinter &printer, const TWordList &list,
                   const std::array<TPrintColumn, 5> &columns, const std::vector<TPageInfo> &pages,
                   const TPrinterMetrics &stored, const TPrinterMetrics &now, int from, int to)
{
    if (pages.empty() || stored.LogPixelsY <= 0 || !now.Valid())
        return QStringLiteral("The printer reports no usable page.");
    from = std::clamp(from, 1, static_cast<int>(pages.size()));
    to = std::clamp(to, from, static_cast<int>(pages.size()));
    const double scale = static_cast<double>(now.LogPixelsY) / stored.LogPixelsY;
    const TPageFrame frame = PrinterFrame(now, list, columns);

    QPainter painter;
    if (QString failure
        = BeginPrintJob(painter, printer, QStringLiteral("Tarnwick - ") + list.GetListName());
        !failure.isEmpty())
        return failure;
    for (int p = from; p <= to; ++p) {
        const TPageInfo &page = pages[static_cast<size_t>(p - 1)];
        std::vector<int> baselines;
        baselines.reserve(page.BaseLines.size());
        for (const TBaseLine &line : page.BaseLines)
            baselines.push_back(RoundEven(line.Y * scale));
        DrawPage(painter, frame, list, columns, page, baselines, p);
        if (p < to && !printer.newPage()) {
            painter.end();
            return QStringLiteral("The printer stopped after page %1.").arg(p);
        }
    }
    if (!painter.end())
        return QStringLiteral("The printer could not finish printing.");
    return {};
}
