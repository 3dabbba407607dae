#pragma once

#include <QStringList>
#include <array>
#include <cstdint>
#include <string>

// The sixteen font character sets a word list may use, in the order of the selection lists.
constexpr std::array<uint8_t, 16> SupportedCharsets{1,   0,   238, 186, 204, 161, 162, 178,
                                                    177, 222, 163, 134, 136, 128, 129, 130};

constexpr uint8_t DEFAULT_CHARSET = 1;

bool IsSupportedCharset(int charset);
// The language-pack name of a character set; an unlisted value gives DEFAULT's name.
const std::string &CharsetName(int charset);
int IndexToCharset(int index);
int CharsetToIndex(int charset);

// The sixteen character-set names in list order, as the selection lists show them.
QStringList CharsetNames();
// The installed families of the character set, sorted without regard to case (names equal but
// for case in a fixed order), without duplicates.
QStringList SortedFamilies(int charset);
bool FontSupportsCharset(const std::string &fontName, int charset);
