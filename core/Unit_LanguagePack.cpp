#include "core/Unit_LanguagePack.h"

TLanguagePack *LanguagePack = nullptr;

namespace {
const std::string NoText;
}

const std::string &TLanguagePack::entry(int number) const
{
    if (number < 0 || static_cast<size_t>(number) >= Entries.size())
        return NoText;
    return Entries[static_cast<size_t>(number)];
}

const std::string &LanguageText(int number)
{
    return LanguagePack ? LanguagePack->entry(number) : NoText;
}
