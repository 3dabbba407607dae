#include "print/Unit_PrintPreviewForm.h"

#include "core/Texts.h"
#include "core/Unit_GlobalSettings.h"
#include "core/Unit_Warnings.h"
#include "core/Unit_WordList.h"
#include "print/Unit_Print.h"
#include "print/Unit_PrintLayout.h"
#include "ui_PrintPreviewForm.h"

#include <QAction>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QScreen>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QToolButton>
#include <algorithm>
#include <functional>
#include <utility>

TPrintPreviewForm *PrintPreviewForm = nullptr;

namespace {

// Space around the sheet in the scroll box.
constexpr int FrameSpace = 16;
constexpr double ZoomStep = 1.5;
constexpr double MaxZoom = 1.0;
const QColor Background(128, 128, 128);
// The help topic of the header's menu; the window's own is in its description.
constexpr int HeadersMenuHelpContext = 2301;

// The page: a white widget that the window paints.
class TPrintSheet : public QWidget
{
public:
    TPrintSheet(QWidget *parent, std::function<void(QPainter &)> paint)
        : QWidget(parent)
        , paint(std::move(paint))
    {
        setObjectName(QStringLiteral("PrintSheet"));
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        paint(painter);
    }

private:
    std::function<void(QPainter &)> paint;
};

// A caption as a button shows it: an ampersand is a character, not a mnemonic.
QString ButtonCaption(const std::string &bytes)
{
    return DecodeText(bytes).replace(QLatin1Char('&'), QLatin1String("&&"));
}

} // namespace

TPrintPreviewForm::TPrintPreviewForm(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TPrintPreviewForm>())
{
    ui->setupUi(this);
    setSizeGripEnabled(true);

    QPalette grey = ui->ScrollContents->palette();
    grey.setColor(QPalette::Window, Background);
    ui->ScrollContents->setPalette(grey);

    PrintSheet = new TPrintSheet(ui->ScrollContents,
                                 [this](QPainter &painter) { PrintSheetPaint(painter); });

    HeaderModel = new QStandardItemModel(0, 1, this);
    HeaderControl = new QHeaderView(Qt::Horizontal, ui->ScrollContents);
    HeaderControl->setObjectName(QStringLiteral("HeaderControl"));
    HeaderControl->setModel(HeaderModel);
    HeaderControl->setSectionsClickable(false);
    HeaderControl->setSectionsMovable(false);
    HeaderControl->setStretchLastSection(false);
    // A narrow column shows the start of its heading, as the printed heading does.
    HeaderControl->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    HeaderControl->setSectionResizeMode(QHeaderView::Interactive);
    HeaderControl->setMinimumSectionSize(1);
    HeaderControl->setContextMenuPolicy(Qt::CustomContextMenu);
    HeaderControl->setMouseTracking(true);
    HeaderControl->viewport()->setMouseTracking(true);
    HeaderControl->viewport()->installEventFilter(this);
    ui->ScrollBox->installEventFilter(this);
    HeaderHeight = std::max(HeaderControl->sizeHint().height(),
                            HeaderControl->fontMetrics().height() + 6);
    HeaderModel->setColumnCount(0);
    connect(HeaderControl, &QHeaderView::sectionResized, this, [this](int index, int, int) {
        if (!PlacingHeader)
            ResizedSection = index;
    });

    HeadersMenu = new QMenu(this);
    HeadersMenu->setObjectName(QStringLiteral("HeadersMenu"));
    HeadersMenu->setProperty("HelpContext", HeadersMenuHelpContext);
    MIMoveLeft = HeadersMenu->addAction(QStringLiteral("Naar &links verplaatsen"));
    MIMoveLeft->setObjectName(QStringLiteral("MIMoveLeft"));
    MIMoveRight = HeadersMenu->addAction(QStringLiteral("Naar &rechts verplaatsen"));
    MIMoveRight->setObjectName(QStringLiteral("MIMoveRight"));
    connect(MIMoveLeft, &QAction::triggered, this, &TPrintPreviewForm::MIMoveLeftClick);
    connect(MIMoveRight, &QAction::triggered, this, &TPrintPreviewForm::MIMoveRightClick);
    connect(HeaderControl, &QWidget::customContextMenuRequested, this, [this](QPoint pos) {
        HeaderControlMouseMove(pos.x());
        HeadersMenuPopup();
        HeadersMenu->exec(HeaderControl->viewport()->mapToGlobal(pos));
    });

    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setSizeGripEnabled(false);
    StatusLabel = new QLabel(StatusBar);
    StatusLabel->setObjectName(QStringLiteral("StatusLabel"));
    StatusBar->addPermanentWidget(StatusLabel, 1);
    ui->FormLayout->addWidget(StatusBar);

    connect(ui->PrintButton, &QPushButton::clicked, this, &TPrintPreviewForm::PrintButtonClick);
    connect(ui->NextButton, &QPushButton::clicked, this, &TPrintPreviewForm::NextButtonClick);
    connect(ui->PrevButton, &QPushButton::clicked, this, &TPrintPreviewForm::PrevButtonClick);
    connect(ui->ZoomInButton, &QPushButton::clicked, this, &TPrintPreviewForm::ZoomInButtonClick);
    connect(ui->ZoomOutButton, &QPushButton::clicked, this, &TPrintPreviewForm::ZoomOutButtonClick);
    connect(ui->CloseButton, &QPushButton::clicked, this, &TPrintPreviewForm::CloseButtonClick);
    for (int kind = 0; kind < PrintKindCount; ++kind)
        connect(ColumnButton(kind), &QToolButton::clicked, this,
                [this, kind] { SectionButtonClick(kind); });
}

