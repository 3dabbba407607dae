// The print preview window and the print job, offscreen. Jobs print to
// PDF through the shared printer and are read back with poppler's pdfinfo and pdftotext.

#include "core/LanguageEntries.h"
#include "core/ModalResult.h"
#include "core/Unit_GlobalSettings.h"
#include "core/Unit_WordList.h"
#include "grid/WordsGrid.h"
#include "mainwindow/Main.h"
#include "mainwindow/ProgramStart.h"
#include "print/Unit_Print.h"
#include "print/Unit_PrintLayout.h"
#include "print/Unit_PrintPreviewForm.h"
#include "support/ScriptedMessageBox.h"
#include "support/WordListFixtures.h"
#include "support/gui/ProgramFixture.h"
#include "ui_MainForm.h"
#include "ui_PrintPreviewForm.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QHeaderView>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

// Stands in for the print dialog: answers as told and lets the test act as the user would in
// it (choose pages, another paper).
class TScriptedPrintDialog : public IPrintDialog
{
public:
    TScriptedPrintDialog() { previous = SetPrintDialog(this); }
    ~TScriptedPrintDialog() override { SetPrintDialog(previous); }
    TScriptedPrintDialog(const TScriptedPrintDialog &) = delete;
    TScriptedPrintDialog &operator=(const TScriptedPrintDialog &) = delete;

    bool Execute(QPrinter &printer, QWidget *, const TPrintDialogSetup &setup) override
    {
        Setups.push_back(setup);
        if (OnExecute)
            OnExecute(printer);
        return Accept;
    }
    bool Setup(QPrinter &printer, QWidget *) override
    {
        SetupPrinters.push_back(&printer);
        return Accept;
    }

    bool Accept = true;
    std::function<void(QPrinter &)> OnExecute;
    std::vector<TPrintDialogSetup> Setups;
    std::vector<QPrinter *> SetupPrinters;

private:
    IPrintDialog *previous = nullptr;
};

// What a poppler tool prints about a file; fails the test when the tool is missing.
QString RunTool(const QString &tool, const QStringList &arguments)
{
    if (QStandardPaths::findExecutable(tool).isEmpty()) {
        ADD_FAILURE() << tool.toStdString()
                      << " is missing: tools/install-deps.sh installs poppler-utils";
        return {};
    }
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        ADD_FAILURE() << tool.toStdString()
                      << " failed: " << process.readAllStandardError().toStdString();
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString PdfInfo(const QString &path, const QString &field)
{
    const QRegularExpression line(QStringLiteral("^%1:\\s*(.*)$").arg(field),
                                  QRegularExpression::MultilineOption);
    return line.match(RunTool(QStringLiteral("pdfinfo"), {path})).captured(1).trimmed();
}

// The text of each page as laid out (pdftotext -layout).
QStringList PdfPages(const QString &path)
{
    QStringList pages = RunTool(QStringLiteral("pdftotext"),
                                {QStringLiteral("-layout"), path, QStringLiteral("-")})
                                .split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.back().trimmed().isEmpty())
        pages.pop_back();
    return pages;
}

struct TPdfWord
{
    double X = 0;
    double Y = 0;
    QString Text;
};

// The words of each page with their positions in points (pdftotext -bbox).
std::vector<std::vector<TPdfWord>> PdfWords(const QString &path)
{
    const QString html = RunTool(QStringLiteral("pdftotext"),
                                 {QStringLiteral("-bbox"), path, QStringLiteral("-")});
    std::vector<std::vector<TPdfWord>> pages;
    static const QRegularExpression tag(QStringLiteral(
            "<page |<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\"[^>]*>([^<]*)</word>"));
    auto matches = tag.globalMatch(html);
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        if (match.captured(0).startsWith(QLatin1String("<page"))) {
            pages.emplace_back();
        } else if (!pages.empty()) {
            pages.back().push_back({match.captured(1).toDouble(), match.captured(2).toDouble(),
                                    match.captured(3)});
        }
    }
    return pages;
}

const TPdfWord *FindWord(const std::vector<TPdfWord> &words, const QString &text)
{
    for (const TPdfWord &word : words) {
        if (word.Text == text)
            return &word;
    }
    return nullptr;
}

// The last line of a page's text with something on it.
QString LastLine(const QString &page)
{
    QStringList lines = page.split(QLatin1Char('\n'));
    while (!lines.isEmpty() && lines.back().trimmed().isEmpty())
        lines.pop_back();
    return lines.isEmpty() ? QString() : lines.back().simplified();
}

QString FirstLine(const QString &page)
{
    for (const QString &line : page.split(QLatin1Char('\n'))) {
        if (!line.trimmed().isEmpty())
            return line.simplified();
    }
    return {};
}

bool IsWhite(QRgb pixel)
{
    return qRed(pixel) > 250 && qGreen(pixel) > 250 && qBlue(pixel) > 250;
}

