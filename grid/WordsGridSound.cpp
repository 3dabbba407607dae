#include "grid/WordsGrid.h"

#include "core/ModalResult.h"
#include "core/Texts.h"
#include "core/Unit_Warnings.h"
#include "grid/SoundPanel.h"
#include "platform/TempFile.h"
#include "sound/SoundFiles.h"
#include "sound/SoundTexts.h"
#include "sound/Unit_BatchRec.h"
#include "sound/Unit_ConvertForm.h"
#include "sound/Unit_Sound.h"
#include "sound/XaudioPlayer.h"

#include <QFile>
#include <QToolButton>
#include <exception>

void TWordsGrid::BindSoundPanel(TSoundPanel *panel)
{
    SetSoundPanel(panel);
    SoundButtons = panel;
    if (!panel)
        return;
    connect(panel->Button(TSoundPanel::sbPlay), &QToolButton::clicked, this,
            &TWordsGrid::PlayButtonClick);
    connect(panel->Button(TSoundPanel::sbStop), &QToolButton::clicked, this,
            &TWordsGrid::StopButtonClick);
    connect(panel->Button(TSoundPanel::sbRecord), &QToolButton::clicked, this,
            &TWordsGrid::RecordButtonClick);
    panel->OnExit = [this] { SoundPanelExit(); };
    panel->OnKeyDown = [this](QKeyEvent &event) { return EditorKeyDown(event); };
    RecordTimer.setSingleShot(true);
    connect(&RecordTimer, &QTimer::timeout, this, &TWordsGrid::FinishRecording,
            Qt::UniqueConnection);
}

void TWordsGrid::SetXAPlayer(IXaudioPlayer *player)
{
    XAPlayer = player;
    BindPlayback();
    Playback.SetPlayer(player);
}

// The grid's steps of the playback; an inserted file is only tried by the player.
void TWordsGrid::BindPlayback()
{
    Playback.InputOpened = [this] {
        if (ImportingSound)
            return TMp3Playback::TOpened::Tried;
        SetBusy(false);
        return TMp3Playback::TOpened::Play;
    };
    Playback.Playing = [this] { SetSoundButtons(true, true, true, false, false); };
    Playback.InputClosed = [this] {
        if (!ImportingSound)
            return true;
        FinishImport();
        return false;
    };
    Playback.OutputClosed = [this] {
        SetSoundButtons(true, false, false, true, false);
        ClearBusy();
    };
    Playback.Refused = [this](uint8_t command) { XANotifyNack(command); };
    Playback.DeviceFailed = [](const std::string &device, const std::string &reason) {
        ShowError(TShownText(CannotPlayText({device, reason})));
    };
}

void TWordsGrid::SetSoundButtons(bool play, bool playDown, bool stop, bool record, bool recordDown)
{
    if (SoundButtons)
        SoundButtons->SetStates(play, playDown, stop, record, recordDown);
}

bool TWordsGrid::WordHasSound(int row) const
{
    return WordList && row >= 1 && row <= GetWordCount() && WordList->GetSound(row - 1);
}

// The word's sound becomes the cell's working file. A fresh recording is there already: the
// file is left alone. A sound that cannot be copied is not offered for playing, so that the
// player's refusal never takes a sound from its word.
void TWordsGrid::SoundPanelEnter(int row)
{
    SetSoundButtons(false, false, false, false, false);
    SoundCopyFailure.clear();
    const TSoundRec *sound = WordHasSound(row) ? WordList->GetSound(row - 1) : nullptr;
    if (sound && sound->Offset >= 0) {
        QFile store(FileNameOf(WordList->SoundTempFile));
        QFile work(FileNameOf(WordList->RecordTempFile));
        if (!store.open(QIODevice::ReadOnly))
            SoundCopyFailure = CannotCopySoundText(WordList->SoundTempFile, store.errorString());
        else if (qint64{sound->Offset} + sound->Size > store.size())
            SoundCopyFailure = SoundOutsideStoreText();
        else if (!work.open(QIODevice::WriteOnly | QIODevice::Truncate)
                 || !store.seek(sound->Offset) || !CopyBlocks(store, work, sound->Size)
                 || !work.flush())
            SoundCopyFailure = CannotCopySoundText(WordList->RecordTempFile, work.errorString());
    }
    SetSoundButtons(sound != nullptr, false, false, true, false);
}

// Every way off the cell comes here, so a fresh recording is always stored before anything
// could copy its record.
void TWordsGrid::SoundPanelExit()
{
    const int row = EditRow;
    if (!WordList || ColumnKind(EditCol) != ckSound || !WordHasSound(row)
        || WordList->GetSound(row - 1)->Offset != -1)
        return;
    try {
        WordList->StoreRecordedSound(row - 1);
    } catch (const std::exception &error) {
        ShowError(error);
    }
    InvalidateCell(EditCol, row);
}

