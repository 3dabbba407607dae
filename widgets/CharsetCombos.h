#pragma once

class QComboBox;

// Replaces the combo's items with the sixteen character-set names in list order.
void FillCharsetCombo(QComboBox *combo);
// Fills the combo with the installed families of the character set, sorted without regard to
// case; a current name not among them gives way to the first family (or to ""), unless an
// editable combo holds a name that the desktop resolves by a strong alias to a face of the set.
void FillFontCombo(int charset, QComboBox *combo);
