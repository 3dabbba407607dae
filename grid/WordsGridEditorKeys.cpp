#include "grid/WordsGrid.h"

#include "core/Unit_GlobalSettings.h"

#include <QKeyEvent>
#include <algorithm>

// The keys of the in-place controls: moving between cells and rows, selecting rows, and the
// caret keys that the editors would otherwise take for themselves.

// A key as the editor-key checks read it.
struct TWordsGrid::TEditorKey
{
    int Key = 0;
    // No Shift, Alt or Ctrl.
    bool Plain = false;
    bool ShiftAlone = false;
    bool CtrlAlone = false;
    bool AltCtrlUp = false;
    // The part-of-speech or the level combo has its list open.
    bool Dropped = false;
    // Enter to the first column of the next row, and Enter in its other form, to the cell below.
    bool NextRowEnter = false;
    bool OtherEnter = false;
};

bool TWordsGrid::eventFilter(QObject *watched, QEvent *event)
{
    // The main window's Undo, Cut, Copy, Paste and Select all come before the editors' own.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const Qt::KeyboardModifiers modifiers
                = key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
        if (modifiers == Qt::ControlModifier
            && (key->key() == Qt::Key_Z || key->key() == Qt::Key_X || key->key() == Qt::Key_C
                || key->key() == Qt::Key_V || key->key() == Qt::Key_A)) {
            event->ignore();
            return true;
        }
    }
    return CellGrid::eventFilter(watched, event);
}

int TWordsGrid::LastRow() const
{
    const uint8_t kind = ColumnKind(std::max(0, Col()));
    return kind == ckForWord || kind == ckRefWord ? GetWordCount() + 1 : GetWordCount();
}

// A page is never less than one row, so paging always moves.
int TWordsGrid::PageStep() const
{
    return std::max(1, VisibleRowCount() - 1);
}

bool TWordsGrid::IsEditableColumn(int col) const
{
    const uint8_t kind = ColumnKind(col);
    if (kind == ckForWord || kind == ckRefWord)
        return true;
    const bool wordRow = Row() >= 1 && Row() <= GetWordCount();
    return wordRow
            && (kind == ckContext || kind == ckPartOfSpeech || kind == ckLesson || kind == ckLevel1
                || kind == ckLevel2);
}

bool TWordsGrid::CaretAtStart() const
{
    const uint8_t kind = ColumnKind(std::max(0, Col()));
    if (kind == ckLevel1 || kind == ckLevel2)
        return LevelCombo && LevelCombo->isVisible();
    const QLineEdit *edit = OpenLineEdit();
    return edit && edit->isVisible() && !edit->hasSelectedText() && edit->cursorPosition() == 0;
}

bool TWordsGrid::CaretAtEnd() const
{
    const uint8_t kind = ColumnKind(std::max(0, Col()));
    if (kind == ckLevel1 || kind == ckLevel2)
        return LevelCombo && LevelCombo->isVisible();
    const QLineEdit *edit = OpenLineEdit();
    if (!edit || !edit->isVisible())
        return false;
    const int start = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
    return start == edit->text().length();
}

TWordsGrid::TEditorKey TWordsGrid::ReadEditorKey(const QKeyEvent &event) const
{
    const int key = event.key();
    const Qt::KeyboardModifiers modifiers
            = event.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const bool altCtrlUp = !(modifiers & (Qt::ControlModifier | Qt::AltModifier));
    const bool enter = (key == Qt::Key_Return || key == Qt::Key_Enter) && altCtrlUp;
    const bool shift = modifiers.testFlag(Qt::ShiftModifier);
    const bool nextRowEnter = enter && (EditOptions.NormalEnter ? !shift : shift);
    return {
            .Key = key,
            .Plain = modifiers == Qt::NoModifier,
            .ShiftAlone = modifiers == Qt::ShiftModifier,
            .CtrlAlone = modifiers == Qt::ControlModifier,
            .AltCtrlUp = altCtrlUp,
            .Dropped = (PartOfSpeechCombo && PartOfSpeechCombo->IsDroppedDown())
                    || (LevelCombo && LevelCombo->IsDroppedDown()),
            .NextRowEnter = nextRowEnter,
            .OtherEnter = enter && !nextRowEnter,
    };
}

// The keys of the in-place controls, before the control sees them; true when handled, and then
// the control does nothing further with the key. No two groups answer the same key, except that
// Left and Right move the caret only when they do not move to another column.
bool TWordsGrid::EditorKeyDown(QKeyEvent &event)
{
    if (!WordList)
        return false;
    const TEditorKey key = ReadEditorKey(event);
    if (RowKeyDown(key) || PageKeyDown(key) || RowSelectionKeyDown(key) || ColumnKeyDown(key)
        || CaretKeyDown(key))
        return true;
    DeletingKeyDown(key);
    return false;
}

