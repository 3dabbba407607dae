#include "sound/AudioConvert.h"

#include "platform/Resampler.h"

#include <array>
#include <cmath>
#include <cstring>
#include <utility>

namespace {

// The resampler changes a rate by at most this factor either way.
constexpr double MaxRateFactor = 256;
constexpr int UnsignedCentre = 128;
constexpr int ByteShift = 8;
constexpr int FullScale = 32768;

enum class TSampleKind : uint8_t {
    None,
    Unsigned8,
    Signed16,
    Signed24,
    Signed32,
    Float32,
    ALaw,
    MuLaw,
};

TSampleKind KindOf(const TWaveFormat &format, uint16_t sampleFormat)
{
    switch (sampleFormat) {
    case WaveFormatPcm:
        switch (format.BitsPerSample) {
        case 8:
            return TSampleKind::Unsigned8;
        case 16:
            return TSampleKind::Signed16;
        case 24:
            return TSampleKind::Signed24;
        case 32:
            return TSampleKind::Signed32;
        default:
            return TSampleKind::None;
        }
    case WaveFormatIeeeFloat:
        return format.BitsPerSample == 32 ? TSampleKind::Float32 : TSampleKind::None;
    case WaveFormatALaw:
        return format.BitsPerSample == 8 ? TSampleKind::ALaw : TSampleKind::None;
    case WaveFormatMuLaw:
        return format.BitsPerSample == 8 ? TSampleKind::MuLaw : TSampleKind::None;
    default:
        return TSampleKind::None;
    }
}

// The G.711 expansions, to the 16-bit scale.
int16_t ALawSample(uint8_t code)
{
    constexpr uint8_t EvenBits = 0x55;
    code ^= EvenBits;
    int value = (code & 0x0F) << 4;
    const int segment = (code & 0x70) >> 4;
    if (segment == 0)
        value += 8;
    else
        value = (value + 0x108) << (segment - 1);
    return static_cast<int16_t>((code & 0x80) ? value : -value);
}

int16_t MuLawSample(uint8_t code)
{
    constexpr int Bias = 0x84;
    code = static_cast<uint8_t>(~code);
    const int value = (((code & 0x0F) << 3) + Bias) << ((code & 0x70) >> 4);
    return static_cast<int16_t>((code & 0x80) ? Bias - value : value - Bias);
}

using TCodeTable = std::array<int16_t, 256>;

template<typename F> TCodeTable MakeTable(F expand)
{
    TCodeTable table{};
    for (size_t code = 0; code < table.size(); ++code)
        table[code] = expand(static_cast<uint8_t>(code));
    return table;
}

int16_t FromFloat(float value)
{
    const double scaled = std::nearbyint(static_cast<double>(value) * FullScale);
    if (std::isnan(scaled))
        return 0;
    if (scaled <= -FullScale)
        return INT16_MIN;
    return scaled < FullScale ? static_cast<int16_t>(scaled) : INT16_MAX;
}

// One sample at the 16-bit scale; wider integers keep their top 16 bits.
int SampleAt(const uint8_t *bytes, TSampleKind kind)
{
    static const TCodeTable ALaw = MakeTable(ALawSample);
    static const TCodeTable MuLaw = MakeTable(MuLawSample);
    switch (kind) {
    case TSampleKind::Unsigned8:
        return (bytes[0] - UnsignedCentre) * (1 << ByteShift);
    case TSampleKind::Signed16:
        return static_cast<int16_t>(static_cast<uint16_t>(bytes[0] | bytes[1] << ByteShift));
    case TSampleKind::Signed24:
        return static_cast<int16_t>(static_cast<uint16_t>(bytes[1] | bytes[2] << ByteShift));
    case TSampleKind::Signed32:
        return static_cast<int16_t>(static_cast<uint16_t>(bytes[2] | bytes[3] << ByteShift));
    case TSampleKind::Float32: {
        float value = 0;
        std::memcpy(&value, bytes, sizeof value);
        return FromFloat(value);
    }
    case TSampleKind::ALaw:
        return ALaw[bytes[0]];
    case TSampleKind::MuLaw:
        return MuLaw[bytes[0]];
    case TSampleKind::None:
        break;
    }
    return 0;
}

} // namespace

bool CanConvertToRecordingFormat(const TWaveFormat &format, uint16_t sampleFormat)
{
    const double rate = format.SamplesPerSec;
    return KindOf(format, sampleFormat) != TSampleKind::None
            && (format.Channels == 1 || format.Channels == 2)
            && rate * MaxRateFactor >= RecordingFormat.SamplesPerSec
            && rate <= RecordingFormat.SamplesPerSec * MaxRateFactor;
}

bool CanConvertToRecordingFormat(const TWaveFormat &format)
{
    return CanConvertToRecordingFormat(format, format.FormatTag);
}

bool ConvertToRecordingFormat(const TWaveFormat &format, uint16_t sampleFormat, const char *samples,
                              size_t length, std::vector<int16_t> &out)
{
    out.clear();
    if (!CanConvertToRecordingFormat(format, sampleFormat))
        return false;
    const TSampleKind kind = KindOf(format, sampleFormat);
    const size_t bytesPerSample = format.BitsPerSample / 8;
    const size_t block = bytesPerSample * format.Channels;
    const size_t frames = length / block;
    std::vector<int16_t> mono(frames);
    const auto *bytes = reinterpret_cast<const uint8_t *>(samples);
    for (size_t i = 0; i < frames; ++i) {
        const uint8_t *frame = bytes + i * block;
        int value = SampleAt(frame, kind);
        // The average in integers: exact, and the same on every machine.
        if (format.Channels == 2)
            value = (value + SampleAt(frame + bytesPerSample, kind)) >> 1;
        mono[i] = static_cast<int16_t>(value);
    }
    if (format.SamplesPerSec == RecordingFormat.SamplesPerSec) {
        out = std::move(mono);
        return true;
    }
    return ResampleMono16(
            mono, static_cast<double>(RecordingFormat.SamplesPerSec) / format.SamplesPerSec, out);
}

bool ConvertToRecordingFormat(const TWaveFormat &format, const char *samples, size_t length,
                              std::vector<int16_t> &out)
{
    return ConvertToRecordingFormat(format, format.FormatTag, samples, length, out);
}
