#pragma once

#include "core/ListFont.h"

#include <array>
#include <cstdint>

// The grid's header font: "MS Sans Serif", character set DEFAULT, size 8.
extern const TListFont DefaultFont;

// The keys of the on-screen keyboard, row by row, as scan codes (the XKB key code is scan + 8).
extern const std::array<uint16_t, 48> KeyScanCodes;
