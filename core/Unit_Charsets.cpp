#include "core/Unit_Charsets.h"

#include "core/FontCatalog.h"
#include "core/Unit_LanguagePack.h"
#include "platform/CodePage.h"

#include <QComboBox>
#include <algorithm>

namespace {

constexpr int FirstNameEntry = 337;

QString Shown(const std::string &bytes)
{
    return CodePage::ToUnicode(bytes, CodePage::Default);
}

// Case-insensitive order; names equal but for case stay apart in a fixed order, so exact
// duplicates always end up side by side.
QStringList SortedFamilies(int charset)
{
    QStringList families;
    for (const std::string &family : FontCatalog()->Families(charset))
        families.append(Shown(family));
    std::sort(families.begin(), families.end(), [](const QString &a, const QString &b) {
        const int order = a.compare(b, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a < b;
    });
    families.erase(std::unique(families.begin(), families.end()), families.end());
    return families;
}

} // namespace

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

void FillCharsetCombo(QComboBox *combo)
{
    combo->clear();
    for (size_t index = 0; index < SupportedCharsets.size(); ++index)
        combo->addItem(Shown(LanguageText(FirstNameEntry + static_cast<int>(index))));
}

void FillFontCombo(int charset, QComboBox *combo)
{
    const QString current = combo->currentText();
    const QStringList families = SortedFamilies(charset);
    combo->clear();
    combo->addItems(families);
    qsizetype found = -1;
    for (qsizetype i = 0; i < families.size() && found < 0; ++i) {
        if (families[i].compare(current, Qt::CaseInsensitive) == 0)
            found = i;
    }
    if (found < 0) {
        combo->setCurrentIndex(families.isEmpty() ? -1 : 0);
        if (combo->isEditable())
            combo->setEditText(families.isEmpty() ? QString() : families.first());
        return;
    }
    combo->setCurrentIndex(static_cast<int>(found));
    // A name typed into the combo stays as it was typed.
    if (combo->isEditable())
        combo->setEditText(current);
}

bool FontSupportsCharset(const std::string &fontName, int charset)
{
    return FontCatalog()->Supports(fontName, charset);
}