// The preview of a list of its own on a PDF-backed shared printer (A4), at 96 screen pixels per
// inch, with a pack whose column names and status line read as the Dutch pack's.
class PrintPreview : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetDefaultSettings();
        pack.Set(static_cast<int>(TEntry::ContextHeader), "Context");
        // Short enough for the column of a tenth: pdftotext reads a clipped heading whole.
        pack.Set(static_cast<int>(TEntry::PartOfSpeechHeader), "Soort");
        pack.Set(static_cast<int>(TEntry::LessonHeader), "Les");
        pack.Set(static_cast<int>(TEntry::PreviewPageStatus), "Pagina %p% van %ps%");
        pack.Set(static_cast<int>(TEntry::PrintPageChanged), "Het papier is gewijzigd.");
        ResetSharedPrinter();
        Printer().setOutputFileName(Output());
        Printer().setPageSize(QPageSize(QPageSize::A4));
        Printer().setPageOrientation(QPageLayout::Portrait);
        Form = std::make_unique<TPrintPreviewForm>();
        Form->ApplyLanguage();
        Form->SetScreenPpi(96);
        Form->resize(800, 600);
    }
    void TearDown() override
    {
        Form.reset();
        PrintList = nullptr;
        ResetSharedPrinter();
        SetDefaultSettings();
    }

    static QPrinter &Printer() { return SharedPrinter(); }
    QString Output() const { return dir.filePath(QStringLiteral("out.pdf")); }

    // Shows the preview of words first..last of the list.
    void Show(TWordList &list, int first, int last)
    {
        PrintList = &list;
        PrintFirst = first;
        PrintLast = last;
        Form->show();
        QCoreApplication::processEvents();
    }

    // A list named "Woordenlijst": foreign words "mot<n>", reference words "woord<n>", parts of
    // speech "zn" and lessons "L<n % 9>".
    std::unique_ptr<TWordList> List(int words)
    {
        auto list = TListBuilder()
                            .Languages("Frans", 0, "Nederlands", 0)
                            .Words(words, "mot#", "woord#")
                            .PartOfSpeech("zn")
                            .Take();
        for (int i = 0; i < words; ++i)
            list->SetLesson(i, "L" + std::to_string(i % 9));
        list->FileName = "/lijsten/Woordenlijst.wdl";
        return list;
    }

    Ui::TPrintPreviewForm &ui() { return *Form->ui; }

    QTemporaryDir dir;
    TNumberedPack pack;
    TScriptedPrintDialog dialog;
    TScriptedBox box;
    std::unique_ptr<TPrintPreviewForm> Form;
};

} // namespace

