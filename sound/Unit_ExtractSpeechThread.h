#pragma once

#include "sound/Unit_BatchRec.h"
#include "sound/WavFile.h"

#include <QPointer>
#include <QThread>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QIODevice;

// The detector's measures; the recording is 44100 Hz 16-bit mono, so a block is about 45 ms.
namespace SpeechSplit {
// The header and the first moments of sound, where the microphone still settles, are skipped.
inline constexpr int64_t FirstByte = 5000;
inline constexpr int64_t BlockBytes = 4000;
inline constexpr int BlockSamples = BlockBytes / 2;
// A sample is quiet below NoiseLevel times this.
inline constexpr int NoiseStep = 82;
// A block with more quiet samples than this is silence.
inline constexpr int QuietSamples = 1500;
// A part starts one block before its first speech block (the read position is past that block).
inline constexpr int64_t LeadIn = 2 * BlockBytes;
// This many quiet blocks in a row end a part...
inline constexpr uint8_t PauseBlocks = 20;
// ...one block after its last speech block.
inline constexpr int64_t Tail = (PauseBlocks - 1) * BlockBytes;
} // namespace SpeechSplit

// Where the speech lies in a recording (a canonical 16-bit mono WAV, read from its start): one
// part per stretch of speech, Start and End as byte offsets, no WAV files yet.
std::vector<TSpeechPart> FindSpeechParts(QIODevice &recording, uint8_t noiseLevel);

// Writes bytes Start .. End - 1 of the recording behind a canonical header in the format as a
// new temporary WAV file and sets the part's WavFile; false, leaving no file, when it fails.
bool WritePartWave(QIODevice &recording, const TWaveFormat &format, TSpeechPart &part);

// Cuts a batch recording at its pauses into parts, each written as a WAV file of its own,
// deletes the recording and then calls OnPartsReady on the receiver's thread, waiting for it.
class TExtractSpeechThread : public QThread
{
    Q_OBJECT

public:
    // Takes the user's noise level as it is now; parts is filled by the thread and read by the
    // receiver once OnPartsReady runs.
    TExtractSpeechThread(std::string fileName, std::vector<TSpeechPart> *parts, QObject *receiver,
                         std::function<void()> onPartsReady);

    void Execute();

    const std::string FileName;
    // True when the recording could not be read or its parts not written: the list is then empty
    // and no part file is left.
    bool Failed = false;

protected:
    void run() override;

private:
    std::vector<TSpeechPart> *const Parts;
    const uint8_t NoiseLevel;
    QPointer<QObject> Receiver;
    const std::function<void()> OnPartsReady;
};
