#include "core/Unit_WordList.h"
#include "platform/Resampler.h"
#include "platform/TempFile.h"
#include "sound/PcmBackend.h"
#include "sound/SoundFiles.h"
#include "sound/Unit_ConvertThread.h"
#include "sound/Unit_ExtractSpeechThread.h"
#include "sound/WavFile.h"
#include "sound/XaudioPlayer.h"

#include "tools/bench/BenchTiming.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <numbers>
#include <string>
#include <thread>
#include <vector>

// What users wait for with sound: encoding a recording to MP3, converting an old list whose
// sounds are WAV, the start of a playback and splitting a batch recording into its words.
namespace {

constexpr int EncodedSeconds = 60;
constexpr int ListSounds = 200;
constexpr uint32_t RecordingRate = 44100;
// An old list's sounds: a second and a half of 22050 Hz 8-bit mono each.
constexpr uint32_t OldRate = 22050;
constexpr double OldSeconds = 1.5;
// A batch recording: words of a second and a half, each followed by a pause of 1.2 seconds.
constexpr int SplitSeconds = 60;
constexpr double WordSeconds = 1.5;
constexpr double PauseSeconds = 1.2;

// A voice-like tone whose pitch and loudness wander, with a little noise.
std::vector<int16_t> Speech(uint32_t rate, double seconds)
{
    std::vector<int16_t> samples(static_cast<size_t>(rate * seconds));
    uint32_t noise = 1;
    double phase = 0;
    for (size_t i = 0; i < samples.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        phase += 2 * std::numbers::pi * (130 + 50 * std::sin(2 * std::numbers::pi * 2.5 * t))
                / rate;
        noise = noise * 1664525 + 1013904223;
        const double loudness = 0.55 + 0.45 * std::sin(2 * std::numbers::pi * 3.7 * t);
        samples[i] = static_cast<int16_t>(
                loudness * (9000 * std::sin(phase) + 2500 * std::sin(3 * phase))
                + static_cast<double>(noise >> 21) - 1024);
    }
    return samples;
}

std::string Canonical(const TWaveFormat &format, const std::string &samples)
{
    return CanonicalHeader(format, static_cast<uint32_t>(samples.size())) + samples;
}

void Write(const std::string &fileName, const std::string &bytes)
{
    QFile file(QString::fromStdString(fileName));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(bytes.data(), static_cast<qint64>(bytes.size()))
                != static_cast<qint64>(bytes.size()))
        std::fprintf(stderr, "cannot write %s\n", fileName.c_str());
}

double EncodeMinute()
{
    const std::vector<int16_t> speech = Speech(RecordingRate, EncodedSeconds);
    const std::string wav = Canonical(RecordingFormat,
                                      std::string(reinterpret_cast<const char *>(speech.data()),
                                                  speech.size() * sizeof(int16_t)));
    const std::string source = CreateTempFile("ZRW");
    const std::string dest = CreateTempFile("ZRM");
    Write(source, wav);
    TConvertThread thread({}, nullptr, nullptr);
    const double ms = MedianMs(Runs(5), [&] { thread.ConvertToMp3(source, dest); });
    RemoveFile(source);
    RemoveFile(dest);
    return ms;
}

// The processor time of the whole process, all threads, in milliseconds.
double CpuMs()
{
    return static_cast<double>(std::clock()) * 1000 / CLOCKS_PER_SEC;
}

// The list's conversion: the median wall time, and the processor time each run took on average.
double ConvertList(double &cpuMs)
{
    std::string samples;
    for (int16_t sample : Speech(OldRate, OldSeconds))
        samples += static_cast<char>((sample >> 8) + 128);
    const std::string wav = Canonical({WaveFormatPcm, 1, OldRate, OldRate, 1, 8, 0}, samples);
    const double cpuBefore = CpuMs();
    int runs = 0;
    const double ms = MedianMs(Runs(3), [&] {
        ++runs;
        TWordList list;
        QFile store(QString::fromStdString(list.SoundTempFile));
        store.open(QIODevice::WriteOnly | QIODevice::Truncate);
        for (int i = 0; i < ListSounds; ++i) {
            list.Add(std::make_unique<TWord>("mot", "woord", ""));
            store.write(wav.data(), static_cast<qint64>(wav.size()));
            list.SetSound(i, static_cast<int32_t>(i * wav.size()),
                          static_cast<int32_t>(wav.size()));
        }
        store.close();
        TConvertTask task;
        task.Mode = cmWordList;
        task.WordList = &list;
        TConvertThread thread(task, nullptr, nullptr);
        thread.Execute();
        if (thread.Result != crDone)
            std::fprintf(stderr, "the list conversion failed\n");
    });
    cpuMs = (CpuMs() - cpuBefore) / std::max(runs, 1);
    return ms;
}