TEST_F(PrintPreview, OpensOnTheWholeFirstPageCentredAtTheFittingZoom)
{
    auto list = List(220);
    Show(*list, 0, 219);
    EXPECT_EQ(PrinterMetrics, ReadPrinterMetrics(Printer()));
    EXPECT_EQ(PrinterMetrics.LogPixelsY, 1200);
    EXPECT_EQ(Zoom, MinZoom);
    EXPECT_GT(Zoom, 0.0);
    EXPECT_FALSE(ui().ZoomOutButton->isEnabled());
    EXPECT_TRUE(ui().ZoomInButton->isEnabled());
    const QRect sheet = Form->PrintSheet->geometry();
    const QSize box = ui().ScrollBox->maximumViewportSize();
    // Fitted by height, centred across.
    EXPECT_EQ(sheet.bottom(), box.height() - 17);
    EXPECT_LE(std::abs(sheet.left() - (box.width() - sheet.right() - 1)), 1);
    EXPECT_EQ(sheet.top() - Form->HeaderControl->height(), Form->HeaderControl->y());
    EXPECT_EQ(Form->HeaderControl->x(), sheet.left() + Form->InchToSheet(0.8));
    EXPECT_EQ(CurrentPage, 1);
    EXPECT_EQ(Pages.size(), 5u);
    EXPECT_EQ(Form->StatusText(), QStringLiteral("Pagina 1 van 5"));
    EXPECT_TRUE(ui().NextButton->isEnabled());
    EXPECT_FALSE(ui().PrevButton->isEnabled());
    EXPECT_TRUE(ui().PrintButton->isEnabled());
    EXPECT_TRUE(ui().PrintButton->isDefault());
    EXPECT_EQ(ui().ForLangButton->text(), QStringLiteral("Frans"));
    EXPECT_EQ(ui().RefLangButton->text(), QStringLiteral("Nederlands"));
    for (int kind = 0; kind < PrintKindCount; ++kind)
        EXPECT_TRUE(Form->ColumnButton(kind)->isChecked());
    ASSERT_EQ(Form->HeaderControl->count(), 5);
    EXPECT_EQ(Form->HeaderControl->model()->headerData(2, Qt::Horizontal).toString(),
              QStringLiteral("Context"));
    EXPECT_FALSE(Form->HeaderControl->sectionsClickable());
    EXPECT_EQ(Form->HeaderControl->defaultAlignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    EXPECT_EQ(Form->property("HelpContext").toInt(), 2300);
    EXPECT_EQ(Form->HeadersMenu->property("HelpContext").toInt(), 2301);
}

TEST_F(PrintPreview, TwoZoomInsGiveTwoAndAQuarterTimesTheFitThenTheRealSize)
{
    auto list = List(10);
    Show(*list, 0, 9);
    const double fit = MinZoom;
    ASSERT_LT(fit * 2.25, 1.0);
    ui().ZoomInButton->click();
    ui().ZoomInButton->click();
    EXPECT_DOUBLE_EQ(Zoom, fit * 2.25);
    EXPECT_TRUE(ui().ZoomInButton->isEnabled());
    EXPECT_TRUE(ui().ZoomOutButton->isEnabled());
    const QSize before = Form->PrintSheet->size();
    ui().ZoomInButton->click();
    EXPECT_EQ(Zoom, 1.0);
    EXPECT_FALSE(ui().ZoomInButton->isEnabled());
    // The paper's size at 96 pixels per inch.
    EXPECT_EQ(Form->PrintSheet->width(), RoundEven(PrinterMetrics.PhysicalWidth / 1200.0 * 96));
    EXPECT_EQ(Form->PrintSheet->height(), RoundEven(PrinterMetrics.PhysicalHeight / 1200.0 * 96));
    EXPECT_GT(Form->PrintSheet->width(), before.width());
    // A sheet larger than the frame starts at its corner.
    EXPECT_EQ(Form->PrintSheet->x(), 16);
    ui().ZoomOutButton->click();
    ui().ZoomOutButton->click();
    ui().ZoomOutButton->click();
    ui().ZoomOutButton->click();
    EXPECT_EQ(Zoom, fit);
    EXPECT_FALSE(ui().ZoomOutButton->isEnabled());
    // Zooming never pages again.
    EXPECT_EQ(Pages.size(), 1u);
}

TEST_F(PrintPreview, EnlargingRaisesTheZoomShrinkingKeepsIt)
{
    auto list = List(10);
    Show(*list, 0, 9);
    const double small = Zoom;
    Form->resize(1000, 900);
    QCoreApplication::processEvents();
    const double large = Zoom;
    EXPECT_GT(large, small);
    EXPECT_EQ(large, MinZoom);
    Form->resize(700, 500);
    QCoreApplication::processEvents();
    EXPECT_EQ(Zoom, large);
    EXPECT_LT(MinZoom, large);
    EXPECT_TRUE(ui().ZoomOutButton->isEnabled());
}

TEST_F(PrintPreview, PagingWalksThePagesAndNamesThemInTheStatusLine)
{
    auto list = List(220);
    Show(*list, 0, 219);
    ui().NextButton->click();
    EXPECT_EQ(CurrentPage, 2);
    EXPECT_EQ(Form->StatusText(), QStringLiteral("Pagina 2 van 5"));
    EXPECT_TRUE(ui().PrevButton->isEnabled());
    ui().NextButton->click();
    ui().NextButton->click();
    ui().NextButton->click();
    EXPECT_EQ(CurrentPage, 5);
    EXPECT_FALSE(ui().NextButton->isEnabled());
    ui().PrevButton->click();
    EXPECT_EQ(Form->StatusText(), QStringLiteral("Pagina 4 van 5"));
}

TEST_F(PrintPreview, OnePageLeavesBothPageButtonsOff)
{
    auto list = List(3);
    Show(*list, 0, 2);
    EXPECT_EQ(Pages.size(), 1u);
    EXPECT_FALSE(ui().NextButton->isEnabled());
    EXPECT_FALSE(ui().PrevButton->isEnabled());
    EXPECT_EQ(Form->StatusText(), QStringLiteral("Pagina 1 van 1"));
}

TEST_F(PrintPreview, AnEmptyListShowsOneEmptyPageAndCannotBePrinted)
{
    auto list = List(0);
    Show(*list, 0, -1);
    ASSERT_EQ(Pages.size(), 1u);
    EXPECT_TRUE(Pages[0].Lines.empty());
    EXPECT_FALSE(ui().PrintButton->isEnabled());
    EXPECT_EQ(Form->StatusText(), QStringLiteral("Pagina 1 van 1"));
    Form->PrintButtonClick();
    EXPECT_TRUE(dialog.Setups.empty());
}

TEST_F(PrintPreview, HidingTheOnlyColumnLeavesItShown)
{
    PrintSettings.Columns = {{{pkRefWord, 1.0}, {5, 0.0}, {5, 0.0}, {5, 0.0}, {5, 0.0}}};
    auto list = List(3);
    Show(*list, 0, 2);
    EXPECT_TRUE(ui().RefLangButton->isChecked());
    EXPECT_FALSE(ui().ForLangButton->isChecked());
    ui().RefLangButton->click();
    EXPECT_TRUE(ui().RefLangButton->isChecked());
    EXPECT_EQ(PrintSettings.Columns[0].Kind, pkRefWord);
    EXPECT_EQ(PrintSettings.Columns[0].Width, 1.0);
    EXPECT_EQ(Form->HeaderControl->count(), 1);
}

TEST_F(PrintPreview, TogglesAddAndRemoveColumnsAndPageAgain)
{
    PrintSettings.Columns
            = {{{pkForWord, 0.4}, {pkRefWord, 0.3}, {pkContext, 0.3}, {5, 0.0}, {5, 0.0}}};
    auto list = List(3);
    Show(*list, 0, 2);
    EXPECT_EQ(Pages[0].Lines[0].Lesson, "");
    ui().LessonButton->click();
    EXPECT_EQ(Form->HeaderControl->count(), 4);
    EXPECT_EQ(PrintSettings.Columns[3].Kind, pkLesson);
    EXPECT_DOUBLE_EQ(PrintSettings.Columns[0].Width, 0.3);
    EXPECT_DOUBLE_EQ(PrintSettings.Columns[3].Width, 0.25);
    EXPECT_EQ(Pages[0].Lines[0].Lesson, "L0");
    const int header = Form->HeaderControl->width();
    EXPECT_EQ(Form->HeaderControl->sectionSize(0), RoundEven(header * 0.3));
    ui().ForLangButton->click();
    EXPECT_EQ(Form->HeaderControl->count(), 3);
    EXPECT_EQ(PrintSettings.Columns[0].Kind, pkRefWord);
    EXPECT_EQ(PrintSettings.Columns[3].Kind, pkUnused);
    EXPECT_EQ(Pages[0].Lines[0].ForWord, "");
    EXPECT_EQ(PrintSettings.Columns[0].Width + PrintSettings.Columns[1].Width
                      + PrintSettings.Columns[2].Width,
              1.0);
}

TEST_F(PrintPreview, TheMoveCommandsAreOffAtTheEnds)
{
    auto list = List(3);
    Show(*list, 0, 2);
    QHeaderView &header = *Form->HeaderControl;
    Form->HeaderControlMouseMove(header.sectionSize(0) / 2);
    EXPECT_EQ(Form->HoverSection, 0);
    Form->HeadersMenuPopup();
    EXPECT_FALSE(Form->MIMoveLeft->isEnabled());
    EXPECT_TRUE(Form->MIMoveRight->isEnabled());
    Form->HeaderControlMouseMove(header.sectionViewportPosition(4) + 2);
    EXPECT_EQ(Form->HoverSection, 4);
    Form->HeadersMenuPopup();
    EXPECT_TRUE(Form->MIMoveLeft->isEnabled());
    EXPECT_FALSE(Form->MIMoveRight->isEnabled());
    Form->HeaderControlMouseMove(header.width() + 50);
    EXPECT_EQ(Form->HoverSection, 5);
    Form->HeadersMenuPopup();
    EXPECT_FALSE(Form->MIMoveLeft->isEnabled());
    EXPECT_FALSE(Form->MIMoveRight->isEnabled());
}

TEST_F(PrintPreview, MovingAColumnTakesItsShareAlongAndKeepsThePages)
{
    auto list = List(3);
    Show(*list, 0, 2);
    const std::string wrapped = Pages[0].Lines[1].RefWord;
    QHeaderView &header = *Form->HeaderControl;
    Form->HeaderControlMouseMove(header.sectionViewportPosition(2) + 1);
    Form->MIMoveLeft->trigger();
    EXPECT_EQ(PrintSettings.Columns[1].Kind, pkContext);
    EXPECT_EQ(PrintSettings.Columns[2].Kind, pkRefWord);
    EXPECT_DOUBLE_EQ(PrintSettings.Columns[1].Width, 0.3);
    EXPECT_DOUBLE_EQ(PrintSettings.Columns[2].Width, 0.25);
    EXPECT_EQ(header.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Context"));
    EXPECT_EQ(Pages[0].Lines[1].RefWord, wrapped);
    Form->HeaderControlMouseMove(header.sectionViewportPosition(3) + 1);
    Form->MIMoveRight->trigger();
    EXPECT_EQ(PrintSettings.Columns[3].Kind, pkLesson);
    EXPECT_EQ(PrintSettings.Columns[4].Kind, pkPartOfSpeech);
    double sum = 0.0;
    for (const TPrintColumn &column : PrintSettings.Columns)
        sum += column.Width;
    EXPECT_EQ(sum, 1.0);
}

TEST_F(PrintPreview, DraggingASectionChangesItsShareWhenTheButtonIsReleased)
{
    PrintSettings.Columns
            = {{{pkForWord, 0.4}, {pkRefWord, 0.3}, {pkContext, 0.3}, {5, 0.0}, {5, 0.0}}};
    auto list = List(3);
    Show(*list, 0, 2);
    QHeaderView &header = *Form->HeaderControl;
    QWidget *viewport = header.viewport();
    const int edge = header.sectionSize(0) - 1;
    const int y = header.height() / 2;
    QTest::mousePress(viewport, Qt::LeftButton, {}, QPoint(edge, y));
    QTest::mouseMove(viewport, QPoint(edge - 20, y));
    QTest::mouseMove(viewport, QPoint(edge - 40, y));
    EXPECT_EQ(PrintSettings.Columns[0].Width, 0.4);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(edge - 40, y));
    EXPECT_LT(PrintSettings.Columns[0].Width, 0.4);
    EXPECT_GT(PrintSettings.Columns[1].Width, 0.3);
    EXPECT_DOUBLE_EQ(PrintSettings.Columns[2].Width, 0.3);
    EXPECT_EQ(PrintSettings.Columns[0].Width + PrintSettings.Columns[1].Width
                      + PrintSettings.Columns[2].Width,
              1.0);

    // Below a tenth it stops there; the last section snaps back.
    Form->HeaderControlSectionResize(0, 3);
    EXPECT_DOUBLE_EQ(PrintSettings.Columns[0].Width, 0.1);
    const auto before = PrintSettings.Columns;
    header.resizeSection(2, 10);
    Form->HeaderControlSectionResize(2, 10);
    EXPECT_EQ(header.sectionSize(2),
              header.width() - header.sectionSize(0) - header.sectionSize(1));
    EXPECT_EQ(PrintSettings.Columns[2].Width, before[2].Width);
}

TEST_F(PrintPreview, TheSheetIsWhiteOutsideTheMarginsWithInkInside)
{
    auto list = List(60);
    Show(*list, 0, 59);
    ui().ZoomInButton->click();
    const QImage image = Form->PrintSheet->grab().toImage();
    ASSERT_FALSE(image.isNull());
    const int margin = Form->InchToSheet(0.8);
    bool inkInside = false;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const bool inside = x >= margin && x < image.width() - margin && y >= margin
                    && y < image.height() - margin;
            const bool white = IsWhite(image.pixel(x, y));
            if (!inside) {
                ASSERT_TRUE(white) << x << "," << y << " margin " << margin;
            }
            inkInside = inkInside || !white;
        }
    }
    EXPECT_TRUE(inkInside);
}

