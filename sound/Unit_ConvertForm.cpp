#include "sound/Unit_ConvertForm.h"

#include "core/Texts.h"
#include "ui_ConvertForm.h"

#include <QCloseEvent>
#include <algorithm>
#include <limits>

TConvertForm *ConvertForm = nullptr;

namespace {

// The window's outer height is its client height plus the classic frame.
constexpr int FrameHeight = 27;
constexpr int OneFileHeight = 163;
constexpr int ManyHeight = 201;
constexpr int OneFileCancelTop = 96;
constexpr int ManyCancelTop = 136;

} // namespace

TConvertForm::TConvertForm(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , ui(std::make_unique<Ui::TConvertForm>())
{
    ui->setupUi(this);
    connect(ui->CancelButton, &QPushButton::clicked, this, &TConvertForm::CancelButtonClick);
}

// Only a conversion that runs when the program ends is still here; it stops after its chunk.
TConvertForm::~TConvertForm()
{
    if (Thread) {
        Thread->Terminate();
        Thread->wait();
    }
}

void TConvertForm::ApplyLanguage()
{
    setWindowTitle(PackText(TEntry::ConvertCaption));
    ui->TotalLabel->setText(PackText(TEntry::ConvertTotalLabel));
    ui->CancelButton->setText(PackText(TEntry::CancelButton));
}

int TConvertForm::Run(const TConvertTask &task)
{
    Task = task;
    const int result = exec();
    Task = {};
    return result;
}

void TConvertForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!Thread && !event->spontaneous())
        FormShow();
}

void TConvertForm::FormShow()
{
    ui->CurrentProgressBar->setValue(0);
    ui->TotalProgressBar->setValue(0);
    const bool oneFile = Task.Mode == cmOneFile;
    setFixedSize(width(), (oneFile ? OneFileHeight : ManyHeight) - FrameHeight);
    ui->ConvLabel->setText(
            PackText(oneFile ? TEntry::ConvertingOneSound : TEntry::ConvertingSounds));
    ui->CurrentLabel->setText(
            PackText(oneFile ? TEntry::ConvertProgressLabel : TEntry::CurrentSoundLabel));
    ui->TotalLabel->setVisible(!oneFile);
    ui->TotalProgressBar->setVisible(!oneFile);
    ui->CancelButton->move(ui->CancelButton->x(), oneFile ? OneFileCancelTop : ManyCancelTop);
    Thread = new TConvertThread(Task, this, this);
    connect(Thread, &QThread::finished, this, &TConvertForm::FinishThread, Qt::QueuedConnection);
    Thread->start();
}

void TConvertForm::CancelButtonClick()
{
    if (Thread)
        Thread->Terminate();
}

void TConvertForm::reject()
{
    CancelButtonClick();
}

void TConvertForm::closeEvent(QCloseEvent *event)
{
    if (Thread) {
        Thread->Terminate();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TConvertForm::FinishThread()
{
    if (!Thread)
        return;
    const int result = Thread->Result;
    Thread->deleteLater();
    Thread = nullptr;
    done(result);
}

void TConvertForm::InitCurrentProgress(int64_t chunkCount)
{
    ui->CurrentProgressBar->setRange(
            0, static_cast<int>(std::min<int64_t>(chunkCount, std::numeric_limits<int>::max())));
    ui->CurrentProgressBar->setValue(0);
}

void TConvertForm::StepCurrentProgress()
{
    if (ui->CurrentProgressBar->value() < ui->CurrentProgressBar->maximum())
        ui->CurrentProgressBar->setValue(ui->CurrentProgressBar->value() + 1);
}

void TConvertForm::UpdateTotalProgress(int percent)
{
    ui->TotalProgressBar->setValue(percent);
}
