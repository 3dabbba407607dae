#pragma once

#include <cstdint>
#include <vector>

// Changes the rate of 16-bit mono samples by ratio (new rate / old rate) with a band-limited
// filter, so that raising the rate of low-rate speech adds no mirrored tones. Samples beyond the
// 16-bit range are clipped. False when the ratio is one the filter cannot take.
bool ResampleMono16(const std::vector<int16_t> &in, double ratio, std::vector<int16_t> &out);