TEST_F(PrintPreview, PrintingWithoutChangesPrintsEveryPage)
{
    auto list = List(220);
    Show(*list, 0, 219);
    Form->PrintButtonClick();
    ASSERT_EQ(dialog.Setups.size(), 1u);
    EXPECT_EQ(dialog.Setups[0], (TPrintDialogSetup{true, 1, 5, 1, 5}));
    EXPECT_EQ(Form->result(), mrOk);
    EXPECT_FALSE(Form->isVisible());
    EXPECT_TRUE(box.Texts.empty());
    EXPECT_EQ(PdfInfo(Output(), QStringLiteral("Pages")), QStringLiteral("5"));
    EXPECT_EQ(PdfInfo(Output(), QStringLiteral("Title")),
              QStringLiteral("Tarnwick - Woordenlijst"));

    // Every page: the headings on top, then the rows in order, the footer with name and number.
    const QStringList pages = PdfPages(Output());
    ASSERT_EQ(pages.size(), 5);
    const auto words = PdfWords(Output());
    ASSERT_EQ(words.size(), 5u);
    int next = 0;
    for (int p = 0; p < 5; ++p) {
        EXPECT_EQ(FirstLine(pages[p]), QStringLiteral("Frans Nederlands Context Soort Les"))
                << pages[p].left(300).toStdString();
        EXPECT_EQ(LastLine(pages[p]), QStringLiteral("Woordenlijst %1").arg(p + 1));
        double lastY = 0;
        for (const TPageInfo &page = Pages[static_cast<size_t>(p)];
             const TPrintWord &row : page.Lines) {
            const TPdfWord *word
                    = FindWord(words[static_cast<size_t>(p)], QString::fromStdString(row.ForWord));
            ASSERT_NE(word, nullptr) << row.ForWord;
            EXPECT_EQ(row.ForWord, "mot" + std::to_string(next));
            EXPECT_GT(word->Y, lastY);
            lastY = word->Y;
            ++next;
        }
    }
    EXPECT_EQ(next, 220);

    // The columns stand where their shares put them: 0.8 in from the edge, then 0.25, 0.25,
    // 0.3 and 0.1 of the printed width (A4: 595.3 points wide).
    const double width = 595.28 - 2 * 57.6;
    const std::vector<TPdfWord> &first = words[0];
    const TPdfWord *forWord = FindWord(first, QStringLiteral("mot0"));
    const TPdfWord *refWord = FindWord(first, QStringLiteral("woord0"));
    const TPdfWord *partOfSpeech = FindWord(first, QStringLiteral("zn"));
    const TPdfWord *lesson = FindWord(first, QStringLiteral("L0"));
    ASSERT_TRUE(forWord && refWord && partOfSpeech && lesson);
    EXPECT_NEAR(forWord->X, 57.6, 1.5);
    EXPECT_NEAR(refWord->X, 57.6 + 0.25 * width, 1.5);
    EXPECT_NEAR(partOfSpeech->X, 57.6 + 0.8 * width, 1.5);
    EXPECT_NEAR(lesson->X, 57.6 + 0.9 * width, 1.5);
    EXPECT_NEAR(forWord->Y, refWord->Y, 1.0);
    const TPdfWord *heading = FindWord(first, QStringLiteral("Les"));
    ASSERT_TRUE(heading);
    EXPECT_NEAR(heading->X, 57.6 + 0.9 * width, 1.5);
}

