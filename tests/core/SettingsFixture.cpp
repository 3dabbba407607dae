#include "SettingsFixture.h"

#include <cstring>

std::vector<uint8_t> DoubleBytes(double value)
{
    uint64_t bits;
    static_assert(sizeof bits == sizeof value);
    std::memcpy(&bits, &value, sizeof bits);
    std::vector<uint8_t> bytes;
    for (int i = 0; i < 8; ++i)
        bytes.push_back(static_cast<uint8_t>(bits >> (8 * i)));
    return bytes;
}

std::vector<uint8_t> PrintSlot(uint8_t kind, double share)
{
    return Join({{kind, 0, 0, 0}, DoubleBytes(share)});
}

std::vector<uint8_t> Join(std::initializer_list<std::vector<uint8_t>> parts)
{
    std::vector<uint8_t> joined;
    for (const auto &part : parts)
        joined.insert(joined.end(), part.begin(), part.end());
    return joined;
}
