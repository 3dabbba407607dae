// The keyboard tool's key-print mode and the printing of its chart.

#include "core/Texts.h"
#include "core/Unit_GlobalSettings.h"
#include "core/Unit_LanguagePack.h"
#include "core/Unit_Warnings.h"
#include "kbtool/KeyboardChart.h"
#include "kbtool/Unit_KBLayoutForm.h"
#include "print/Unit_Print.h"
#include "ui_KBLayoutForm.h"
#include "widgets/HelpDispatcher.h"
#include "widgets/KbTyping.h"

#include <QLineEdit>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

namespace {

constexpr int KeyPrintHelpContext = 1900;
constexpr int LayoutHelpContext = 1800;
constexpr int KeyPrintPoints = 8;
constexpr int BottomGap = 6;

bool DesktopPrintDialog(QPrinter &printer, QWidget *parent)
{
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

TChartDevice DeviceOf(QPrinter &printer)
{
    const QRect page = printer.pageRect(QPrinter::DevicePixel).toRect();
    const QRect paper = printer.paperRect(QPrinter::DevicePixel).toRect();
    return {printer.logicalDpiX(), printer.logicalDpiY(), page.size(),
            paper.translated(-page.topLeft())};
}

} // namespace

void TKBLayoutForm::SetChartPrinter(QPrinter *printer)
{
    chartPrinter = printer;
}

void TKBLayoutForm::SetChartPrintDialog(TChartPrintDialog dialog)
{
    printDialog = std::move(dialog);
}

QPrinter &TKBLayoutForm::Printer()
{
    // The program's one printer, so the chart goes where the word lists go.
    return chartPrinter ? *chartPrinter : SharedPrinter();
}

void TKBLayoutForm::KeyPrintsButtonClick()
{
    EnterKeyPrintMode();
}

void TKBLayoutForm::EnterKeyPrintMode()
{
    for (QWidget *control : std::initializer_list<QWidget *>{
                 ui->LShiftButton, ui->RShiftButton, ui->LCtrlButton, ui->LAltButton,
                 ui->RAltButton, ui->DeadKeyLabel, ui->DeadKeyCombo, ui->DeadKeyCheck,
                 ui->InsertEdit, ui->PrintButton, ui->KeyPrintsButton, ui->CloseButton,
                 ui->InsertButton})
        control->hide();
    HelpContext = KeyPrintHelpContext;
    SetHelpContext(this, HelpContext);
    Updating = true;
    KeyPrintMode = true;
    const QFont printFont(QStringLiteral("Arial"), KeyPrintPoints);
    QPalette colours = KeyEdits[0]->palette();
    colours.setColor(QPalette::Base, style()->standardPalette().color(QPalette::Base));
    for (int key = 0; key < KeyPrintCount; ++key) {
        QLineEdit &edit = *KeyEdits[key];
        edit.setText(DecodeText(std::string(1, KeyPrintAt(KeyPrints, key))));
        edit.setFont(printFont);
        edit.setPalette(colours);
        edit.setReadOnly(false);
    }
    KeyEdits[SpaceBarKey]->hide();
    Updating = false;
    for (QWidget *control : std::initializer_list<QWidget *>{
                 ui->LShiftLabel, ui->RShiftLabel, ui->LCtrlLabel, ui->LAltLabel, ui->RAltLabel,
                 ui->SpaceLabel, ui->KeyPrintsHelpLabel, ui->OKPrintsButton,
                 ui->CancelPrintsButton})
        control->show();
    ui->InsertButton->setDefault(false);
    ui->OKPrintsButton->setDefault(true);
    setWindowTitle(PackText(TEntry::KeyPrintsCaption));
    setFixedSize(width(), ui->OKPrintsButton->geometry().bottom() + 1 + BottomGap);
    FocusKey(0);
}

void TKBLayoutForm::KeyPrintEditChange(int key)
{
    QLineEdit &edit = *KeyEdits[key];
    // Key prints are the program's own texts: what DEFAULT cannot hold is refused.
    if (!edit.text().isEmpty() && !AcceptTyped(edit.text(), CodePage::Default)) {
        const bool wasUpdating = std::exchange(Updating, true);
        edit.setText(DecodeText(std::string(1, KeyPrintAt(KeyPrints, key))));
        Updating = wasUpdating;
        return;
    }
    if (!Updating && key < KeyPrintCount - 1)
        FocusKey(key + 1);
}

void TKBLayoutForm::OKPrintsButtonClick()
{
    std::string prints;
    for (int key = 0; key < KeyPrintCount; ++key) {
        std::string bytes;
        const QString text = KeyEdits[key]->text().left(1);
        prints += CodePage::FromUnicode(text, CodePage::Default, bytes) && !bytes.empty() ? bytes[0]
                                                                                          : ' ';
    }
    KeyPrints = prints;
    PrintSettings.KeyPrintsConfirmed = true;
    LeaveKeyPrintMode(true);
}

void TKBLayoutForm::CancelPrintsButtonClick()
{
    LeaveKeyPrintMode(false);
}

void TKBLayoutForm::LeaveKeyPrintMode(bool printPending)
{
    KeyPrintMode = false;
    setWindowTitle(PackText(TEntry::KeyboardToolCaption) + QStringLiteral(" - ") + LayoutText);
    HelpContext = LayoutHelpContext;
    SetHelpContext(this, HelpContext);
    for (QWidget *control : std::initializer_list<QWidget *>{
                 ui->LShiftLabel, ui->RShiftLabel, ui->LCtrlLabel, ui->LAltLabel, ui->RAltLabel,
                 ui->SpaceLabel, ui->KeyPrintsHelpLabel, ui->OKPrintsButton,
                 ui->CancelPrintsButton})
        control->hide();
    for (QLineEdit *edit : KeyEdits)
        edit->setFont(KeyFont);
    KeyEdits[SpaceBarKey]->show();
    for (QWidget *control : std::initializer_list<QWidget *>{
                 ui->LShiftButton, ui->RShiftButton, ui->LCtrlButton, ui->LAltButton,
                 ui->RAltButton, ui->DeadKeyLabel, ui->DeadKeyCombo, ui->DeadKeyCheck,
                 ui->InsertEdit, ui->PrintButton, ui->KeyPrintsButton, ui->CloseButton,
                 ui->InsertButton})
        control->show();
    ui->OKPrintsButton->setDefault(false);
    ui->InsertButton->setDefault(true);
    setFixedSize(width(), ui->InsertButton->geometry().bottom() + 1 + BottomGap);
    RefreshKeyEdits();
    ui->InsertEdit->setFocus();
    if (!std::exchange(PrintAfterKeyPrints, false))
        return;
    if (printPending)
        PrintKeyboardChart();
    RestoreOrientation();
}

void TKBLayoutForm::RestoreOrientation()
{
    Printer().setPageOrientation(SavedOrientation);
}

void TKBLayoutForm::PrintButtonClick()
{
    QPrinter &printer = Printer();
    SavedOrientation = printer.pageLayout().orientation();
    printer.setPageOrientation(QPageLayout::Landscape);
    const bool chosen
            = printDialog ? printDialog(printer, this) : DesktopPrintDialog(printer, this);
    if (!chosen) {
        RestoreOrientation();
        return;
    }
    if (!ChartFits(DeviceOf(printer))) {
        ShowError(LanguageText(TEntry::PaperTooSmallForChart));
        RestoreOrientation();
        return;
    }
    if (PrintSettings.KeyPrintsConfirmed) {
        PrintKeyboardChart();
        RestoreOrientation();
        return;
    }
    if (ConfirmYesNo(LanguageText(TEntry::ConfirmKeyPrints)) == mbYes) {
        PrintAfterKeyPrints = true;
        EnterKeyPrintMode();
        return;
    }
    RestoreOrientation();
}

bool TKBLayoutForm::PrintKeyboardChart()
{
    QPrinter &printer = Printer();
    printer.setDocName(QStringLiteral("Tarnwick - ") + PackText(TEntry::KeyboardToolCaption)
                       + QLatin1Char(' ') + LayoutText);
    QPainter painter;
    // As the printing library's own failures, the message is its own, not the language pack's.
    if (!painter.begin(&printer)) {
        ShowError(QStringLiteral("The printer \"%1\" could not start the print job")
                          .arg(printer.outputFileName().isEmpty() ? printer.printerName()
                                                                  : printer.outputFileName()));
        return false;
    }
    const TChartContent content{KeyChars, KeyCodePage, KeyFont, KeyPrints, LayoutText};
    PaintKeyboardChart(painter, DeviceOf(printer), content, [&] { return printer.newPage(); });
    return painter.end();
}