// Enter, Down and Up move one row; Ctrl+Home and Ctrl+End to the first and the last row.
bool TWordsGrid::RowKeyDown(const TEditorKey &key)
{
    if (key.Dropped)
        return false;
    const int row = Row();
    if (key.NextRowEnter) {
        if (row >= 1 && row <= GetWordCount()) {
            SetCol(1);
            SetRow(row + 1);
        }
        return true;
    }
    if ((key.Key == Qt::Key_Down && key.Plain) || key.OtherEnter) {
        if (row < LastRow())
            SetRow(row + 1);
        return true;
    }
    if (key.Key == Qt::Key_Up && key.Plain) {
        if (row > 1)
            SetRow(row - 1);
        return true;
    }
    if (key.Key == Qt::Key_Home && key.CtrlAlone) {
        SetRow(1);
        return true;
    }
    if (key.Key == Qt::Key_End && key.CtrlAlone) {
        SetRow(LastRow());
        return true;
    }
    return false;
}

// PgUp and PgDn scroll by a page and keep the current row's place on the screen.
bool TWordsGrid::PageKeyDown(const TEditorKey &key)
{
    if (key.Dropped || !key.Plain)
        return false;
    const int row = Row();
    if (key.Key == Qt::Key_PageUp) {
        if (row > 1) {
            if (TopRow() < 2) {
                SetRow(1);
            } else {
                const int d = row - TopRow();
                SetTopRow(std::max(TopRow() - PageStep(), 1));
                SetRow(TopRow() + d);
            }
        }
        return true;
    }
    if (key.Key == Qt::Key_PageDown) {
        const int last = LastRow();
        if (row < last) {
            const int limit = GetWordCount() + 2 - VisibleRowCount();
            if (TopRow() < limit) {
                const int d = row - TopRow();
                SetTopRow(std::min(TopRow() + PageStep(), limit));
                SetRow(std::min(TopRow() + d, last));
            } else {
                SetRow(last);
            }
        }
        return true;
    }
    return false;
}

// Shift with Down, PgDn, Up or PgUp selects the current row, and extends a row selection.
bool TWordsGrid::RowSelectionKeyDown(const TEditorKey &key)
{
    if (key.Dropped || !key.ShiftAlone)
        return false;
    const int row = Row();
    const int count = GetWordCount();
    if (key.Key == Qt::Key_Down || key.Key == Qt::Key_PageDown) {
        const int step = key.Key == Qt::Key_Down ? (RowSelection ? 1 : 0) : PageStep();
        if ((step > 0 && row < count) || (step == 0 && row <= count)) {
            SelectRows(row, false, true);
            SelectRows(std::min(count, Selection().Bottom + step), true, true);
        }
        return true;
    }
    if (key.Key == Qt::Key_Up || key.Key == Qt::Key_PageUp) {
        const int step = key.Key == Qt::Key_Up ? (RowSelection ? 1 : 0) : PageStep();
        if (((step > 0 && row > 1) || (step == 0 && row >= 1)) && row <= count) {
            SelectRows(row, false, true);
            SelectRows(std::max(1, Selection().Top - step), true, true);
        }
        return true;
    }
    return false;
}

// Tab, Shift+Tab, Home and End, and Left and Right at the ends of the text, move to another
// editable column of the row.
bool TWordsGrid::ColumnKeyDown(const TEditorKey &key)
{
    // The first editable column from `from` through `to`, counting by step.
    const auto moveToEditable = [this](int from, int to, int step) {
        for (int col = from; step > 0 ? col <= to : col >= to; col += step) {
            if (IsEditableColumn(col)) {
                SetCol(col);
                return;
            }
        }
    };
    if ((key.Key == Qt::Key_Tab && key.Plain)
        || (key.Key == Qt::Key_Right && key.Plain && CaretAtEnd())) {
        moveToEditable(Col() + 1, ColCount() - 1, 1);
        return true;
    }
    if ((key.Key == Qt::Key_Backtab && (key.ShiftAlone || key.Plain))
        || (key.Key == Qt::Key_Left && key.Plain && CaretAtStart())) {
        moveToEditable(Col() - 1, 1, -1);
        return true;
    }
    if (key.Key == Qt::Key_Home && key.Plain && CaretAtStart()) {
        SetCol(1);
        return true;
    }
    if (key.Key == Qt::Key_End && key.Plain && CaretAtEnd()) {
        moveToEditable(ColCount() - 1, 1, -1);
        return true;
    }
    return false;
}

// Left and Right with text selected put the caret at the selection's start or end.
bool TWordsGrid::CaretKeyDown(const TEditorKey &key)
{
    if ((key.Key != Qt::Key_Left && key.Key != Qt::Key_Right) || !key.Plain)
        return false;
    QLineEdit *edit = OpenLineEdit();
    if (!edit || !edit->hasSelectedText())
        return false;
    const int start = edit->selectionStart();
    const int length = static_cast<int>(edit->selectedText().length());
    edit->setCursorPosition(key.Key == Qt::Key_Left ? start : start + length);
    return true;
}

// Backspace and Delete in the part of speech take text away: the change they make is not
// completed again. The key goes on to the combo.
void TWordsGrid::DeletingKeyDown(const TEditorKey &key)
{
    if ((key.Key == Qt::Key_Backspace || key.Key == Qt::Key_Delete) && key.AltCtrlUp && Col() >= 0
        && ColumnKind(Col()) == ckPartOfSpeech)
        SuppressAutoComplete = true;
}