TEST_F(PrintPreview, PagesTwoToThreeOfFivePrintThosePages)
{
    auto list = List(220);
    Show(*list, 0, 219);
    dialog.OnExecute = [](QPrinter &printer) {
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(2, 3);
    };
    Form->PrintButtonClick();
    EXPECT_EQ(Form->result(), mrOk);
    EXPECT_EQ(PdfInfo(Output(), QStringLiteral("Pages")), QStringLiteral("2"));
    EXPECT_EQ(PdfInfo(Output(), QStringLiteral("Title")),
              QStringLiteral("Tarnwick - Woordenlijst"));
    const QStringList pages = PdfPages(Output());
    ASSERT_EQ(pages.size(), 2);
    EXPECT_EQ(LastLine(pages[0]), QStringLiteral("Woordenlijst 2"));
    EXPECT_EQ(LastLine(pages[1]), QStringLiteral("Woordenlijst 3"));
    EXPECT_TRUE(pages[0].contains(QString::fromStdString(Pages[1].Lines[0].ForWord)));
    // The next dialog of the shared printer starts again from every page.
    EXPECT_EQ(Printer().printRange(), QPrinter::AllPages);
}

TEST_F(PrintPreview, AWordWiderThanItsColumnIsBrokenOverLines)
{
    PrintSettings.Columns = {{{pkForWord, 0.1}, {pkRefWord, 0.9}, {5, 0.0}, {5, 0.0}, {5, 0.0}}};
    auto list = List(2);
    const std::string longWord = "Donaudampfschifffahrtsgesellschaftskapitaen";
    list->SetForWord(1, longWord);
    Show(*list, 0, 1);
    const std::string wrapped = Pages[0].Lines[1].ForWord;
    ASSERT_GE(LineCount(wrapped), 3);
    Form->PrintButtonClick();
    const auto words = PdfWords(Output());
    ASSERT_EQ(words.size(), 1u);
    // The second row's lines, one under the other in the first column.
    const TPdfWord *second = FindWord(words[0], QStringLiteral("woord1"));
    ASSERT_TRUE(second);
    const double columnRight = 57.6 + 0.1 * (595.28 - 115.2) - 3;
    QString joined;
    double lastY = 0;
    int lines = 0;
    for (const TPdfWord &word : words[0]) {
        if (word.X < columnRight && word.Y >= second->Y - 0.5
            && word.Text != QStringLiteral("Woordenlijst")) {
            EXPECT_GT(word.Y, lastY);
            lastY = word.Y;
            joined += word.Text;
            ++lines;
        }
    }
    EXPECT_EQ(joined, QString::fromStdString(longWord));
    EXPECT_EQ(lines, LineCount(wrapped));
}

