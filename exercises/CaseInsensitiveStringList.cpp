#include "exercises/CaseInsensitiveStringList.h"

#include "core/Texts.h"

CaseInsensitiveStringList::CaseInsensitiveStringList()
{
    Collator.setCaseSensitivity(Qt::CaseInsensitive);
}

size_t CaseInsensitiveStringList::LowerBound(const QString &text) const
{
    size_t low = 0;
    size_t high = Items.size();
    while (low < high) {
        const size_t middle = low + (high - low) / 2;
        if (Collator.compare(Items[middle].Text, text) < 0)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

bool CaseInsensitiveStringList::Add(const std::string &text)
{
    QString decoded = DecodeText(text);
    const size_t at = LowerBound(decoded);
    if (at < Items.size() && Collator.compare(Items[at].Text, decoded) == 0)
        return false;
    Items.insert(Items.begin() + static_cast<std::ptrdiff_t>(at), TItem{text, std::move(decoded)});
    return true;
}

bool CaseInsensitiveStringList::Contains(const std::string &text) const
{
    const QString decoded = DecodeText(text);
    const size_t at = LowerBound(decoded);
    return at < Items.size() && Collator.compare(Items[at].Text, decoded) == 0;
}
