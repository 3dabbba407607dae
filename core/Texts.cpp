#include "core/Texts.h"

#include "core/Unit_LanguagePack.h"

#include <algorithm>

namespace {

bool StartsAt(std::string_view text, size_t pos, std::string_view what)
{
    return text.substr(pos).starts_with(what);
}

bool StartsAt(QStringView text, size_t pos, QStringView what)
{
    return text.sliced(static_cast<qsizetype>(pos)).startsWith(what);
}

template<typename Result, typename View, typename Values>
Result ReplaceInOnePass(View text, Values values)
{
    Result result;
    for (size_t pos = 0; pos < static_cast<size_t>(text.size());) {
        const auto match = std::find_if(values.begin(), values.end(), [&](const auto &value) {
            return !value.first.empty() && StartsAt(text, pos, value.first);
        });
        if (match == values.end()) {
            result += text[pos++];
            continue;
        }
        result += match->second;
        pos += static_cast<size_t>(match->first.size());
    }
    return result;
}

} // namespace

std::string ReplacePlaceholders(std::string_view text, TPlaceholders values)
{
    return ReplaceInOnePass<std::string>(text, values);
}

QString ReplacePlaceholders(QStringView text, TShownPlaceholders values)
{
    return ReplaceInOnePass<QString>(text, values);
}

QString ReplaceFirstPlaceholder(QString text, QStringView placeholder, QStringView value)
{
    const qsizetype at = placeholder.isEmpty() ? -1 : text.indexOf(placeholder);
    if (at >= 0)
        text.replace(at, placeholder.size(), value.toString());
    return text;
}

QString DecodeText(std::string_view bytes, int codePage)
{
    return CodePage::ToUnicode(bytes, codePage);
}

QString PackText(TEntry entry)
{
    return DecodeText(LanguageText(entry));
}

QString PackText(TEntry entry, TShownPlaceholders values)
{
    return ReplacePlaceholders(PackText(entry), values);
}