double PowerDb(const std::vector<double> &samples)
{
    double sum = 0;
    for (double sample : samples)
        sum += sample * sample;
    return 10 * std::log10(std::max(sum / std::max<size_t>(samples.size(), 1), 1e-12));
}

// What each resampler filter costs on a list's sounds, and how far it lands from the best one:
// the difference's level below the sound, beside the level of the noise an 8-bit sound brings
// with it, and how much of a tone near the top of the band it keeps.
void CompareFilters()
{
    const std::vector<int16_t> speech = Speech(OldRate, OldSeconds);
    std::vector<int16_t> eightBit(speech.size());
    std::vector<double> quantisation(speech.size());
    for (size_t i = 0; i < speech.size(); ++i) {
        eightBit[i] = static_cast<int16_t>((speech[i] >> 8) * 256);
        quantisation[i] = speech[i] - eightBit[i];
    }
    const double ratio = static_cast<double>(RecordingRate) / OldRate;
    std::vector<int16_t> best;
    ResampleMono16(eightBit, ratio, best, TResampleFilter::Best);
    std::vector<double> signal(best.begin(), best.end());
    const double signalDb = PowerDb(signal);
    std::printf("8-bit noise of an old list's sound: %.1f dB below the sound\n",
                signalDb - PowerDb(quantisation));
    const struct
    {
        const char *Name;
        TResampleFilter Filter;
    } filters[] = {{"SRC_SINC_BEST_QUALITY", TResampleFilter::Best},
                   {"SRC_SINC_MEDIUM_QUALITY", TResampleFilter::Medium},
                   {"SRC_SINC_FASTEST", TResampleFilter::Fast}};
    for (const auto &filter : filters) {
        std::vector<int16_t> out;
        const double ms = MedianMs(Runs(3), [&] {
            for (int i = 0; i < ListSounds; ++i)
                ResampleMono16(eightBit, ratio, out, filter.Filter);
        });
        std::vector<double> difference(std::min(out.size(), best.size()));
        for (size_t i = 0; i < difference.size(); ++i)
            difference[i] = out[i] - best[i];
        // A 9 kHz tone, above the fastest filter's flat band, and a 6 kHz one well inside it.
        double kept[2] = {0, 0};
        for (int k = 0; k < 2; ++k) {
            const double frequency = k == 0 ? 6000 : 9000;
            std::vector<int16_t> tone(OldRate / 2);
            for (size_t i = 0; i < tone.size(); ++i)
                tone[i] = static_cast<int16_t>(
                        16000 * std::sin(2 * std::numbers::pi * frequency * i / OldRate));
            std::vector<int16_t> raised;
            ResampleMono16(tone, ratio, raised, filter.Filter);
            std::vector<double> middle(raised.begin() + 2000, raised.end() - 2000);
            std::vector<double> source(tone.begin() + 1000, tone.end() - 1000);
            kept[k] = PowerDb(middle) - PowerDb(source);
        }
        std::printf("  %-24s %d sounds: %6.1f ms; differs from the best by %.1f dB below the "
                    "sound; 6 kHz %+.2f dB, 9 kHz %+.2f dB\n",
                    filter.Name, ListSounds, ms,
                    difference.empty() ? 0.0 : signalDb - PowerDb(difference), kept[0], kept[1]);
    }
}

// A device that notes when the first frames reach it and forgets them.
class TFirstFrameBackend : public IPcmBackend
{
public:
    class TStream : public IPcmStream
    {
    public:
        explicit TStream(std::atomic<bool> &written)
            : Written(written)
        { }
        long Write(const void *, long count) override
        {
            Written = true;
            return count;
        }
        long Read(void *, long) override { return 0; }
        void Drop() override { }
        void Drain() override { }
        void Interrupt() override { }

    private:
        std::atomic<bool> &Written;
    };

