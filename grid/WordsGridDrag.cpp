#include "grid/WordsGrid.h"

#include <algorithm>

// Dragging: a block of selected words by its row header, and a column by its header within its
// group. The toolkit grid tracks the drag and draws the drop mark; these hooks say where a drag
// may start and end and what the move does to the list and the columns.

namespace {

// Grid columns 1 and 2 hold the two words; the other kinds stay among columns 3 to 9.
constexpr int LastWordColumn = 2;

} // namespace

// Only the selected block moves, dragged by one of its own row headers.
bool TWordsGrid::BeginRowDrag(int &origin, int &, QPoint)
{
    const TGridRect selection = Selection();
    if (Busy || origin < selection.Top || origin > selection.Bottom)
        return false;
    DragTop = selection.Top;
    DragBottom = selection.Bottom;
    return true;
}

// The append row never receives a drop: below the last word the drop goes to the last word.
bool TWordsGrid::CheckRowDrag(int &origin, int &destination, QPoint)
{
    const int count = GetWordCount();
    destination = std::min(destination, count);
    return !Busy && origin >= 1 && origin <= count && destination >= 1;
}

// Released over the row headers and outside the block itself.
bool TWordsGrid::EndRowDrag(int, int destination, QPoint pos)
{
    if (Busy || MouseCoord(pos).X != 0)
        return false;
    const TGridRect selection = Selection();
    return (destination >= 1 && destination < selection.Top)
            || (destination > selection.Bottom && destination <= GetWordCount());
}

// The block lands with its top on the drop row when dragged up, with its bottom there when
// dragged down, in one block move however many words it holds; it stays selected.
void TWordsGrid::RowMoved(int from, int to)
{
    if (Busy || !WordList)
        return;
    ClearUndo();
    const int count = DragBottom - DragTop + 1;
    const int top = to <= from ? to : to - count + 1;
    WordList->Move(DragTop - 1, count, top - 1);
    SelectRowRange(top, top + count - 1, true);
    InvalidateGrid();
}

bool TWordsGrid::BeginColumnDrag(int &, int &, QPoint)
{
    return !Busy;
}

// The two word columns trade places only with each other; the others stay behind them.
bool TWordsGrid::CheckColumnDrag(int &origin, int &destination, QPoint pos)
{
    if (Busy)
        return false;
    if (origin <= LastWordColumn && destination > LastWordColumn)
        destination = LastWordColumn;
    if (origin > LastWordColumn && destination <= LastWordColumn)
        destination = LastWordColumn + 1;
    return CellGrid::CheckColumnDrag(origin, destination, pos);
}

// Released anywhere but over the header row the column stays, and so does its width.
bool TWordsGrid::EndColumnDrag(int, int, QPoint pos)
{
    return !Busy && MouseCoord(pos).Y == 0;
}

// The column's kind moves with the width the toolkit grid moved; the current cell's column now
// shows another kind, whose control opens.
void TWordsGrid::ColumnMoved(int from, int to)
{
    if (Busy)
        return;
    const auto begin = Columns.begin();
    if (from < to)
        std::rotate(begin + from, begin + from + 1, begin + to + 1);
    else
        std::rotate(begin + to, begin + from, begin + from + 1);
    if (!RowSelection)
        SelectCellAt(Col(), Row());
    InvalidateGrid();
}