TEST_F(PrintPreview, ARowTallerThanAPageGetsAPageOfItsOwn)
{
    PrintSettings.Columns = {{{pkForWord, 0.5}, {pkContext, 0.5}, {5, 0.0}, {5, 0.0}, {5, 0.0}}};
    auto list = List(3);
    std::string context;
    for (int i = 0; i < 400; ++i)
        context += "regel" + std::to_string(i) + "\r\n";
    list->SetContext(1, context);
    Show(*list, 0, 2);
    ASSERT_EQ(Pages.size(), 3u);
    Form->PrintButtonClick();
    EXPECT_EQ(PdfInfo(Output(), QStringLiteral("Pages")), QStringLiteral("3"));
    const auto words = PdfWords(Output());
    ASSERT_EQ(words.size(), 3u);
    EXPECT_TRUE(FindWord(words[0], QStringLiteral("mot0")));
    EXPECT_TRUE(FindWord(words[1], QStringLiteral("mot1")));
    EXPECT_TRUE(FindWord(words[1], QStringLiteral("regel0")));
    EXPECT_TRUE(FindWord(words[2], QStringLiteral("mot2")));
    // Clipped above the footer, which still reads the name and the number.
    const QStringList pages = PdfPages(Output());
    EXPECT_EQ(LastLine(pages[1]), QStringLiteral("Woordenlijst 2"));
    EXPECT_EQ(FirstLine(pages[1]), QStringLiteral("Frans Context"));
}

TEST_F(PrintPreview, AnEmptyLayoutPrintsOnePageWithHeadingsAndFooter)
{
    auto list = List(0);
    Show(*list, 0, -1);
    const QString failure = PrintPages(Printer(), *list, PrintSettings.Columns, Pages,
                                       PrinterMetrics, ReadPrinterMetrics(Printer()), 1, 1);
    EXPECT_EQ(failure, QString());
    EXPECT_EQ(PdfInfo(Output(), QStringLiteral("Pages")), QStringLiteral("1"));
    const QStringList pages = PdfPages(Output());
    ASSERT_EQ(pages.size(), 1);
    EXPECT_EQ(FirstLine(pages[0]), QStringLiteral("Frans Nederlands Context Soort Les"));
    EXPECT_EQ(LastLine(pages[0]), QStringLiteral("Woordenlijst 1"));
}

// A layout made at 600 dpi printed at 600 dpi and, after the dialog chose 1200 dpi on the same
// paper, at 1200: no message, and every text where it was (its baselines doubled).
TEST_F(PrintPreview, TwiceTheResolutionPrintsTheSamePageWithBaselinesDoubled)
{
    auto list = List(30);
    Printer().setResolution(600);
    Show(*list, 0, 29);
    ASSERT_EQ(PrinterMetrics.LogPixelsY, 600);
    Form->PrintButtonClick();
    ASSERT_EQ(Form->result(), mrOk);
    const auto low = PdfWords(Output());
    ASSERT_TRUE(QFile::remove(Output()));

    Form->show();
    ASSERT_EQ(PrinterMetrics.LogPixelsY, 600);
    dialog.OnExecute = [](QPrinter &printer) { printer.setResolution(1200); };
    Form->PrintButtonClick();
    EXPECT_TRUE(box.Texts.empty());
    EXPECT_EQ(Form->result(), mrOk);
    const auto high = PdfWords(Output());
    ASSERT_EQ(low.size(), 1u);
    ASSERT_EQ(high.size(), 1u);
    ASSERT_EQ(low[0].size(), high[0].size());
    for (size_t i = 0; i < low[0].size(); ++i) {
        EXPECT_EQ(low[0][i].Text, high[0][i].Text);
        EXPECT_NEAR(low[0][i].Y, high[0][i].Y, 0.3) << low[0][i].Text.toStdString();
        EXPECT_NEAR(low[0][i].X, high[0][i].X, 0.3) << low[0][i].Text.toStdString();
    }
}

TEST_F(PrintPreview, AnotherPaperPrintsNothingAndShowsTheNewPageFromPageOne)
{
    auto list = List(220);
    Show(*list, 0, 219);
    ui().NextButton->click();
    ui().NextButton->click();
    dialog.OnExecute
            = [](QPrinter &printer) { printer.setPageOrientation(QPageLayout::Landscape); };
    Form->PrintButtonClick();
    EXPECT_EQ(box.TextsWith(TMessageIcon::Stop),
              std::vector<std::string>{"Het papier is gewijzigd."});
    EXPECT_FALSE(QFile::exists(Output()));
    EXPECT_TRUE(Form->isVisible());
    EXPECT_EQ(CurrentPage, 1);
    EXPECT_GT(PrinterMetrics.PhysicalWidth, PrinterMetrics.PhysicalHeight);
    EXPECT_GT(Pages.size(), 5u);
    EXPECT_EQ(Form->StatusText(), QStringLiteral("Pagina 1 van %1").arg(Pages.size()));

    // The preview of the new page prints.
    dialog.OnExecute = nullptr;
    Form->PrintButtonClick();
    EXPECT_EQ(Form->result(), mrOk);
    EXPECT_EQ(PdfInfo(Output(), QStringLiteral("Pages")), QString::number(Pages.size()));
}

