#include "core/Unit_Charsets.h"

#include "core/Unit_LanguagePack.h"

namespace {
constexpr int FirstNameEntry = 337;
}

bool IsSupportedCharset(int charset)
{
    for (uint8_t supported : SupportedCharsets) {
        if (supported == charset)
            return true;
    }
    return false;
}

const std::string &CharsetName(int charset)
{
    return LanguageText(FirstNameEntry + CharsetToIndex(charset));
}

int IndexToCharset(int index)
{
    if (index < 1 || index >= static_cast<int>(SupportedCharsets.size()))
        return DEFAULT_CHARSET;
    return SupportedCharsets[static_cast<size_t>(index)];
}

int CharsetToIndex(int charset)
{
    for (size_t i = 0; i < SupportedCharsets.size(); ++i) {
        if (SupportedCharsets[i] == charset)
            return static_cast<int>(i);
    }
    return 0;
}