void TWordsGrid::StopSoundPlayer()
{
    if (!XAPlayer || !Busy || ColumnKind(EditCol) != ckSound)
        return;
    Playback.Stop();
}

void TWordsGrid::StoreSoundUndo(int row)
{
    std::vector<TUndoEntry> entries;
    if (const TSoundRec *sound = WordList->GetSound(row - 1))
        entries.emplace_back(*sound);
    const int count = static_cast<int>(entries.size());
    StoreUndo(TUndoKind::SoundChange, row, count, std::move(entries));
}

void TWordsGrid::PlayButtonClick()
{
    if (Mp3Playing) {
        SetSoundButtons(true, true, true, false, false);
        return;
    }
    if (!XAPlayer || !WordList || Mp3InputOpen || WaveRecording) {
        SetSoundButtons(WordHasSound(EditRow), false, false, !WaveRecording, WaveRecording);
        return;
    }
    // The player would refuse the working file and the word would lose its sound.
    if (!SoundCopyFailure.isEmpty()) {
        SetSoundButtons(true, false, false, true, false);
        ShowError(TShownText(SoundCopyFailure));
        return;
    }
    SetSoundButtons(false, false, false, false, false);
    SoundRow = EditRow;
    XAPlayer->InputOpen(WordList->RecordTempFile);
}

void TWordsGrid::StopButtonClick()
{
    if (Mp3Playing) {
        SetSoundButtons(false, false, false, false, false);
        XAPlayer->Stop();
    } else if (WaveRecording) {
        FinishRecording();
    }
}

void TWordsGrid::RecordButtonClick()
{
    if (WaveRecording) {
        SetSoundButtons(false, false, true, true, true);
        return;
    }
    const int row = EditRow;
    if (!WordList || Mp3InputOpen || !(row >= 1 && row <= GetWordCount())) {
        SetSoundButtons(WordHasSound(row), false, false, true, false);
        return;
    }
    SetSoundButtons(false, false, false, false, false);
    if (!StartRecording()) {
        SetSoundButtons(WordHasSound(row), false, false, true, false);
        ShowError(TShownText(CannotRecordText(LastWaveDeviceFailure())));
        return;
    }
    SetBusy(false);
    SoundRow = row;
    // A second recording in one visit keeps the record made before the first.
    const TSoundRec *sound = WordList->GetSound(row - 1);
    if (!sound || sound->Offset != -1)
        StoreSoundUndo(row);
    SetSoundButtons(false, false, true, true, true);
    RecordTimer.start(RecordLimit);
}

// The recording and its MP3 get scratch files of their own: only a finished conversion replaces
// the working file, which may still hold an earlier recording of this visit.
void TWordsGrid::FinishRecording()
{
    RecordTimer.stop();
    if (!WaveRecording)
        return;
    SetSoundButtons(false, false, false, false, false);
    const int row = SoundRow;
    std::string wav;
    std::string mp3;
    bool converted = false;
    try {
        wav = CreateTempFile("ZRW");
        mp3 = CreateTempFile("ZRM");
    } catch (const std::exception &error) {
        ShowError(error);
    }
    // Without a scratch file the recording is stopped and dropped.
    StopRecording(wav);
    if (!wav.empty() && !mp3.empty() && ConvertForm) {
        TConvertTask task;
        task.Mode = cmOneFile;
        task.SourceFile = wav;
        task.DestFile = mp3;
        converted = ConvertForm->Run(task) == crDone && CopyFileOver(mp3, WordList->RecordTempFile);
    }
    RemoveFile(wav);
    RemoveFile(mp3);
    ClearBusy();
    if (converted) {
        WordList->SetSound(row - 1, -1, -1);
        InvalidateCell(ColumnOfKind(ckSound), row);
    } else {
        EndEdit();
        SelectCellAt(Col(), Row());
    }
    SetSoundButtons(WordHasSound(row), false, false, true, false);
}

void TWordsGrid::XANotifyNack(uint8_t command)
{
    switch (command) {
    case IXaudioPlayer::cmdInputOpen:
        if (ImportingSound) {
            ImportingSound = false;
            ShowError(TShownText(PackText(TEntry::NotASoundFile)));
            if (ImportFromSoundCell)
                SelectCellAt(Col(), Row());
            break;
        }
        // The word's sound is no MP3 the player can open: it goes.
        SetSoundButtons(false, false, false, true, false);
        if (WordHasSound(SoundRow)) {
            WordList->SetSound(SoundRow - 1, 0, 0);
            InvalidateCell(ColumnOfKind(ckSound), SoundRow);
        }
        break;
    case IXaudioPlayer::cmdPlay:
        // The input is closed too, so that the flags and the busy state end as after a playback.
        SetSoundButtons(true, false, false, true, false);
        XAPlayer->InputClose();
        break;
    default:
        break;
    }
}