TEST_F(PrintPreview, AFileThatCannotBeWrittenIsReportedAndThePreviewStays)
{
    auto list = List(5);
    Printer().setOutputFileName(QStringLiteral("/proc/geen/map/out.pdf"));
    Show(*list, 0, 4);
    Form->PrintButtonClick();
    EXPECT_EQ(
            box.TextsWith(TMessageIcon::Stop),
            std::vector<std::string>{"The file \"/proc/geen/map/out.pdf\" could not be written."});
    EXPECT_TRUE(Form->isVisible());
    EXPECT_EQ(Form->result(), 0);
}

TEST_F(PrintPreview, ACancelledDialogPrintsNothing)
{
    auto list = List(5);
    Show(*list, 0, 4);
    dialog.Accept = false;
    Form->PrintButtonClick();
    EXPECT_FALSE(QFile::exists(Output()));
    EXPECT_TRUE(Form->isVisible());
    EXPECT_TRUE(box.Texts.empty());
}

TEST(PrintJob, WithoutAPrinterOrAFileTheMessageSaysSo)
{
    auto list = FrenchList(3);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const TPrinterMetrics metrics = ReadPrinterMetrics(printer);
    const std::vector<TPageInfo> pages(1);
    EXPECT_EQ(PrintPages(printer, *list, TPrintSettings().Columns, pages, metrics, metrics, 1, 1),
              QStringLiteral("No printer is available. Install a printer, or choose to print to "
                             "a file."));

    // What any job of the program (the keyboard chart's too) starts with.
    QPainter painter;
    EXPECT_EQ(BeginPrintJob(painter, printer, QStringLiteral("Kaart")),
              QStringLiteral("No printer is available. Install a printer, or choose to print to "
                             "a file."));
    EXPECT_FALSE(painter.isActive());
    QTemporaryDir dir;
    printer.setOutputFileName(dir.filePath(QStringLiteral("geen/kaart.pdf")));
    EXPECT_EQ(BeginPrintJob(painter, printer, QStringLiteral("Kaart")),
              QStringLiteral("The file \"%1\" could not be written.")
                      .arg(dir.filePath(QStringLiteral("geen/kaart.pdf"))));
    const QString file = dir.filePath(QStringLiteral("kaart.pdf"));
    printer.setOutputFileName(file);
    ASSERT_EQ(BeginPrintJob(painter, printer, QStringLiteral("Tarnwick - Kaart")), QString());
    EXPECT_TRUE(painter.isActive());
    painter.drawText(QPoint(600, 600), QStringLiteral("Toetsen"));
    ASSERT_TRUE(painter.end());
    EXPECT_EQ(PdfInfo(file, QStringLiteral("Title")), QStringLiteral("Tarnwick - Kaart"));
    EXPECT_EQ(PdfPages(file).join(QString()).trimmed(), QStringLiteral("Toetsen"));
}

TEST_F(PrintPreview, TheGridPrintsItsSelectedRowsOrEveryWord)
{
    TWordsGrid grid;
    grid.resize(600, 300);
    grid.SetWordList(List(6));
    TPrintPreviewForm *previous = std::exchange(PrintPreviewForm, Form.get());
    grid.SelectRows(2, false, false);
    grid.SelectRows(3, true, false);
    int first = -1;
    int last = -1;
    QTimer::singleShot(0, Form.get(), [&] {
        first = PrintFirst;
        last = PrintLast;
        Form->PrintButtonClick();
    });
    EXPECT_EQ(grid.Print(), mrOk);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(last, 2);
    EXPECT_EQ(PrintList, nullptr);
    QString text = PdfPages(Output()).join(QString());
    EXPECT_TRUE(text.contains(QStringLiteral("mot1")));
    EXPECT_TRUE(text.contains(QStringLiteral("mot2")));
    EXPECT_FALSE(text.contains(QStringLiteral("mot0")));
    EXPECT_FALSE(text.contains(QStringLiteral("mot3")));

    grid.SelectCellAt(1, 1);
    QTimer::singleShot(0, Form.get(), [&] {
        first = PrintFirst;
        last = PrintLast;
        Form->PrintButtonClick();
    });
    EXPECT_EQ(grid.Print(), mrOk);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(last, 5);
    text = PdfPages(Output()).join(QString());
    EXPECT_TRUE(text.contains(QStringLiteral("mot0")));
    EXPECT_TRUE(text.contains(QStringLiteral("mot5")));

    // Closed without printing: cancel.
    QTimer::singleShot(0, Form.get(), [&] { Form->ui->CloseButton->click(); });
    EXPECT_EQ(grid.Print(), mrCancel);
    PrintPreviewForm = previous;
}

namespace {

class PrintCommands : public ProgramFixture
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(ProgramFixture::SetUp());
        CreateProgram();
        ResetSharedPrinter();
        SharedPrinter().setOutputFileName(dir.filePath(QStringLiteral("out.pdf")));
    }
    void TearDown() override
    {
        ProgramFixture::TearDown();
        ResetSharedPrinter();
    }

    QTemporaryDir dir;
    TScriptedPrintDialog dialog;
};

} // namespace

