#include "sound/Unit_BatchRec.h"

#include "core/BusyCursor.h"
#include "core/ModalResult.h"
#include "core/Texts.h"
#include "core/Unit_Warnings.h"
#include "platform/TempFile.h"
#include "sound/SoundFiles.h"
#include "sound/SoundTexts.h"
#include "sound/Unit_ConvertForm.h"
#include "sound/Unit_ExtractSpeechThread.h"
#include "sound/Unit_Sound.h"
#include "ui_BatchRecForm.h"
#include "widgets/HelpDispatcher.h"

#include <QMouseEvent>
#include <QStyle>
#include <algorithm>

namespace {

constexpr int BatchRecHelpContext = 1000;
// Left of this the press is on an item's icon: it plays the part.
constexpr int IconWidth = 18;

enum TRecStopTag : int {
    tagRecord = 1,
    tagStop = 2,
};

} // namespace

std::string RecordingFile;
TBatchRecForm *BatchRecForm = nullptr;

TBatchRecForm::TBatchRecForm(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TBatchRecForm>())
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
    SetHelpContext(this, BatchRecHelpContext);
    ui->ListView->viewport()->installEventFilter(this);
    connect(ui->RecStopButton, &QPushButton::clicked, this, &TBatchRecForm::RecStopButtonClick);
    connect(ui->InsertButton, &QPushButton::clicked, this, &TBatchRecForm::InsertButtonClick);
    connect(ui->CloseButton, &QPushButton::clicked, this, [this] { CloseWithResult(mrCancel); });
    connect(ui->ListView, &QListWidget::itemSelectionChanged, this,
            &TBatchRecForm::SelectionChanged);
}

TBatchRecForm::~TBatchRecForm() = default;

void TBatchRecForm::ApplyLanguage()
{
    setWindowTitle(PackText(TEntry::BatchRecCaption));
    ui->RecStopButton->setText(PackText(ui->RecStopButton->property("Tag").toInt() == tagStop
                                                ? TEntry::BatchRecStopButton
                                                : TEntry::BatchRecStartButton));
    ui->InstructLabel->setText(PackText(InstructEntry));
    ui->InsertButton->setText(PackText(TEntry::BatchRecInsertButton));
    ui->CloseButton->setText(PackText(TEntry::CloseButton));
}

void TBatchRecForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TBatchRecForm::FormShow()
{
    Parts.clear();
    ui->RecStopButton->setText(PackText(TEntry::BatchRecStartButton));
    ui->RecStopButton->setProperty("Tag", tagRecord);
    ui->RecStopButton->setVisible(true);
    ui->RecStopButton->setEnabled(true);
    ui->RecStopButton->setDefault(true);
    ui->RecStopButton->setFocus();
    SetInstruction(TEntry::BatchRecSplitting);
    ui->InstructLabel->setVisible(false);
    ui->CloseButton->setDefault(false);
    ui->CloseButton->setEnabled(true);
    ui->InsertButton->setDefault(false);
    ui->InsertButton->setEnabled(false);
    ui->ListView->clear();
    ClosedByButton = false;
    Recording = false;
    Extracting = false;
}

void TBatchRecForm::RecStopButtonClick()
{
    if (ui->RecStopButton->property("Tag").toInt() == tagRecord)
        RecClick();
    else
        StopClick();
}

void TBatchRecForm::RecClick()
{
    ui->RecStopButton->setText(PackText(TEntry::BatchRecStopButton));
    ui->RecStopButton->setProperty("Tag", tagStop);
    Recording = true;
    ui->CloseButton->setEnabled(false);
    if (!StartRecording()) {
        // Said, and the window is as it was before: the user may try again or close it.
        Recording = false;
        ui->RecStopButton->setText(PackText(TEntry::BatchRecStartButton));
        ui->RecStopButton->setProperty("Tag", tagRecord);
        ui->CloseButton->setEnabled(true);
        ShowError(TShownText(CannotRecordText(LastWaveDeviceFailure())));
        ui->RecStopButton->setFocus();
    }
}

void TBatchRecForm::StopClick()
{
    Extracting = true;
    Recording = false;
    ui->CloseButton->setEnabled(true);
    ui->RecStopButton->setVisible(false);
    ui->RecStopButton->setDefault(false);
    ui->InstructLabel->setVisible(true);
    SetBusyCursor(true);
    try {
        RecordingFile = CreateTempFile("ZRW");
    } catch (const EInOutError &error) {
        // Without a file the take cannot be kept; the splitter then finds no part.
        RecordingFile.clear();
        ShowError(error);
    }
    StopRecording(RecordingFile);
    auto *thread = new TExtractSpeechThread(RecordingFile, &Parts, this, [this] { PartsReady(); });
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
}