    std::unique_ptr<IPcmStream> OpenPlayback(const TPcmFormat &) override
    {
        return std::make_unique<TStream>(Written);
    }
    std::unique_ptr<IPcmStream> OpenCapture(const TPcmFormat &) override { return nullptr; }
    std::unique_ptr<IPcmStream> OpenNullSink(const TPcmFormat &) override
    {
        return std::make_unique<TStream>(Written);
    }
    std::string DeviceName() const override { return "bench"; }
    std::string LastError() const override { return {}; }

    std::atomic<bool> Written{false};
};

// From the user's Play (the input is opened) to the first frames written to the device, through
// the player's acknowledgement as the grid handles it.
double StartPlayback()
{
    const std::vector<int16_t> speech = Speech(RecordingRate, 2);
    const std::string wav = Canonical(RecordingFormat,
                                      std::string(reinterpret_cast<const char *>(speech.data()),
                                                  speech.size() * sizeof(int16_t)));
    const std::string source = CreateTempFile("ZRW");
    const std::string mp3 = CreateTempFile("ZRM");
    Write(source, wav);
    TConvertThread({}, nullptr, nullptr).ConvertToMp3(source, mp3);
    TFirstFrameBackend backend;
    IPcmBackend *previous = SetPcmBackend(&backend);
    TXaudioPlayer player;
    bool closed = false;
    player.OnNotifyAck = [&player, &closed](uint8_t command) {
        if (command == IXaudioPlayer::cmdInputOpen) {
            player.InputSeek(0, 1);
            player.Play();
        }
        closed = command == IXaudioPlayer::cmdInputClose;
    };
    std::vector<double> times;
    for (int run = 0; run < Runs(9); ++run) {
        backend.Written = false;
        QElapsedTimer timer;
        timer.start();
        player.InputOpen(mp3);
        while (!backend.Written)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        times.push_back(ElapsedMs(timer));
        player.Stop();
        player.InputClose();
        // The next run starts once this playback has surely ended.
        while (!closed)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        closed = false;
    }
    const double ms = Median(times);
    SetPcmBackend(previous);
    RemoveFile(source);
    RemoveFile(mp3);
    return ms;
}

// From the stopped recording to the parts written as WAV files and the window told.
double SplitMinute(size_t &partCount)
{
    const std::vector<int16_t> speech = Speech(RecordingRate, SplitSeconds);
    std::vector<int16_t> take(speech.size(), 0);
    const auto word = static_cast<size_t>(RecordingRate * WordSeconds);
    const auto stride = word + static_cast<size_t>(RecordingRate * PauseSeconds);
    for (size_t i = 0; i < take.size(); ++i)
        if (i % stride < word)
            take[i] = speech[i];
    const std::string wav = Canonical(RecordingFormat,
                                      std::string(reinterpret_cast<const char *>(take.data()),
                                                  take.size() * sizeof(int16_t)));
    QObject window;
    std::vector<double> times;
    for (int run = 0; run < Runs(7); ++run) {
        const std::string recording = CreateTempFile("ZRW");
        Write(recording, wav);
        std::vector<TSpeechPart> parts;
        TExtractSpeechThread thread(recording, &parts, &window, [] {});
        QElapsedTimer timer;
        timer.start();
        thread.Execute();
        times.push_back(ElapsedMs(timer));
        partCount = parts.size();
        for (const TSpeechPart &part : parts)
            RemoveFile(part.WavFile);
    }
    return Median(times);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const double encode = EncodeMinute();
    std::printf("encoding %d s of speech to MP3: %.1f ms, %.0f times real time\n", EncodedSeconds,
                encode, EncodedSeconds * 1000.0 / encode);
    double listCpu = 0;
    const double list = ConvertList(listCpu);
    std::printf("converting a list of %d WAV sounds (%.1f s, %u Hz 8-bit each): %.2f s, %.1f ms "
                "a sound, %.0f times real time\n",
                ListSounds, OldSeconds, OldRate, list / 1000, list / ListSounds,
                ListSounds * OldSeconds * 1000 / list);
    std::printf("  processor time of the list, all threads: %.2f s, %.1f ms a sound (%u threads "
                "available, load average shown by uptime)\n",
                listCpu / 1000, listCpu / ListSounds, std::thread::hardware_concurrency());
    CompareFilters();
    std::printf("start of playback to the first frames written: %.2f ms\n", StartPlayback());
    size_t parts = 0;
    const double split = SplitMinute(parts);
    std::printf("splitting a %d s batch recording into %zu parts: %.1f ms\n", SplitSeconds, parts,
                split);
    return 0;
}
