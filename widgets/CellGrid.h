#pragma once

#include <QAbstractScrollArea>
#include <QTimer>
#include <map>
#include <vector>

// A cell of the grid; (-1, -1) stands for no cell.
struct TGridCoord
{
    int X = -1;
    int Y = -1;

    bool operator==(const TGridCoord &) const = default;
};

// A block of cells, corners inclusive. As given to SetSelection it may be reversed: its first
// corner becomes the anchor and its second the current cell.
struct TGridRect
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    bool operator==(const TGridRect &) const = default;
    bool Contains(int col, int row) const
    {
        return col >= Left && col <= Right && row >= Top && row <= Bottom;
    }
};

// What DrawCell is told about a cell.
struct TGridDrawState
{
    bool Selected = false;
    bool Fixed = false;
};

enum TGridOption : unsigned {
    goFixedVertLine = 1U << 0,
    goFixedHorzLine = 1U << 1,
    goVertLine = 1U << 2,
    goHorzLine = 1U << 3,
    goRangeSelect = 1U << 4,
    goColSizing = 1U << 7,
    goRowMoving = 1U << 8,
    goColMoving = 1U << 9,
    goRowSelect = 1U << 12,
    goThumbTracking = 1U << 14,
};

// A grid of cells that paints every cell itself through DrawCell and scrolls by whole cells: the
// scroll bars' values are TopRow and LeftCol. The first FixedRows rows and FixedCols columns
// never scroll. Cells are laid out left to right and top to bottom, each followed by a one-pixel
// grid line; all coordinates are the viewport's.
//
// Pressing a fixed cell starts a column or row move (or a column sizing on a column border of
// the header rows); the Begin/Check/End hooks may refuse or clamp it, and the move itself calls
// ColumnMoved or RowMoved after the grid has moved its own widths and heights.
class CellGrid : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit CellGrid(QWidget *parent = nullptr);
    ~CellGrid() override;

    unsigned Options() const { return FOptions; }
    void SetOptions(unsigned options);

    int ColCount() const { return static_cast<int>(ColWidths.size()); }
    void SetColCount(int count);
    int RowCount() const { return FRowCount; }
    void SetRowCount(int count);
    int FixedCols() const { return FFixedCols; }
    int FixedRows() const { return FFixedRows; }

    int ColWidth(int col) const { return ColWidths[static_cast<size_t>(col)]; }
    void SetColWidth(int col, int width);
    int RowHeight(int row) const;
    void SetRowHeight(int row, int height);
    int DefaultRowHeight() const { return FDefaultRowHeight; }
    // Every row takes the new height; rows given their own height lose it.
    void SetDefaultRowHeight(int height);

    int TopRow() const { return FTopRow; }
    void SetTopRow(int row);
    int LeftCol() const { return FLeftCol; }
    void SetLeftCol(int col);
    // Scrolling rows and columns shown whole from TopRow and LeftCol; never below 1.
    int VisibleRowCount() const;
    int VisibleColCount() const;

    int Col() const { return Current.X; }
    int Row() const { return Current.Y; }
    // Make the cell current (if SelectCell agrees) and the whole selection.
    void SetCol(int col) { FocusCell(col, Current.Y, true); }
    void SetRow(int row) { FocusCell(Current.X, row, true); }
    void FocusCell(int col, int row, bool moveAnchor);
    // The selection normalised; the anchor and the current cell are its corners.
    TGridRect Selection() const;
    void SetSelection(const TGridRect &selection);

    // The cell's rectangle without its grid lines; empty when no part of it is on show.
    QRect CellRect(int col, int row) const;
    TGridCoord MouseCoord(QPoint pos) const;

    void InvalidateCell(int col, int row);
    void InvalidateRow(int row);
    void InvalidateGrid();

    // Moves a column's width (a row's height) as an insertion, without asking the hooks.
    void MoveColumn(int from, int to);
    void MoveRow(int from, int to);

protected:
    virtual void DrawCell(QPainter &painter, int col, int row, const QRect &rect,
                          TGridDrawState state)
            = 0;
    // Asked before a cell becomes current; false keeps the current cell.
    virtual bool SelectCell(int col, int row);
    // Whether a press may give the grid the keyboard focus.
    virtual bool CanFocusOnPress() const { return true; }

    virtual void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
    virtual void MouseMove(Qt::KeyboardModifiers modifiers, QPoint pos);
    virtual void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
    virtual void KeyDown(QKeyEvent *event);

    // True, with the column whose right border lies under pos, where a press would size it:
    // within 3 pixels of a border of a scrolling column, in the fixed rows.
    virtual bool CalcSizingState(QPoint pos, int &sizingCol) const;

    virtual bool BeginColumnDrag(int &origin, int &destination, QPoint pos);
    virtual bool CheckColumnDrag(int &origin, int &destination, QPoint pos);
    virtual bool EndColumnDrag(int origin, int destination, QPoint pos);
    virtual void ColumnMoved(int from, int to);
    virtual bool BeginRowDrag(int &origin, int &destination, QPoint pos);
    virtual bool CheckRowDrag(int &origin, int &destination, QPoint pos);
    virtual bool EndRowDrag(int origin, int destination, QPoint pos);
    virtual void RowMoved(int from, int to);

    // After TopRow or LeftCol changed.
    virtual void TopLeftChanged() { }
    // After a column's width changed.
    virtual void ColWidthsChanged() { }

    bool IsSizing() const { return State == TGridState::Sizing; }
    bool IsMoving() const
    {
        return State == TGridState::ColMoving || State == TGridState::RowMoving;
    }

    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    enum class TGridState {
        Normal,
        Sizing,
        ColMoving,
        RowMoving
    };

    int FixedWidth() const;
    int FixedHeight() const;
    // Left edge of a column and top edge of a row, or -1 while scrolled out of view.
    int ColLeft(int col) const;
    int RowTop(int row) const;
    int MaxTopRow() const;
    int MaxLeftCol() const;
    void UpdateScrollBars();
    // A column or row on show: its index, its left or top edge and its width or height.
    struct TLane
    {
        int Index;
        int Start;
        int Size;
    };
    std::vector<TLane> VisibleLanes(bool columns) const;
    void PaintLines(QPainter &painter, const std::vector<TLane> &cols,
                    const std::vector<TLane> &rows);
    void PaintDropMark(QPainter &painter);
    void TrackMove(QPoint pos);
    void AutoScroll();

    unsigned FOptions = 0;
    std::vector<int> ColWidths;
    std::map<int, int> RowHeights;
    int FRowCount = 0;
    int FFixedCols = 1;
    int FFixedRows = 1;
    int FDefaultRowHeight = 24;
    int FTopRow = 1;
    int FLeftCol = 1;
    TGridCoord Current{1, 1};
    TGridCoord Anchor{1, 1};

    TGridState State = TGridState::Normal;
    int SizingCol = 0;
    int SizingOffset = 0;
    int MoveOrigin = 0;
    int MoveDestination = 0;
    QPoint LastMousePos;
    QTimer ScrollTimer;
};
