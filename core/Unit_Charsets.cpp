#include "core/Unit_Charsets.h"

#include "core/Texts.h"
#include "core/Unit_LanguagePack.h"
#include "platform/FontCatalog.h"

#include <QStringList>
#include <algorithm>

// Case-insensitive order; names equal but for case stay apart in a fixed order, so exact
// duplicates always end up side by side.
QStringList SortedFamilies(int charset)
{
    QStringList families;
    for (const std::string &family : FontCatalog()->Families(charset))
        families.append(DecodeText(family));
    std::sort(families.begin(), families.end(), [](const QString &a, const QString &b) {
        const int order = a.compare(b, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a < b;
    });
    families.erase(std::unique(families.begin(), families.end()), families.end());
    return families;
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
    return LanguageText(TEntry::FirstCharsetName, CharsetToIndex(charset));
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

QStringList CharsetNames()
{
    QStringList names;
    for (size_t index = 0; index < SupportedCharsets.size(); ++index)
        names.append(DecodeText(LanguageText(TEntry::FirstCharsetName, static_cast<int>(index))));
    return names;
}

bool FontSupportsCharset(const std::string &fontName, int charset)
{
    return FontCatalog()->Supports(fontName, charset);
}