TPrintPreviewForm::~TPrintPreviewForm() = default;

void TPrintPreviewForm::ApplyLanguage()
{
    setWindowTitle(PackText(TEntry::PrintPreviewCaption));
    ui->PrintButton->setText(PackText(TEntry::PrintButton));
    ui->NextButton->setText(PackText(TEntry::NextPageButton));
    ui->PrevButton->setText(PackText(TEntry::PreviousPageButton));
    ui->ZoomInButton->setText(PackText(TEntry::ZoomInButton));
    ui->ZoomOutButton->setText(PackText(TEntry::ZoomOutButton));
    ui->CloseButton->setText(PackText(TEntry::CloseButton));
    ui->ContextButton->setText(PackText(TEntry::ContextColumnButton));
    ui->PartOfSpeechButton->setText(PackText(TEntry::PartOfSpeechColumnButton));
    ui->LessonButton->setText(PackText(TEntry::LessonColumnButton));
    MIMoveLeft->setText(PackText(TEntry::MoveColumnLeft));
    MIMoveRight->setText(PackText(TEntry::MoveColumnRight));
    if (isVisible())
        UpdateStatus();
}

double TPrintPreviewForm::ScreenPpi() const
{
    if (InjectedPpi > 0.0)
        return InjectedPpi;
    const QScreen *shown = screen() ? screen() : QGuiApplication::primaryScreen();
    return shown ? shown->logicalDotsPerInchY() : 96.0;
}

QToolButton *TPrintPreviewForm::ColumnButton(int kind) const
{
    switch (kind) {
    case pkForWord:
        return ui->ForLangButton;
    case pkRefWord:
        return ui->RefLangButton;
    case pkContext:
        return ui->ContextButton;
    case pkPartOfSpeech:
        return ui->PartOfSpeechButton;
    default:
        return ui->LessonButton;
    }
}

QString TPrintPreviewForm::StatusText() const
{
    return StatusLabel->text();
}

int TPrintPreviewForm::InchToSheet(double inches) const
{
    return RoundEven(ScreenPpi() * inches * Zoom);
}

void TPrintPreviewForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

