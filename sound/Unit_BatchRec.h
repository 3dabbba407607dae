#pragma once

#include "core/LanguageEntries.h"

#include <QDialog>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TWordList;
struct TSoundRec;

// One spoken part of a batch recording: bytes Start to End of the recording (End 0 while the
// part is still open), cut out into its own WAV file, and the MP3 file the conversion makes of it.
struct TSpeechPart
{
    int32_t Start = 0;
    int32_t End = 0;
    std::string WavFile;
    std::string Mp3File;
};

namespace Ui {
class TBatchRecForm;
}

// Records the pronunciations of several words in one take, splits the take at its pauses, lets
// the user listen to the parts and pick the good ones, and converts those into MP3 for the words
// First.. of the list. Modal result mrOk when the parts were converted, else mrCancel.
class TBatchRecForm : public QDialog
{
    Q_OBJECT

public:
    explicit TBatchRecForm(QWidget *parent = nullptr);
    ~TBatchRecForm() override;

    // Puts the loaded language pack's texts on the window.
    void ApplyLanguage();

    Ui::TBatchRecForm &Controls() const { return *ui; }

    // Set by the caller: the list and the indices of its target words (Insert lowers Last to
    // the last word that receives a part), the records the conversion fills, and whether the
    // targets are the selected rows or the current row to the end (only the wording differs).
    TWordList *WordList = nullptr;
    int First = 0;
    int Last = -1;
    std::vector<TSoundRec> *SoundRecs = nullptr;
    bool UseSelection = false;
    // The parts, renewed each time the window shows; (Parts)[i - First] belongs to word i after
    // Insert.
    std::vector<TSpeechPart> Parts;

    bool Extracting = false;
    bool Recording = false;

    // Closing is refused while recording or splitting; every other close deletes the parts'
    // files that are not the caller's.
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormShow();
    void RecStopButtonClick();
    void RecClick();
    void StopClick();
    void PartsReady();
    void SetInstruction(TEntry entry);
    void SelectionChanged();
    void InsertButtonClick();
    void CloseWithResult(int result);
    // The part whose icon lies under the point of the list's viewport, or -1.
    int IconAt(const QPoint &point) const;

    std::unique_ptr<Ui::TBatchRecForm> ui;
    bool ClosedByButton = false;
    // What the instruction says, kept for a change of language.
    TEntry InstructEntry = TEntry::BatchRecChoose;
};

// The temporary WAV file of the last batch recording.
extern std::string RecordingFile;

extern TBatchRecForm *BatchRecForm;
