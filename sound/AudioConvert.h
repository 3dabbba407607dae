#pragma once

#include "sound/WavFile.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// Converts the sound of a WAV file to the recording format (44100 Hz, mono, 16-bit), the one
// format the encoder takes.

// Whether samples of this format convert. sampleFormat is what the samples are: the format tag,
// or for an extensible format the tag its sub-format names. Taken are integer PCM of 8 (unsigned),
// 16, 24 or 32 bits, 32-bit float, A-law and mu-law, in one or two channels at any rate the
// resampler can bring to 44100 Hz.
bool CanConvertToRecordingFormat(const TWaveFormat &format, uint16_t sampleFormat);
bool CanConvertToRecordingFormat(const TWaveFormat &format);

// Converts the whole frames of length bytes of samples: every kind is brought to 16 bits, two
// channels are averaged, other rates are resampled. False when the format cannot be converted.
bool ConvertToRecordingFormat(const TWaveFormat &format, uint16_t sampleFormat, const char *samples,
                              size_t length, std::vector<int16_t> &out);
bool ConvertToRecordingFormat(const TWaveFormat &format, const char *samples, size_t length,
                              std::vector<int16_t> &out);
