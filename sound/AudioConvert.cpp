#include "sound/AudioConvert.h"

#include "platform/Resampler.h"

#include <utility>

namespace {

constexpr uint32_t MinRate = 1000;
constexpr uint32_t MaxRate = 192000;
constexpr int UnsignedCentre = 128;
constexpr int ByteShift = 8;

int SampleAt(const uint8_t *bytes, int bits)
{
    if (bits == 8)
        return (bytes[0] - UnsignedCentre) * (1 << ByteShift);
    return static_cast<int16_t>(static_cast<uint16_t>(bytes[0] | bytes[1] << ByteShift));
}

} // namespace

bool CanConvertToRecordingFormat(const TWaveFormat &format)
{
    return format.FormatTag == WaveFormatPcm
            && (format.BitsPerSample == 8 || format.BitsPerSample == 16)
            && (format.Channels == 1 || format.Channels == 2) && format.SamplesPerSec >= MinRate
            && format.SamplesPerSec <= MaxRate;
}

bool ConvertToRecordingFormat(const TWaveFormat &format, const char *samples, size_t length,
                              std::vector<int16_t> &out)
{
    out.clear();
    if (!CanConvertToRecordingFormat(format))
        return false;
    const int bytesPerSample = format.BitsPerSample / 8;
    const size_t block = static_cast<size_t>(bytesPerSample * format.Channels);
    const size_t frames = length / block;
    std::vector<int16_t> mono(frames);
    const auto *bytes = reinterpret_cast<const uint8_t *>(samples);
    for (size_t i = 0; i < frames; ++i) {
        const uint8_t *frame = bytes + i * block;
        int value = SampleAt(frame, format.BitsPerSample);
        // The average in integers: exact, and the same on every machine.
        if (format.Channels == 2)
            value = (value + SampleAt(frame + bytesPerSample, format.BitsPerSample)) >> 1;
        mono[i] = static_cast<int16_t>(value);
    }
    if (format.SamplesPerSec == RecordingFormat.SamplesPerSec) {
        out = std::move(mono);
        return true;
    }
    return ResampleMono16(
            mono, static_cast<double>(RecordingFormat.SamplesPerSec) / format.SamplesPerSec, out);
}
