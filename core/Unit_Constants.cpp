#include "core/Unit_Constants.h"

const TListFont DefaultFont{"MS Sans Serif", 1, 8};

const std::array<uint16_t, 48> KeyScanCodes{41, 2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12,
                                            13, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26,
                                            27, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40,
                                            44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 43, 57};