void TBatchRecForm::PartsReady()
{
    SetBusyCursor(false);
    const QIcon icon = style()->standardIcon(QStyle::SP_MediaPlay);
    if (!Parts.empty()) {
        for (size_t i = 0; i < Parts.size(); ++i) {
            auto *item = new QListWidgetItem(icon, QStringLiteral("Uitspraak %1").arg(i + 1),
                                             ui->ListView);
            item->setSelected(true);
        }
        ui->ListView->setFocus();
        SetInstruction(TEntry::BatchRecChoose);
        ui->InsertButton->setEnabled(true);
        ui->InsertButton->setDefault(true);
    } else {
        SetInstruction(TEntry::BatchRecNoParts);
        ui->CloseButton->setDefault(true);
        ui->CloseButton->setFocus();
    }
    Extracting = false;
}

void TBatchRecForm::SetInstruction(TEntry entry)
{
    InstructEntry = entry;
    ui->InstructLabel->setText(PackText(entry));
}

void TBatchRecForm::SelectionChanged()
{
    ui->InsertButton->setEnabled(!ui->ListView->selectedItems().isEmpty());
}

int TBatchRecForm::IconAt(const QPoint &point) const
{
    const QModelIndex index = ui->ListView->indexAt(point);
    if (!index.isValid() || point.x() - ui->ListView->visualRect(index).left() >= IconWidth)
        return -1;
    return index.row();
}

bool TBatchRecForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != ui->ListView->viewport())
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::MouseMove) {
        const QPoint point = static_cast<QMouseEvent *>(event)->position().toPoint();
        ui->ListView->viewport()->setCursor(IconAt(point) >= 0 ? Qt::PointingHandCursor
                                                               : Qt::ArrowCursor);
    } else if (event->type() == QEvent::MouseButtonPress
               || event->type() == QEvent::MouseButtonDblClick) {
        if (WavePlaying)
            StopPlayback();
        const QPoint point = static_cast<QMouseEvent *>(event)->position().toPoint();
        const int part = IconAt(point);
        if (part >= 0 && part < static_cast<int>(Parts.size())) {
            // A click on the icon plays the part and leaves the selection as it is.
            if (!PlayWave(Parts[static_cast<size_t>(part)].WavFile, this)) {
                const TSoundDeviceFailure failure = LastWaveDeviceFailure();
                if (!failure.Reason.empty())
                    ShowError(TShownText(CannotPlayText(failure)));
            }
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool TBatchRecForm::event(QEvent *event)
{
    if (event->type() == TWaveNotifyEvent::EventType()) {
        FinishPlayback(static_cast<TWaveNotifyEvent *>(event)->Serial);
        return true;
    }
    return QDialog::event(event);
}

void TBatchRecForm::InsertButtonClick()
{
    // A part still playing holds the device, and the conversion could not read the parts.
    if (WavePlaying)
        StopPlayback();
    std::vector<bool> selected(Parts.size(), false);
    for (int row = 0; row < ui->ListView->count() && row < static_cast<int>(Parts.size()); ++row)
        selected[static_cast<size_t>(row)] = ui->ListView->item(row)->isSelected();
    const auto count = static_cast<int>(std::count(selected.begin(), selected.end(), true));
    const int capacity = Last - First + 1;
    if (count > capacity) {
        const TEntry entry = UseSelection
                ? (capacity == 1 ? TEntry::BatchRecTooManyOneSelected
                                 : TEntry::BatchRecTooManySelected)
                : (capacity == 1 ? TEntry::BatchRecTooManyOneToEnd : TEntry::BatchRecTooManyToEnd);
        ShowError(PackText(
                entry, {{u"%np%", QString::number(count)}, {u"%nw%", QString::number(capacity)}}));
        return;
    }
    std::vector<TSpeechPart> kept;
    for (size_t i = 0; i < Parts.size(); ++i) {
        if (selected[i]) {
            kept.push_back(Parts[i]);
        } else {
            RemoveFile(Parts[i].WavFile);
            RemoveFile(Parts[i].Mp3File);
        }
    }
    Parts = std::move(kept);
    Last = std::min(Last, First + static_cast<int>(Parts.size()) - 1);
    TConvertTask task;
    task.Mode = cmParts;
    task.WordList = WordList;
    task.First = First;
    task.Last = Last;
    task.Parts = &Parts;
    task.SoundRecs = SoundRecs;
    const int result = ConvertForm ? ConvertForm->Run(task) : crFailed;
    if (result == crDone) {
        CloseWithResult(mrOk);
        return;
    }
    if (result == crFailed)
        ShowError(PackText(TEntry::BatchRecConvertFailed));
    CloseWithResult(mrCancel);
}

void TBatchRecForm::CloseWithResult(int result)
{
    ClosedByButton = true;
    done(result);
}

void TBatchRecForm::done(int result)
{
    if (Extracting || Recording)
        return;
    if (WavePlaying)
        StopPlayback();
    if (!ClosedByButton)
        result = mrCancel;
    // What the caller does not take must not stay behind in the temporary folder.
    for (TSpeechPart &part : Parts) {
        RemoveFile(part.WavFile);
        part.WavFile.clear();
        if (result != mrOk) {
            RemoveFile(part.Mp3File);
            part.Mp3File.clear();
        }
    }
    QDialog::done(result);
}
