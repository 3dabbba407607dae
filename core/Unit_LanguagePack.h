#pragma once

#include <string>
#include <vector>

// The texts of the user's language, addressed by entry number.
class TLanguagePack
{
public:
    std::vector<std::string> Entries;

    // The entry's bytes (DEFAULT code page), or "" for a number the pack does not hold.
    const std::string &entry(int number) const;
};

extern TLanguagePack *LanguagePack;

// Entry `number` of the global pack; "" while no pack is loaded.
const std::string &LanguageText(int number);
