#pragma once

#include <QFont>
#include <cstdint>
#include <string>

// A font as word lists and settings store it: face name (DEFAULT code-page bytes), Windows
// character set and point size.
struct TListFont
{
    std::string Name;
    uint8_t Charset = 1;
    int Size = 0;

    QFont toQFont() const;
};
