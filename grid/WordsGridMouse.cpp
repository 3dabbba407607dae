#include "grid/WordsGrid.h"

#include <QKeyEvent>
#include <algorithm>

// The mouse and the keys on the grid itself: presses and releases on cells and headers, the
// pointer's shape, where a column may be sized, and the keys while rows are selected.

// A header of a data column, a cell of a word outside the score column, or a word column of the
// append row.
bool TWordsGrid::IsLiveCell(int col, int row) const
{
    const uint8_t kind = ColumnKind(col);
    const int count = GetWordCount();
    if (row == 0)
        return kind != ckRowHeader;
    if (row >= 1 && row <= count)
        return kind != ckScore;
    return row == count + 1 && (kind == ckForWord || kind == ckRefWord);
}

bool TWordsGrid::IsTextCellAt(int col, int row) const
{
    const uint8_t kind = ColumnKind(col);
    if (kind == ckForWord || kind == ckRefWord)
        return row >= 1;
    return IsTextKind(kind) && row >= 1 && row <= GetWordCount();
}

// A partly shown row or column comes into view whole. A column wider than the grid never shows
// whole, so scrolling stops where it no longer moves.
void TWordsGrid::ScrollPressedCellIntoView(int col, int row)
{
    if (row == TopRow() + VisibleRowCount())
        SetTopRow(TopRow() + 1);
    while (col == LeftCol() + VisibleColCount()) {
        const int before = LeftCol();
        SetLeftCol(before + 1);
        if (LeftCol() == before)
            break;
    }
}

// A press on a data cell makes it current and never reaches the toolkit grid, which would only
// move the current cell inside a row selection. Presses on the header row and the row headers
// also start its sizing and moving. Outside every cell a press only focuses the grid.
void TWordsGrid::MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos)
{
    if (Busy || !WordList)
        return;
    const TGridCoord cell = MouseCoord(pos);
    MouseDownCol = cell.X;
    MouseDownRow = cell.Y;
    if (cell.X < 0 || cell.Y < 0)
        return;
    if (IsLiveCell(cell.X, cell.Y))
        ScrollPressedCellIntoView(cell.X, cell.Y);
    const bool rowHeader = ColumnKind(cell.X) == ckRowHeader;
    if (rowHeader && cell.Y >= 1 && cell.Y <= GetWordCount()) {
        const TGridRect selection = Selection();
        // A press inside the selected rows keeps them, so that the block can be dragged.
        if (modifiers.testFlag(Qt::ShiftModifier))
            SelectRows(cell.Y, RowSelection, true);
        else if (!RowSelection || cell.Y < selection.Top || cell.Y > selection.Bottom)
            SelectRows(cell.Y, false, true);
    } else if (!rowHeader && cell.Y != 0) {
        SelectCellAt(cell.X, cell.Y);
    }
    if (button == Qt::RightButton && ContextMenu)
        ContextMenu->popup(viewport()->mapToGlobal(pos));
    if (cell.X == 0 || cell.Y == 0)
        CellGrid::MouseDown(button, modifiers, pos);
}

// The I-beam over the cells that take text, the arrow elsewhere and while busy; the toolkit's
// sizing pointer over a border that may be sized.
void TWordsGrid::MouseMove(Qt::KeyboardModifiers modifiers, QPoint pos)
{
    CellGrid::MouseMove(modifiers, pos);
    if (IsSizing() || IsMoving())
        return;
    int sizingCol = 0;
    if (!Busy && (Options() & goColSizing) && CalcSizingState(pos, sizingCol))
        return;
    const TGridCoord cell = MouseCoord(pos);
    const bool text = !Busy && WordList && cell.X >= 0 && IsTextCellAt(cell.X, cell.Y);
    viewport()->setCursor(text ? Qt::IBeamCursor : Qt::ArrowCursor);
}

// A click, press and release on the same cell: on a word's row header it narrows a selection to
// that row, on a data column's header it sorts, unless it sized the column. A drag moves rows
// or a column only when released over the row headers or the header row (End*Drag).
void TWordsGrid::MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos)
{
    if (Busy)
        return;
    const TGridCoord cell = MouseCoord(pos);
    bool sortClick = false;
    if (WordList && cell.X >= 0 && cell.X == MouseDownCol && cell.Y == MouseDownRow) {
        const bool rowHeader = ColumnKind(cell.X) == ckRowHeader;
        if (rowHeader && cell.Y >= 1 && cell.Y <= GetWordCount()
            && !modifiers.testFlag(Qt::ShiftModifier))
            SelectRows(cell.Y, false, true);
        else if (!rowHeader && cell.Y == 0 && !IsSizing())
            sortClick = button == Qt::LeftButton;
    }
    CellGrid::MouseUp(button, modifiers, pos);
    if (sortClick)
        SortByKind(ColumnKind(cell.X));
}

// Only a border whose column the user may size, the right border of a text column, sizes.
bool TWordsGrid::CalcSizingState(QPoint pos, int &sizingCol) const
{
    return !Busy && CellGrid::CalcSizingState(pos, sizingCol)
            && !Columns[static_cast<size_t>(sizingCol)].FixedWidth;
}

// The grid never moves between cells itself: the in-place controls do. Every key that reaches
// it is swallowed, Tab included; with rows selected, Up and Down leave the selection and Shift
// extends it.
void TWordsGrid::KeyDown(QKeyEvent *event)
{
    event->accept();
    if (Busy || !WordList || !RowSelection)
        return;
    const bool shift = event->modifiers().testFlag(Qt::ShiftModifier);
    const TGridRect selection = Selection();
    switch (event->key()) {
    case Qt::Key_Down:
        if (shift)
            ExtendRowSelection(1);
        else
            SelectCellAt(1, selection.Bottom + 1);
        break;
    case Qt::Key_Up:
        if (shift)
            ExtendRowSelection(-1);
        else
            SelectCellAt(1, std::max(1, selection.Top - 1));
        break;
    case Qt::Key_PageDown:
        if (shift)
            ExtendRowSelection(PageStep());
        break;
    case Qt::Key_PageUp:
        if (shift)
            ExtendRowSelection(-PageStep());
        break;
    default:
        break;
    }
}

// The free end of the selection is the one away from the anchor.
void TWordsGrid::ExtendRowSelection(int step)
{
    const TGridRect selection = Selection();
    if (step > 0) {
        const int end = selection.Top == RowAnchor ? selection.Bottom : selection.Top;
        SelectRows(std::min(GetWordCount(), end + step), true, true);
    } else {
        const int end = selection.Bottom == RowAnchor ? selection.Top : selection.Bottom;
        SelectRows(std::max(1, end + step), true, true);
    }
}

bool TWordsGrid::focusNextPrevChild(bool)
{
    return false;
}
