#pragma once

#include "core/Unit_WordList.h"
#include "sound/Unit_BatchRec.h"

#include <QPointer>
#include <QThread>
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// What the conversion converts.
enum TConvertMode : uint8_t {
    // Every sound of a word list that is being read (its sounds are still WAV).
    cmWordList = 0,
    // One WAV file into one MP3 file.
    cmOneFile = 1,
    // The parts of a batch recording.
    cmParts = 2,
};

// How a conversion ended; the conversion window's modal result.
enum TConvertResult : int {
    crDone = 1,
    crFailed = 2,
    crCancelled = 3,
};

// What the caller sets before the conversion window shows. The list, the parts and the sound
// records are the caller's, used only on the GUI thread.
struct TConvertTask
{
    uint8_t Mode = cmOneFile;
    // cmOneFile: the WAV file (rewritten in the recording format when it is in another one) and
    // the MP3 file to write.
    std::string SourceFile;
    std::string DestFile;
    // cmWordList: the list whose sound store is converted; cmParts: the list whose sound store
    // will take the parts.
    TWordList *WordList = nullptr;
    // cmParts: list indices of the first and last target word; (*Parts)[i - First] belongs to
    // word i, and SoundRecs receives one record per converted part, in part order.
    int First = 0;
    int Last = -1;
    std::vector<TSpeechPart> *Parts = nullptr;
    std::vector<TSoundRec> *SoundRecs = nullptr;
};

// The conversion window's bars, updated on the GUI thread.
class IConvertView
{
public:
    virtual ~IConvertView() = default;
    // The current sound's bar runs from 0 to chunkCount.
    virtual void InitCurrentProgress(int64_t chunkCount) = 0;
    virtual void StepCurrentProgress() = 0;
    virtual void UpdateTotalProgress(int percent) = 0;
};

// Turns WAV sound into MP3. The thread touches the list, the parts, the records and the view
// only in steps that run on the GUI thread while it waits for them. Execute may also run on the
// GUI thread itself; the steps then run directly.
class TConvertThread : public QThread
{
    Q_OBJECT

public:
    // The view's steps run on the thread the view lives on; view may be null.
    TConvertThread(const TConvertTask &task, IConvertView *view, QObject *viewObject);

    void Execute();
    // Asks the conversion to stop after the chunk or the sound at hand. Any thread.
    void Terminate();
    bool Terminated() const { return TerminateRequested; }

    // ConvertToMp3's answers.
    enum TMp3Result : int {
        mp3Done = 0,
        mp3Cancelled = 1,
        mp3Failed = 2,
    };
    // Encodes a WAV file into an MP3 file (64 kbit/s mono at 44100 Hz). A file in another format,
    // or with a header of another shape, is first rewritten in place in the recording format.
    int ConvertToMp3(const std::string &source, const std::string &dest);
    // The same without the current bar, for the threads that convert a list's sounds side by
    // side. Any thread.
    int ConvertToMp3Quietly(const std::string &source, const std::string &dest);

    // How the conversion ended.
    int Result = crFailed;

protected:
    void run() override;

private:
    void ExecuteWordList();
    void ExecuteParts();
    // Runs a step on the GUI thread and waits for it.
    void Synchronize(const std::function<void()> &step);
    void InitCurrentProgress(int64_t chunkCount);
    void StepCurrentProgress();
    void UpdateTotalProgress();
    int Encode(const std::string &source, const std::string &dest, bool showProgress);

    const TConvertTask Task;
    IConvertView *const View;
    QPointer<QObject> ViewObject;
    std::atomic<bool> TerminateRequested{false};
    // Bytes of source sound converted and to convert, for the total bar.
    int64_t Done = 0;
    int64_t Total = 0;
};