// A WAV file is converted; anything else is offered to the player, whose answer finishes the
// import on the row remembered here.
void TWordsGrid::InsertSoundFile(const std::string &fileName)
{
    if (!WordList || Busy || ImportingSound)
        return;
    const bool fromSoundCell = InSoundCell();
    if (fromSoundCell)
        EndEdit();
    const int row = Row();
    if (row < 1 || row > GetWordCount())
        return;
    if (!CanOpenWave(fileName)) {
        ImportingSound = true;
        ImportSoundFile = fileName;
        ImportFromSoundCell = fromSoundCell;
        ImportRow = row;
        if (!Playback.Open(fileName))
            XANotifyNack(IXaudioPlayer::cmdInputOpen);
        return;
    }
    StoreSoundUndo(row);
    try {
        const std::string wav = CreateTempFile("ZRW");
        const std::string mp3 = CreateTempFile("ZRM");
        TConvertTask task;
        task.Mode = cmOneFile;
        task.SourceFile = wav;
        task.DestFile = mp3;
        QString reason;
        // Every way this can fail is said: the word keeps its sound.
        if (!CopyFileOver(fileName, wav, reason)) {
            ShowError(TShownText(CannotCopySoundText(fileName, reason)));
        } else if (const int result = ConvertForm ? ConvertForm->Run(task) : crFailed;
                   result == crFailed) {
            ShowError(TShownText(PackText(TEntry::NotASoundFile)));
        } else if (result == crDone) {
            if (!CopyFileOver(mp3, WordList->RecordTempFile, reason)) {
                ShowError(TShownText(CannotCopySoundText(mp3, reason)));
            } else {
                WordList->SetSound(row - 1, -1, -1);
                WordList->StoreRecordedSound(row - 1);
            }
        }
        RemoveFile(wav);
        RemoveFile(mp3);
    } catch (const std::exception &error) {
        ShowError(error);
    }
    SelectCellAt(ColumnOfKind(ckSound), row);
}

// The player opened the file and closed it again: it is an MP3, stored as it is.
void TWordsGrid::FinishImport()
{
    ImportingSound = false;
    const int row = ImportRow;
    if (!WordList || row < 1 || row > GetWordCount())
        return;
    StoreSoundUndo(row);
    try {
        if (CopyFileOver(ImportSoundFile, WordList->RecordTempFile)) {
            WordList->SetSound(row - 1, -1, -1);
            WordList->StoreRecordedSound(row - 1);
        }
    } catch (const std::exception &error) {
        ShowError(error);
    }
    SelectCellAt(ColumnOfKind(ckSound), row);
}

void TWordsGrid::BatchRecord()
{
    if (!WordList || Busy || !BatchRecForm || GetWordCount() < 1)
        return;
    const bool fromSoundCell = InSoundCell();
    if (fromSoundCell)
        EndEdit();
    const int row = Row();
    const auto [top, bottom] = RowSelection ? TargetRows() : std::pair{row, GetWordCount()};
    if (top < 1 || bottom < top)
        return;
    TBatchRecForm &form = *BatchRecForm;
    std::vector<TSoundRec> records;
    form.WordList = WordList.get();
    form.UseSelection = RowSelection;
    form.First = top - 1;
    form.Last = bottom - 1;
    form.SoundRecs = &records;
    if (form.exec() == mrOk && form.Last >= form.First) {
        const int first = form.First;
        const int count = form.Last - first + 1;
        std::vector<TUndoEntry> old;
        for (int i = first; i < first + count; ++i) {
            const TSoundRec *sound = WordList->GetSound(i);
            old.emplace_back(sound ? *sound : TSoundRec{0, 0});
        }
        StoreUndo(TUndoKind::SoundChange, first + 1, count, std::move(old));
        // Appended in row order through the store's own append, so each word's record points
        // at its sound whatever the store's size has become since the conversion started.
        // A part that cannot be copied stops the insert where it is, and says so; the undo record
        // above still holds every target word's old sound.
        try {
            for (int i = 0; i < count && i < static_cast<int>(form.Parts.size()); ++i) {
                const std::string &mp3 = form.Parts[static_cast<size_t>(i)].Mp3File;
                QString reason;
                if (!CopyFileOver(mp3, WordList->RecordTempFile, reason)) {
                    ShowError(TShownText(CannotCopySoundText(mp3, reason)));
                    break;
                }
                WordList->SetSound(first + i, -1, -1);
                WordList->StoreRecordedSound(first + i);
            }
        } catch (const std::exception &error) {
            ShowError(error);
        }
    }
    for (const TSpeechPart &part : form.Parts)
        RemoveFile(part.Mp3File);
    form.SoundRecs = nullptr;
    form.WordList = nullptr;
    InvalidateGrid();
    if (fromSoundCell)
        SelectCellAt(ColumnOfKind(ckSound), row);
}
