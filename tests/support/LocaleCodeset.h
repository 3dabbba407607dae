#pragma once

#include <clocale>
#include <string>

// The locale's character set (LC_CTYPE) for the lifetime of the object; ok tells whether the
// locale exists.
class TLocaleCodeset
{
public:
    explicit TLocaleCodeset(const char *locale)
        : previous(std::setlocale(LC_CTYPE, nullptr))
    {
        ok = std::setlocale(LC_CTYPE, locale) != nullptr;
    }
    ~TLocaleCodeset() { std::setlocale(LC_CTYPE, previous.c_str()); }
    TLocaleCodeset(const TLocaleCodeset &) = delete;
    TLocaleCodeset &operator=(const TLocaleCodeset &) = delete;

    bool ok = false;

private:
    std::string previous;
};
