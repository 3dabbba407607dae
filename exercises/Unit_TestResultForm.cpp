#include "exercises/Unit_TestResultForm.h"

#include "core/Texts.h"
#include "core/Unit_LanguagePack.h"
#include "exercises/TestMark.h"
#include "platform/JpegImage.h"
#include "ui_TestResultForm.h"

#include <QGuiApplication>
#include <QScreen>

TTestResultForm *TestResultForm = nullptr;

namespace {

constexpr int MarkPixelSize = 96;
const char *const SuccessPicture = ":/forms/SuccessImg.jpg";
const char *const FailedPicture = ":/forms/FailedImg.jpg";

} // namespace

TTestResultForm::TTestResultForm(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TTestResultForm>())
{
    ui->setupUi(this);
    setFixedSize(300, 200);
    ui->SuccessImg->setPixmap(QPixmap::fromImage(LoadJpegFile(SuccessPicture)));
    ui->FailedImg->setPixmap(QPixmap::fromImage(LoadJpegFile(FailedPicture)));
    QFont markFont(QStringLiteral("Arial"));
    markFont.setPixelSize(MarkPixelSize);
    markFont.setBold(true);
    ui->MarkLabel->setFont(markFont);
    connect(ui->OKButton, &QPushButton::clicked, this, &TTestResultForm::OKButtonClick);
}

TTestResultForm::~TTestResultForm() = default;

void TTestResultForm::ApplyLanguage()
{
    setWindowTitle(PackText(TEntry::TestResultCaption));
    ui->ResultLabel->setText(PackText(TEntry::TestResultHeading));
    ui->SuccessMsgLabel->setText(PackText(TEntry::TestPassed));
    ui->FailedMsgLabel->setText(PackText(TEntry::TestFailed));
    ui->OKButton->setText(PackText(TEntry::OkButton));
}

void TTestResultForm::SetResult(int right, int wrong)
{
    const int mark = TestMark(right, wrong);
    ui->MarkLabel->setText(DecodeText(MarkText(mark, LanguageText(TEntry::DecimalSeparator))));
    const bool passed = MarkPassed(mark);
    ui->SuccessImg->setVisible(passed);
    ui->SuccessMsgLabel->setVisible(passed);
    ui->FailedImg->setVisible(!passed);
    ui->FailedMsgLabel->setVisible(!passed);
}

void TTestResultForm::showEvent(QShowEvent *event)
{
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect desktop = screen->availableGeometry();
        move(desktop.center() - QPoint(width() / 2, height() / 2));
    }
    QDialog::showEvent(event);
}

void TTestResultForm::OKButtonClick()
{
    accept();
}
