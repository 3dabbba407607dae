#pragma once

#include "sound/WavFile.h"

#include <QEvent>
#include <atomic>
#include <cstdint>
#include <string>

class QObject;

// The wave device: recording a pronunciation from the microphone into a WAV file, playing a WAV
// file, and reading a WAV file's format. One device at a time; each operation's end closes it.
// The streams come from PcmBackend().

// Process-wide sound flags, false at start. The wave device keeps the first three; the player's
// users (the grid and the exercise window) keep the two MP3 flags. Every user of sound tests them
// before it starts or stops anything.
extern std::atomic<bool> WaveDeviceOpen;
extern std::atomic<bool> WavePlaying;
extern std::atomic<bool> WaveRecording;
extern std::atomic<bool> Mp3InputOpen;
extern std::atomic<bool> Mp3Playing;

// Posted to the window PlayWave names when the playback has played to its end: once per
// playback, never for one that StopPlayback ended. Its handler calls FinishPlayback(Serial).
class TWaveNotifyEvent : public QEvent
{
public:
    explicit TWaveNotifyEvent(uint32_t serial);
    static Type EventType();

    const uint32_t Serial;
};

// Opens the file (any RIFF/WAVE with "fmt " and "data"), or a new, empty recording in 11025 Hz,
// 8-bit mono for an empty name. False when a device is open already or the file is no WAV.
bool OpenWave(const std::string &fileName);
void CloseWave();
// Plays a PCM WAV (8 or 16 bits, one or two channels, any rate) and posts a TWaveNotifyEvent to
// window at its end. False when a device is open already (which is left alone), or the file
// does not play.
bool PlayWave(const std::string &fileName, QObject *window);
// Ends the playback the notice belongs to; a notice of an earlier playback changes nothing.
void FinishPlayback(uint32_t serial);
// Ends a playback at once, without a notice.
void StopPlayback();
// Records in the recording format until StopRecording. False when a device is open already or
// no microphone opens; a failed start leaves no device open.
bool StartRecording();
// Saves what was recorded as a canonical WAV file; nothing when no recording runs.
void StopRecording(const std::string &fileName);
// Why the last PlayWave or StartRecording that failed did: the device's name and the system's
// reason. Reason is empty when the device was not to blame (a file that does not play).
struct TSoundDeviceFailure
{
    std::string Device;
    std::string Reason;
};
TSoundDeviceFailure LastWaveDeviceFailure();
// Stops a recording and throws away what it recorded; nothing when no recording runs.
void AbortRecording();
// A WAV file's format. False while a device is open, or for a file that is no WAV. Any thread.
bool GetWaveFormat(const std::string &fileName, TWaveFormat &format);
// Whether the file opens as a WAV file; false while a device is open. Any thread.
bool CanOpenWave(const std::string &fileName);
