#pragma once

#include <cstdint>
#include <string>

// Languages, fonts and foreign characters of a word list, as the list-settings dialog shows and
// returns them.
struct TListSettings
{
    std::string Caption;
    std::string ForLanguage;
    uint8_t ForCharset = 1;
    std::string ForFontName;
    int ForSize = 8;
    std::string RefLanguage;
    uint8_t RefCharset = 1;
    std::string RefFontName;
    int RefSize = 8;
    std::string ForeignChars;
};