bool TPrintPreviewForm::eventFilter(QObject *watched, QEvent *event)
{
    // The sheet is fitted into the scroll box, which the tool bars and the status line share the
    // window with: it follows the box's own size.
    if (watched == ui->ScrollBox && event->type() == QEvent::Resize && isVisible()) {
        FormResize();
    } else if (watched == HeaderControl->viewport()) {
        if (event->type() == QEvent::MouseMove) {
            HeaderControlMouseMove(static_cast<QMouseEvent *>(event)->position().toPoint().x());
        } else if (event->type() == QEvent::MouseButtonRelease && ResizedSection >= 0) {
            // The header reports every step of a drag; the shares change once, when it ends.
            const int index = std::exchange(ResizedSection, -1);
            HeaderControlSectionResize(index, HeaderControl->sectionSize(index));
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TPrintPreviewForm::reject()
{
    done(mrCancel);
}

// Each showing: the printer read anew, the columns of the print settings, the
// fitting zoom and fresh pages from page 1.
void TPrintPreviewForm::FormShow()
{
    HoverSection = 0;
    ResizedSection = -1;
    PrinterMetrics = ReadPrinterMetrics(SharedPrinter());
    if (!PrinterMetrics.Valid())
        PrinterMetrics = FallbackPrinterMetrics();

    const TWordList *list = PrintList;
    ui->ForLangButton->setText(list ? ButtonCaption(list->ForLanguage) : QString());
    ui->RefLangButton->setText(list ? ButtonCaption(list->RefLanguage) : QString());
    for (int kind = 0; kind < PrintKindCount; ++kind)
        ColumnButton(kind)->setChecked(false);
    for (int i = 0; i < UsedColumns(PrintSettings.Columns); ++i)
        ColumnButton(PrintSettings.Columns[static_cast<size_t>(i)].Kind)->setChecked(true);
    RebuildSections();

    Zoom = 0.0;
    FitZoom();
    CurrentPage = 1;
    Paginate();
    ShowPage();
    // The captions and the status line may have changed the scroll box: the whole first page
    // is fitted into the box as shown.
    if (layout())
        layout()->activate();
    Zoom = 0.0;
    FitZoom();
}

void TPrintPreviewForm::FormResize()
{
    FitZoom();
}

QRect TPrintPreviewForm::Frame() const
{
    const QSize box = ui->ScrollBox->maximumViewportSize();
    return QRect(QPoint(FrameSpace, HeaderHeight + FrameSpace),
                 QPoint(box.width() - FrameSpace - 1, box.height() - FrameSpace - 1));
}

void TPrintPreviewForm::FitZoom()
{
    const TPrinterMetrics &m = PrinterMetrics;
    if (!m.Valid())
        return;
    const QRect frame = Frame();
    const int frameWidth = std::max(frame.width(), 1);
    const int frameHeight = std::max(frame.height(), 1);
    int sheetHeight = frameHeight;
    int sheetWidth
            = RoundEven(static_cast<double>(m.PhysicalWidth) / m.PhysicalHeight * frameHeight);
    if (sheetWidth > frameWidth) {
        sheetWidth = frameWidth;
        sheetHeight
                = RoundEven(static_cast<double>(m.PhysicalHeight) / m.PhysicalWidth * frameWidth);
    }
    MinZoom = std::max(sheetHeight, 1)
            / (static_cast<double>(m.PhysicalHeight) / m.LogPixelsY * ScreenPpi());
    if (MinZoom > Zoom)
        Zoom = MinZoom;
    ApplyZoom();
}

void TPrintPreviewForm::ApplyZoom()
{
    const TPrinterMetrics &m = PrinterMetrics;
    ui->ZoomInButton->setEnabled(Zoom < MaxZoom);
    ui->ZoomOutButton->setEnabled(Zoom > MinZoom);
    if (!m.Valid())
        return;
    const double ppi = ScreenPpi();
    const int width = RoundEven(static_cast<double>(m.PhysicalWidth) / m.LogPixelsX * ppi * Zoom);
    const int height = RoundEven(static_cast<double>(m.PhysicalHeight) / m.LogPixelsY * ppi * Zoom);
    const QRect frame = Frame();
    const int left = std::max(frame.left(), frame.left() + (frame.width() - width) / 2);
    const int top = std::max(frame.top(), frame.top() + (frame.height() - height) / 2);
    PrintSheet->setGeometry(left, top, width, height);
    const QSize box = ui->ScrollBox->maximumViewportSize();
    ui->ScrollContents->resize(std::max(box.width(), left + width + FrameSpace),
                               std::max(box.height(), top + height + FrameSpace));
    ui->ScrollBox->horizontalScrollBar()->setValue(0);
    ui->ScrollBox->verticalScrollBar()->setValue(0);
    PlaceHeader();
    PrintSheet->update();
}

void TPrintPreviewForm::SetSectionWidth(int index, int width)
{
    if (HeaderControl->sectionSize(index) != width)
        HeaderControl->resizeSection(index, width);
}

void TPrintPreviewForm::PlaceHeader()
{
    const QRect sheet = PrintSheet->geometry();
    const int margin = InchToSheet(MarginInches);
    const int width = std::max(sheet.width() - 2 * margin, 0);
    PlacingHeader = true;
    HeaderControl->setGeometry(sheet.left() + margin, sheet.top() - HeaderHeight, width,
                               HeaderHeight);
    const int sections = HeaderModel->columnCount();
    int taken = 0;
    for (int i = 0; i < sections; ++i) {
        const int section = i + 1 < sections
                ? RoundEven(width * PrintSettings.Columns[static_cast<size_t>(i)].Width)
                : width - taken;
        SetSectionWidth(i, std::max(section, 0));
        taken += section;
    }
    HeaderControl->setOffset(0);
    PlacingHeader = false;
}

void TPrintPreviewForm::RebuildSections()
{
    const int used = UsedColumns(PrintSettings.Columns);
    QStringList headings;
    for (int i = 0; i < used; ++i) {
        const uint8_t kind = PrintSettings.Columns[static_cast<size_t>(i)].Kind;
        headings.push_back(PrintList ? ColumnHeading(*PrintList, kind) : QString());
    }
    PlacingHeader = true;
    HeaderModel->setColumnCount(used);
    HeaderModel->setHorizontalHeaderLabels(headings);
    PlacingHeader = false;
}

void TPrintPreviewForm::Paginate()
{
    if (PrintList && PrinterMetrics.Valid()) {
        const TFontMeasurer measurer(*PrintList, PrinterMetrics.LogPixelsY);
        const TPrintLayout layout(*PrintList, PrintSettings.Columns, PrinterMetrics, measurer);
        Pages = layout.Paginate(PrintFirst, PrintLast);
    } else {
        Pages.assign(1, TPageInfo());
    }
    CurrentPage = std::clamp(CurrentPage, 1, static_cast<int>(Pages.size()));
    // An empty list prints nothing: its one page is shown, with headings and footer.
    ui->PrintButton->setEnabled(PrintList && PrintFirst <= PrintLast);
    UpdateStatus();
    UpdatePageButtons();
}

void TPrintPreviewForm::UpdateStatus()
{
    StatusLabel->setText(PackText(
            TEntry::PreviewPageStatus,
            {{u"%p%", QString::number(CurrentPage)}, {u"%ps%", QString::number(Pages.size())}}));
}

void TPrintPreviewForm::UpdatePageButtons()
{
    ui->NextButton->setEnabled(CurrentPage < static_cast<int>(Pages.size()));
    ui->PrevButton->setEnabled(CurrentPage >= 2);
}

void TPrintPreviewForm::ShowPage()
{
    UpdateStatus();
    UpdatePageButtons();
    PrintSheet->update();
}

void TPrintPreviewForm::PrintSheetPaint(QPainter &painter)
{
    const QRect sheet(QPoint(0, 0), PrintSheet->size());
    painter.fillRect(sheet, Qt::white);
    const TPrinterMetrics &m = PrinterMetrics;
    if (!PrintList || !m.Valid() || Pages.empty())
        return;
    const double ppi = ScreenPpi();
    const double toSheet = ppi * Zoom / m.LogPixelsY;
    const int margin = InchToSheet(MarginInches);

    TPageFrame frame;
    frame.Left = margin;
    frame.Width = sheet.width() - 2 * margin;
    frame.Pad = InchToSheet(PadInches);
    frame.HeadingTop = margin;
    frame.FooterBottom = sheet.height() - margin;
    for (int font = 0; font < PrintFontCount; ++font) {
        const TPrintFontInfo info = PrintFontInfo(*PrintList, font);
        const int points = RoundEven(info.PointSize * Zoom);
        frame.Fonts[static_cast<size_t>(font)]
                = MakePrintFont(info, MulDiv(points, RoundEven(ppi), 72));
        if (font < PrintKindCount)
            frame.CodePages[static_cast<size_t>(font)] = info.CodePage;
    }
    // The headings stand under the header's sections.
    const int shift = HeaderControl->geometry().left() - PrintSheet->geometry().left();
    frame.HeadingEdges.push_back(shift);
    for (int i = 0; i < HeaderModel->columnCount(); ++i)
        frame.HeadingEdges.push_back(frame.HeadingEdges.back() + HeaderControl->sectionSize(i));

    const int page = std::clamp(CurrentPage, 1, static_cast<int>(Pages.size()));
    const TPageInfo &info = Pages[static_cast<size_t>(page - 1)];
    const int topShift = RoundEven(m.OffsetTop * toSheet);
    std::vector<int> baselines;
    baselines.reserve(info.BaseLines.size());
    for (const TBaseLine &line : info.BaseLines)
        baselines.push_back(RoundEven(line.Y * toSheet) + topShift);
    DrawPage(painter, frame, *PrintList, PrintSettings.Columns, info, baselines, page);
}

void TPrintPreviewForm::NextButtonClick()
{
    if (CurrentPage >= static_cast<int>(Pages.size()))
        return;
    ++CurrentPage;
    ShowPage();
}

void TPrintPreviewForm::PrevButtonClick()
{
    if (CurrentPage <= 1)
        return;
    --CurrentPage;
    ShowPage();
}

void TPrintPreviewForm::ZoomInButtonClick()
{
    Zoom = std::min(Zoom * ZoomStep, MaxZoom);
    ApplyZoom();
}

void TPrintPreviewForm::ZoomOutButtonClick()
{
    Zoom = std::max(Zoom / ZoomStep, MinZoom);
    ApplyZoom();
}

void TPrintPreviewForm::CloseButtonClick()
{
    reject();
}

void TPrintPreviewForm::SectionButtonClick(int kind)
{
    QToolButton *button = ColumnButton(kind);
    auto &columns = PrintSettings.Columns;
    const int used = UsedColumns(columns);
    if (button->isChecked()) {
        AddColumn(static_cast<uint8_t>(kind));
    } else if (used >= 2) {
        for (int i = 0; i < used; ++i) {
            if (columns[static_cast<size_t>(i)].Kind == kind) {
                RemoveColumn(i);
                break;
            }
        }
    } else {
        // The last column cannot be hidden.
        button->setChecked(true);
    }
}

void TPrintPreviewForm::AddColumn(uint8_t kind)
{
    for (int i = 0; i < UsedColumns(PrintSettings.Columns); ++i) {
        if (PrintSettings.Columns[static_cast<size_t>(i)].Kind == kind)
            return;
    }
    AddColumnShares(PrintSettings.Columns, kind);
    RebuildSections();
    PlaceHeader();
    Paginate();
    PrintSheet->update();
}

void TPrintPreviewForm::RemoveColumn(int index)
{
    RemoveColumnShares(PrintSettings.Columns, index);
    RebuildSections();
    PlaceHeader();
    Paginate();
    PrintSheet->update();
}

void TPrintPreviewForm::HeaderControlMouseMove(int x)
{
    const int sections = HeaderModel->columnCount();
    HoverSection = sections;
    for (int i = 0; i < sections; ++i) {
        if (HeaderControl->sectionViewportPosition(i) + HeaderControl->sectionSize(i) >= x) {
            HoverSection = i;
            break;
        }
    }
}

void TPrintPreviewForm::HeadersMenuPopup()
{
    const int sections = HeaderModel->columnCount();
    MIMoveLeft->setEnabled(HoverSection > 0 && HoverSection < sections);
    MIMoveRight->setEnabled(HoverSection < sections - 1);
}

void TPrintPreviewForm::MIMoveLeftClick()
{
    const int h = HoverSection;
    if (h <= 0 || h >= HeaderModel->columnCount())
        return;
    SwapColumns(PrintSettings.Columns, h - 1);
    RebuildSections();
    PlaceHeader();
    PrintSheet->update();
}

void TPrintPreviewForm::MIMoveRightClick()
{
    const int h = HoverSection;
    if (h < 0 || h + 1 >= HeaderModel->columnCount())
        return;
    SwapColumns(PrintSettings.Columns, h);
    RebuildSections();
    PlaceHeader();
    PrintSheet->update();
}

void TPrintPreviewForm::HeaderControlSectionResize(int index, int width)
{
    const int sections = HeaderModel->columnCount();
    if (index < 0 || index >= sections)
        return;
    if (index + 1 < sections) {
        ResizeColumnShares(PrintSettings.Columns, index, width, HeaderControl->width());
        PlaceHeader();
        Paginate();
    } else {
        // The last section's width is what the others leave.
        PlaceHeader();
    }
    PrintSheet->update();
}

// Printing: the dialog, the check that the page is the one laid out, and the job. A changed
// page prints nothing and shows the preview of the new one; a job that fails is reported and
// leaves the preview open.
void TPrintPreviewForm::PrintButtonClick()
{
    if (!PrintList || PrintFirst > PrintLast || Pages.empty())
        return;
    QPrinter &printer = SharedPrinter();
    const int pages = static_cast<int>(Pages.size());
    if (!PrintDialog().Execute(printer, this, PrintDialogSetup(pages)))
        return;
    const TPrinterMetrics now = ReadPrinterMetrics(printer);
    if (!PageMatches(PrinterMetrics, now)) {
        ShowError(PackText(TEntry::PrintPageChanged));
        FormShow();
        return;
    }
    const auto [from, to] = PrintRange(printer, pages);
    // The range was for this job: the next dialog of the shared printer starts from all pages.
    printer.setPrintRange(QPrinter::AllPages);
    printer.setFromTo(0, 0);
    const QString failure = PrintPages(printer, *PrintList, PrintSettings.Columns, Pages,
                                       PrinterMetrics, now, from, to);
    if (!failure.isEmpty()) {
        ShowError(failure);
        return;
    }
    done(mrOk);
}