TEST_F(PrintCommands, PrintShowsThePreviewOfTheGridsListAndItsPlacementIsKept)
{
    ASSERT_TRUE(Start());
    Grid().SetWordList(FrenchList(4));
    Grid().GetWordList()->Saved = true;
    MainForm->UpdateCommands();
    bool shown = false;
    QTimer::singleShot(0, PrintPreviewForm, [&] {
        shown = PrintPreviewForm->isVisible() && PrintList == Grid().GetWordList()
                && PrintFirst == 0 && PrintLast == 3;
        PrintPreviewForm->resize(720, 520);
        PrintPreviewForm->ui->CloseButton->click();
    });
    Form().MIPrint->trigger();
    EXPECT_TRUE(shown);
    EXPECT_FALSE(PrintPreviewForm->isVisible());
    EXPECT_TRUE(dialog.Setups.empty());
    MainForm->close();
    EXPECT_EQ(FormPlacements[2].Width, 720);
    EXPECT_EQ(FormPlacements[2].Height, 520);

    // The next start puts the preview back at that size.
    DestroyForms();
    CreateProgram();
    ASSERT_TRUE(Start());
    EXPECT_EQ(PrintPreviewForm->size(), QSize(720, 520));
}

TEST_F(PrintCommands, PrinterSetupShowsTheDialogOnTheSharedPrinter)
{
    ASSERT_TRUE(Start());
    Form().MIPrinterSetup->trigger();
    ASSERT_EQ(dialog.SetupPrinters.size(), 1u);
    EXPECT_EQ(dialog.SetupPrinters[0], &SharedPrinter());
}

TEST_F(PrintCommands, TheProgramsSetupDialogIsThePrintDialogWithAnOkButton)
{
    ASSERT_TRUE(Start());
    IPrintDialog *scripted = SetPrintDialog(nullptr);
    QString title;
    QString ok;
    bool pageRange = true;
    QTimer::singleShot(0, MainForm, [&] {
        auto *shown = qobject_cast<QPrintDialog *>(QApplication::activeModalWidget());
        if (!shown)
            return;
        title = shown->windowTitle();
        pageRange = shown->testOption(QAbstractPrintDialog::PrintPageRange);
        if (auto *buttons = shown->findChild<QDialogButtonBox *>())
            ok = buttons->button(QDialogButtonBox::Ok)->text();
        shown->reject();
    });
    PrinterSetup(MainForm);
    SetPrintDialog(scripted);
    EXPECT_EQ(title, QStringLiteral("Printerinstelling"));
    EXPECT_EQ(ok, QStringLiteral("OK"));
    EXPECT_FALSE(pageRange);
}

// A heading longer than its column shows the characters that fit before the pad, in the preview
// and in the PDF, where a clipped heading would still run into the next one's text.
TEST_F(PrintPreview, AHeadingNeverDrawsPastItsColumn)
{
    pack.Set(static_cast<int>(TEntry::PartOfSpeechHeader), "Part of speech");
    pack.Set(static_cast<int>(TEntry::LessonHeader), "Lesson");
    Form->ApplyLanguage();
    auto list = List(3);
    Show(*list, 0, 2);

    // Preview: the pad before the lesson column stays white along the heading line.
    ui().ZoomInButton->click();
    const QImage image = Form->PrintSheet->grab().toImage();
    const int shift = Form->HeaderControl->geometry().left() - Form->PrintSheet->geometry().left();
    int lessonLeft = shift;
    for (int section = 0; section < 4; ++section)
        lessonLeft += Form->HeaderControl->sectionSize(section);
    const int margin = Form->InchToSheet(0.8);
    const int pad = Form->InchToSheet(0.08);
    ASSERT_GT(pad, 3);
    bool headingInk = false;
    for (int y = margin; y < margin + Form->InchToSheet(0.2); ++y) {
        for (int x = lessonLeft - pad + 2; x < lessonLeft; ++x)
            ASSERT_TRUE(IsWhite(image.pixel(x, y))) << x << "," << y;
        for (int x = lessonLeft - 3 * pad; x < lessonLeft - pad; ++x)
            headingInk = headingInk || !IsWhite(image.pixel(x, y));
    }
    EXPECT_TRUE(headingInk);

    // PDF: each word of the part-of-speech heading ends before the lesson column begins.
    Form->PrintButtonClick();
    const QString html = RunTool(QStringLiteral("pdftotext"),
                                 {QStringLiteral("-bbox"), Output(), QStringLiteral("-")});
    static const QRegularExpression word(QStringLiteral(
            "<word xMin=\"([0-9.]+)\" yMin=\"[0-9.]+\" xMax=\"([0-9.]+)\"[^>]*>([^<]*)</word>"));
    const double width = 595.28 - 2 * 57.6;
    const double lessonX = 57.6 + 0.9 * width;
    const double padPoints = 0.08 * 72;
    bool lessonSeen = false;
    bool partSeen = false;
    for (auto words = word.globalMatch(html); words.hasNext();) {
        const QRegularExpressionMatch match = words.next();
        const double xMin = match.captured(1).toDouble();
        const double xMax = match.captured(2).toDouble();
        const QString text = match.captured(3);
        lessonSeen = lessonSeen || text == QLatin1String("Lesson");
        partSeen = partSeen || text == QLatin1String("Part");
        EXPECT_FALSE(text.contains(QLatin1String("Lesson")) && text != QLatin1String("Lesson"))
                << text.toStdString();
        if (xMin > lessonX - 0.1 * width && xMin < lessonX - 1) {
            EXPECT_LE(xMax, lessonX - padPoints + 0.5) << text.toStdString();
        }
    }
    EXPECT_TRUE(lessonSeen);
    EXPECT_TRUE(partSeen);
}
