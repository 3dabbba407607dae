#pragma once

#include <cstdint>
#include <vector>

// The band-limited filters, slowest and best first. Fast keeps 80% of the band below the lower
// rate's half, Medium 90%, Best 97%; all keep mirrored tones below what 16 bits can hold.
enum class TResampleFilter : uint8_t {
    Best,
    Medium,
    Fast,
};

// Changes the rate of 16-bit mono samples by ratio (new rate / old rate) with a band-limited
// filter, so that raising the rate of low-rate speech adds no mirrored tones. Samples beyond the
// 16-bit range are clipped. False when the ratio is one the filter cannot take.
bool ResampleMono16(const std::vector<int16_t> &in, double ratio, std::vector<int16_t> &out,
                    TResampleFilter filter = TResampleFilter::Medium);
