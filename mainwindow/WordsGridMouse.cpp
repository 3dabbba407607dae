#include "mainwindow/WordsGrid.h"

// The mouse on the grid itself: presses on cells, releases, and where a column may be sized.

// A press on a data cell never reaches the toolkit grid: it would only move the current cell
// inside a row selection, and leave the grid without an open editor. Presses on the header row
// and the row headers still start its sizing and moving.
void TWordsGrid::MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos)
{
    if (Busy)
        return;
    const TGridCoord cell = MouseCoord(pos);
    if (cell.X >= 0 && cell.Y > 0 && ColumnKind(cell.X) != ckRowHeader) {
        SelectCellAt(cell.X, cell.Y);
        return;
    }
    CellGrid::MouseDown(button, modifiers, pos);
}

void TWordsGrid::MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos)
{
    if (!Busy)
        CellGrid::MouseUp(button, modifiers, pos);
}

bool TWordsGrid::CalcSizingState(QPoint pos, int &sizingCol) const
{
    return !Busy && CellGrid::CalcSizingState(pos, sizingCol);
}
