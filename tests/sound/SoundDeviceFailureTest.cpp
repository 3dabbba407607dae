#include "sound/PcmBackend.h"
#include "sound/SoundTexts.h"
#include "sound/Unit_Sound.h"
#include "support/TempFolder.h"
#include "support/WavBytes.h"
#include "support/WordListFixtures.h"

#include <QObject>
#include <gtest/gtest.h>

// Whatever keeps the wave device from recording or playing is named with the device, and leaves
// no device open behind it.

namespace {

class SoundDeviceFailure : public ::testing::Test
{
protected:
    SoundDeviceFailure() { Previous = SetPcmBackend(&Backend); }
    ~SoundDeviceFailure() override
    {
        StopPlayback();
        AbortRecording();
        SetPcmBackend(Previous);
    }

    TTempFolder Temp;
    TFileTestBackend Backend;
    IPcmBackend *Previous = nullptr;
};

} // namespace

TEST_F(SoundDeviceFailure, EachFailureNamesTheDeviceAndItsReason)
{
    // No microphone.
    EXPECT_FALSE(StartRecording());
    EXPECT_EQ("The sound device \"test\" cannot record: there is no microphone",
              CannotRecordText(LastWaveDeviceFailure()).toStdString());
    EXPECT_FALSE(WaveDeviceOpen || WaveRecording);

    // No playback device.
    const std::string part = WriteFile(
            Temp.File("part.wav"), TWavBytes::Canonical(1, 1, 44100, 16, std::string(8820, '\0')));
    QObject window;
    Backend.NoPlayback = true;
    EXPECT_FALSE(PlayWave(part, &window));
    EXPECT_EQ("The sound device \"test\" cannot play: there is no playback device",
              CannotPlayText(LastWaveDeviceFailure()).toStdString());
    EXPECT_FALSE(WaveDeviceOpen || WavePlaying);

    // Busy with a sound of the program's own; a success leaves no failure behind.
    Backend.NoPlayback = false;
    Backend.Slowdown = 1;
    ASSERT_TRUE(PlayWave(part, &window));
    EXPECT_TRUE(LastWaveDeviceFailure().Reason.empty());
    EXPECT_FALSE(StartRecording());
    EXPECT_EQ("test", LastWaveDeviceFailure().Device);
    EXPECT_EQ("another sound still plays or records", LastWaveDeviceFailure().Reason);
    StopPlayback();

    // A file that is no sound is not the device's fault.
    EXPECT_FALSE(PlayWave(WriteFile(Temp.File("text.wav"), "text"), &window));
    EXPECT_TRUE(LastWaveDeviceFailure().Reason.empty());

    // A recording that is dropped leaves the device free.
    Backend.CaptureFile = part;
    ASSERT_TRUE(StartRecording());
    AbortRecording();
    EXPECT_FALSE(WaveDeviceOpen || WaveRecording);
}

// An ALSA device that cannot open, as TARNWICK_ALSA_DEVICE may name one.
TEST_F(SoundDeviceFailure, AnAlsaDeviceThatDoesNotOpenIsNamedWithTheSystemsReason)
{
    TAlsaBackend missing("tarnwick_no_such_device");
    SetPcmBackend(&missing);
    EXPECT_FALSE(StartRecording());
    const TSoundDeviceFailure failure = LastWaveDeviceFailure();
    EXPECT_EQ("tarnwick_no_such_device", failure.Device);
    EXPECT_NE(std::string::npos, failure.Reason.find("no such device")) << failure.Reason;
    EXPECT_EQ(nullptr, missing.OpenPlayback({16, 1, 44100}));
    EXPECT_EQ(failure.Reason, missing.LastError());
    EXPECT_FALSE(WaveDeviceOpen || WaveRecording);
    SetPcmBackend(&Backend);
}
