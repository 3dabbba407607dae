#include "widgets/CharsetCombos.h"

#include "core/Unit_Charsets.h"
#include "platform/CodePage.h"

#include <QComboBox>

void FillCharsetCombo(QComboBox *combo)
{
    combo->clear();
    combo->addItems(CharsetNames());
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
    // A name that the desktop resolves to an installed face by a strong alias is there too.
    if (found < 0 && combo->isEditable() && !current.isEmpty()
        && FontSupportsCharset(CodePage::FromUnicodeLossy(current, CodePage::Default), charset)) {
        combo->setCurrentIndex(-1);
        combo->setEditText(current);
        return;
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
