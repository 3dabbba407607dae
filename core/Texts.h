#pragma once

#include "core/LanguageEntries.h"
#include "platform/CodePage.h"

#include <QString>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

// The one way texts of the language pack and of the data model become what a window shows.

using TPlaceholders = std::initializer_list<std::pair<std::string_view, std::string_view>>;
using TShownPlaceholders = std::initializer_list<std::pair<QStringView, QStringView>>;

// Every occurrence of each placeholder, in one pass from left to right: a value put in is never
// searched again, so a language name that reads "%tl%" stays as it is.
std::string ReplacePlaceholders(std::string_view text, TPlaceholders values);
QString ReplacePlaceholders(QStringView text, TShownPlaceholders values);
// Only the first occurrence, for the few texts whose later occurrences are shown as written.
QString ReplaceFirstPlaceholder(QString text, QStringView placeholder, QStringView value);

// Bytes of a code page as a window shows them (the program's own texts are DEFAULT bytes).
QString DecodeText(std::string_view bytes, int codePage = CodePage::Default);

// A trainer entry of the loaded pack, as a window shows it; "" while no pack is loaded.
QString PackText(TEntry entry);
// The same with its placeholders filled in after decoding, so that values that are not
// DEFAULT bytes (file names, numbers) go in unchanged.
QString PackText(TEntry entry, TShownPlaceholders values);
