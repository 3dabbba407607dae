#pragma once

#include "sound/WavFile.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// Converts PCM sound to the recording format (44100 Hz, mono, 16-bit), the one format the encoder
// takes.

// Whether the format converts: PCM with 8-bit (unsigned) or 16-bit (signed) samples, one or two
// channels, 1000 to 192000 samples per second. Anything else cannot be converted.
bool CanConvertToRecordingFormat(const TWaveFormat &format);

// Converts the whole frames of length bytes of samples: 8-bit samples are centred and scaled to
// 16 bits, two channels are averaged, other rates are resampled. False when the format cannot be
// converted.
bool ConvertToRecordingFormat(const TWaveFormat &format, const char *samples, size_t length,
                              std::vector<int16_t> &out);
