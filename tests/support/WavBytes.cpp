#include "support/WavBytes.h"

#include "platform/Mp3Encoder.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr int RiffHeaderSize = 8;
constexpr uint32_t ExtensionSizeBytes = 2;

} // namespace

std::string Le16(uint16_t value)
{
    return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
}

std::string Le32(uint32_t value)
{
    return Le16(static_cast<uint16_t>(value & 0xFFFF)) + Le16(static_cast<uint16_t>(value >> 16));
}

TWavBytes &TWavBytes::Format(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits,
                             uint32_t formatSize)
{
    const uint16_t block = static_cast<uint16_t>(channels * (bits / 8));
    std::string format = Le16(tag) + Le16(channels) + Le32(rate) + Le32(rate * block) + Le16(block)
            + Le16(bits);
    if (formatSize > format.size())
        format += Le16(static_cast<uint16_t>(formatSize - format.size() - ExtensionSizeBytes));
    format.resize(formatSize, '\0');
    return Chunk("fmt ", format);
}

TWavBytes &TWavBytes::Chunk(const std::string &id, const std::string &bytes)
{
    body += id + Le32(static_cast<uint32_t>(bytes.size())) + bytes;
    if (bytes.size() % 2 != 0)
        body += '\0';
    return *this;
}

TWavBytes &TWavBytes::Data(const std::string &samples, std::optional<uint32_t> claimedLength)
{
    body += "data" + Le32(claimedLength.value_or(static_cast<uint32_t>(samples.size()))) + samples;
    return *this;
}

std::string TWavBytes::Bytes() const
{
    return "RIFF" + Le32(static_cast<uint32_t>(body.size() + 4)) + "WAVE" + body;
}

std::string TWavBytes::Canonical(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits,
                                 const std::string &samples)
{
    return TWavBytes().Format(tag, channels, rate, bits).Data(samples).Bytes();
}

std::string Pcm16(const std::vector<int16_t> &samples)
{
    std::string bytes;
    bytes.reserve(samples.size() * 2);
    for (int16_t sample : samples)
        bytes += Le16(static_cast<uint16_t>(sample));
    return bytes;
}

std::vector<int16_t> Samples16(const std::string &bytes)
{
    std::vector<int16_t> samples(bytes.size() / 2);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<int16_t>(static_cast<uint8_t>(bytes[2 * i])
                                          | static_cast<uint8_t>(bytes[2 * i + 1]) << 8);
    return samples;
}

std::vector<int16_t> Sine(uint32_t rate, double frequency, double seconds, int amplitude)
{
    std::vector<int16_t> samples(static_cast<size_t>(std::lround(rate * seconds)));
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<int16_t>(std::lround(
                amplitude
                * std::sin(2 * std::numbers::pi * frequency * static_cast<double>(i) / rate)));
    return samples;
}

std::vector<int16_t> SpeechLike(uint32_t rate, double seconds)
{
    std::vector<int16_t> samples(static_cast<size_t>(std::lround(rate * seconds)));
    uint32_t noise = 12345;
    double phase = 0;
    for (size_t i = 0; i < samples.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        const double pitch = 140 + 40 * std::sin(2 * std::numbers::pi * 3 * t);
        const double loudness = 0.5 + 0.5 * std::sin(2 * std::numbers::pi * 4 * t);
        phase += 2 * std::numbers::pi * pitch / rate;
        noise = noise * 1103515245 + 12345;
        const double hiss = static_cast<double>(noise >> 16 & 0x7FF) - 1024;
        samples[i] = static_cast<int16_t>(std::lround(
                loudness * (9000 * std::sin(phase) + 3000 * std::sin(3 * phase)) + hiss));
    }
    return samples;
}

std::string Mp3Bytes(const std::vector<int16_t> &samples)
{
    BE_CONFIG config;
    uint32_t chunk = 0;
    uint32_t bufferSize = 0;
    HBE_STREAM stream = nullptr;
    if (beInitStream(&config, &chunk, &bufferSize, &stream) != BE_ERR_SUCCESSFUL)
        return {};
    std::string bytes;
    std::vector<uint8_t> out(bufferSize);
    for (size_t done = 0; done < samples.size(); done += chunk) {
        uint32_t length = 0;
        beEncodeChunk(stream, static_cast<uint32_t>(std::min<size_t>(chunk, samples.size() - done)),
                      samples.data() + done, out.data(), &length);
        bytes.append(reinterpret_cast<const char *>(out.data()), length);
    }
    uint32_t length = 0;
    beDeinitStream(stream, out.data(), &length);
    bytes.append(reinterpret_cast<const char *>(out.data()), length);
    beCloseStream(stream);
    return bytes;
}
