#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Builds the bytes of a WAV file chunk by chunk; the RIFF length is filled in by Bytes.
//
//   TWavBytes().Format(1, 2, 22050, 8).Chunk("LIST", "INFOtext").Data(samples).Bytes();
class TWavBytes
{
public:
    // A "fmt " chunk of formatSize bytes (16, or 18 and more with a zero-filled extension).
    TWavBytes &Format(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits,
                      uint32_t formatSize = 16);
    // Any chunk, padded to an even length.
    TWavBytes &Chunk(const std::string &id, const std::string &body);
    // A "data" chunk whose header may claim another length than the samples it holds.
    TWavBytes &Data(const std::string &samples, std::optional<uint32_t> claimedLength = {});
    std::string Bytes() const;

    // The canonical 44-byte header and the samples.
    static std::string Canonical(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits,
                                 const std::string &samples);

private:
    std::string body;
};

std::string Le16(uint16_t value);
std::string Le32(uint32_t value);
// Signed 16-bit samples as little-endian bytes.
std::string Pcm16(const std::vector<int16_t> &samples);
std::vector<int16_t> Samples16(const std::string &bytes);
// A sine of the frequency and amplitude at the rate, seconds long.
std::vector<int16_t> Sine(uint32_t rate, double frequency, double seconds, int amplitude);
// Spoken-like sound: a tone whose pitch and loudness wander, with some noise; the same every time.
std::vector<int16_t> SpeechLike(uint32_t rate, double seconds);
// The samples (44100 Hz mono) encoded as the program stores sounds: plain 64 kbit/s MP3 frames.
std::string Mp3Bytes(const std::vector<int16_t> &samples);
