#include "widgets/CellGrid.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cstdlib>
#include <utility>

namespace {

constexpr int GridLineWidth = 1;
constexpr int SizingMargin = 3;
constexpr int MinColWidth = 1;
constexpr int AutoScrollInterval = 60;
constexpr int DropMarkWidth = 3;
const QColor FixedLineColor(0, 0, 0);
const QColor LineColor(192, 192, 192);

} // namespace

CellGrid::CellGrid(QWidget *parent)
    : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::TabFocus);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setSingleStep(1);
    ScrollTimer.setInterval(AutoScrollInterval);
    connect(&ScrollTimer, &QTimer::timeout, this, &CellGrid::AutoScroll);
    UpdateScrollBars();
}

CellGrid::~CellGrid() = default;

void CellGrid::SetOptions(unsigned options)
{
    FOptions = options;
    const bool tracking = (options & goThumbTracking) != 0;
    verticalScrollBar()->setTracking(tracking);
    horizontalScrollBar()->setTracking(tracking);
    InvalidateGrid();
}

void CellGrid::SetColCount(int count)
{
    ColWidths.resize(static_cast<size_t>(std::max(count, FFixedCols + 1)), 64);
    Current.X = std::min(Current.X, ColCount() - 1);
    Anchor.X = std::min(Anchor.X, ColCount() - 1);
    UpdateScrollBars();
    InvalidateGrid();
}

void CellGrid::SetRowCount(int count)
{
    FRowCount = std::max(count, FFixedRows + 1);
    Current.Y = std::min(Current.Y, FRowCount - 1);
    Anchor.Y = std::min(Anchor.Y, FRowCount - 1);
    std::erase_if(RowHeights, [this](const auto &entry) { return entry.first >= FRowCount; });
    UpdateScrollBars();
    InvalidateGrid();
}

void CellGrid::SetColWidth(int col, int width)
{
    auto &stored = ColWidths[static_cast<size_t>(col)];
    if (stored == width)
        return;
    stored = width;
    UpdateScrollBars();
    InvalidateGrid();
    ColWidthsChanged();
}

int CellGrid::RowHeight(int row) const
{
    const auto own = RowHeights.find(row);
    return own == RowHeights.end() ? FDefaultRowHeight : own->second;
}

void CellGrid::SetRowHeight(int row, int height)
{
    if (height == FDefaultRowHeight)
        RowHeights.erase(row);
    else
        RowHeights[row] = height;
    UpdateScrollBars();
    InvalidateGrid();
}

void CellGrid::SetDefaultRowHeight(int height)
{
    FDefaultRowHeight = height;
    RowHeights.clear();
    UpdateScrollBars();
    InvalidateGrid();
}

void CellGrid::SetTopRow(int row)
{
    row = std::clamp(row, FFixedRows, MaxTopRow());
    if (row == FTopRow)
        return;
    FTopRow = row;
    const QSignalBlocker blocker(verticalScrollBar());
    verticalScrollBar()->setValue(row);
    InvalidateGrid();
    TopLeftChanged();
}

void CellGrid::SetLeftCol(int col)
{
    col = std::clamp(col, FFixedCols, MaxLeftCol());
    if (col == FLeftCol)
        return;
    FLeftCol = col;
    const QSignalBlocker blocker(horizontalScrollBar());
    horizontalScrollBar()->setValue(col);
    InvalidateGrid();
    TopLeftChanged();
}

int CellGrid::VisibleRowCount() const
{
    const int available = viewport()->height() - FixedHeight();
    int count = 0;
    int used = 0;
    for (int row = FTopRow; row < FRowCount; ++row) {
        used += RowHeight(row) + GridLineWidth;
        if (used > available)
            break;
        ++count;
    }
    return std::max(count, 1);
}

int CellGrid::VisibleColCount() const
{
    const int available = viewport()->width() - FixedWidth();
    int count = 0;
    int used = 0;
    for (int col = FLeftCol; col < ColCount(); ++col) {
        used += ColWidth(col) + GridLineWidth;
        if (used > available)
            break;
        ++count;
    }
    return std::max(count, 1);
}

void CellGrid::FocusCell(int col, int row, bool moveAnchor)
{
    if (col < 0 || row < 0 || col >= ColCount() || row >= FRowCount)
        return;
    if (!SelectCell(col, row))
        return;
    InvalidateGrid();
    Current = {col, row};
    if (moveAnchor)
        Anchor = Current;
}

TGridRect CellGrid::Selection() const
{
    return {std::min(Anchor.X, Current.X), std::min(Anchor.Y, Current.Y),
            std::max(Anchor.X, Current.X), std::max(Anchor.Y, Current.Y)};
}

void CellGrid::SetSelection(const TGridRect &selection)
{
    Anchor = {selection.Left, selection.Top};
    Current = {selection.Right, selection.Bottom};
    InvalidateGrid();
}

int CellGrid::FixedWidth() const
{
    int width = 0;
    for (int col = 0; col < FFixedCols; ++col)
        width += ColWidth(col) + GridLineWidth;
    return width;
}

int CellGrid::FixedHeight() const
{
    int height = 0;
    for (int row = 0; row < FFixedRows; ++row)
        height += RowHeight(row) + GridLineWidth;
    return height;
}

int CellGrid::ColLeft(int col) const
{
    if (col >= FFixedCols && col < FLeftCol)
        return -1;
    int x = 0;
    for (int c = 0; c < std::min(col, FFixedCols); ++c)
        x += ColWidth(c) + GridLineWidth;
    for (int c = FLeftCol; c < col; ++c) {
        x += ColWidth(c) + GridLineWidth;
        if (x >= viewport()->width())
            return -1;
    }
    return x < viewport()->width() ? x : -1;
}

int CellGrid::RowTop(int row) const
{
    if (row >= FFixedRows && row < FTopRow)
        return -1;
    int y = 0;
    for (int r = 0; r < std::min(row, FFixedRows); ++r)
        y += RowHeight(r) + GridLineWidth;
    for (int r = FTopRow; r < row; ++r) {
        y += RowHeight(r) + GridLineWidth;
        if (y >= viewport()->height())
            return -1;
    }
    return y < viewport()->height() ? y : -1;
}

QRect CellGrid::CellRect(int col, int row) const
{
    if (col < 0 || row < 0 || col >= ColCount() || row >= FRowCount)
        return {};
    const int x = ColLeft(col);
    const int y = RowTop(row);
    if (x < 0 || y < 0)
        return {};
    return {x, y, ColWidth(col), RowHeight(row)};
}

TGridCoord CellGrid::MouseCoord(QPoint pos) const
{
    if (pos.x() < 0 || pos.y() < 0)
        return {};
    TGridCoord cell;
    int x = 0;
    for (int col = 0; col < ColCount() && x < viewport()->width(); ++col) {
        if (col == FFixedCols)
            col = FLeftCol;
        x += ColWidth(col) + GridLineWidth;
        if (pos.x() < x) {
            cell.X = col;
            break;
        }
    }
    int y = 0;
    for (int row = 0; row < FRowCount && y < viewport()->height(); ++row) {
        if (row == FFixedRows)
            row = FTopRow;
        y += RowHeight(row) + GridLineWidth;
        if (pos.y() < y) {
            cell.Y = row;
            break;
        }
    }
    if (cell.X < 0 || cell.Y < 0)
        return {};
    return cell;
}

void CellGrid::InvalidateCell(int col, int row)
{
    const QRect rect = CellRect(col, row);
    if (!rect.isEmpty())
        viewport()->update(rect.adjusted(0, 0, GridLineWidth, GridLineWidth));
}

void CellGrid::InvalidateRow(int row)
{
    const QRect rect = CellRect(0, row);
    if (!rect.isEmpty())
        viewport()->update(0, rect.top(), viewport()->width(), rect.height() + GridLineWidth);
}

void CellGrid::InvalidateGrid()
{
    viewport()->update();
}

void CellGrid::MoveColumn(int from, int to)
{
    const int width = ColWidth(from);
    ColWidths.erase(ColWidths.begin() + from);
    ColWidths.insert(ColWidths.begin() + to, width);
    UpdateScrollBars();
    InvalidateGrid();
}

void CellGrid::MoveRow(int from, int to)
{
    const int height = RowHeight(from);
    std::map<int, int> moved;
    for (const auto &[row, own] : RowHeights) {
        if (row == from)
            continue;
        int index = row > from ? row - 1 : row;
        index = index >= to ? index + 1 : index;
        moved[index] = own;
    }
    RowHeights = std::move(moved);
    if (height != FDefaultRowHeight)
        RowHeights[to] = height;
    InvalidateGrid();
}

int CellGrid::MaxTopRow() const
{
    const int available = viewport()->height() - FixedHeight();
    int row = FRowCount - 1;
    int used = RowHeight(row) + GridLineWidth;
    while (row > FFixedRows && used + RowHeight(row - 1) + GridLineWidth <= available) {
        --row;
        used += RowHeight(row) + GridLineWidth;
    }
    return std::max(row, FFixedRows);
}

int CellGrid::MaxLeftCol() const
{
    const int available = viewport()->width() - FixedWidth();
    int col = ColCount() - 1;
    int used = ColWidth(col) + GridLineWidth;
    while (col > FFixedCols && used + ColWidth(col - 1) + GridLineWidth <= available) {
        --col;
        used += ColWidth(col) + GridLineWidth;
    }
    return std::max(col, FFixedCols);
}

void CellGrid::UpdateScrollBars()
{
    if (ColWidths.empty())
        return;
    FTopRow = std::clamp(FTopRow, FFixedRows, MaxTopRow());
    FLeftCol = std::clamp(FLeftCol, FFixedCols, MaxLeftCol());
    QScrollBar *vertical = verticalScrollBar();
    const QSignalBlocker verticalBlocker(vertical);
    vertical->setRange(FFixedRows, MaxTopRow());
    vertical->setPageStep(VisibleRowCount());
    vertical->setValue(FTopRow);
    QScrollBar *horizontal = horizontalScrollBar();
    const QSignalBlocker horizontalBlocker(horizontal);
    horizontal->setRange(FFixedCols, MaxLeftCol());
    horizontal->setPageStep(VisibleColCount());
    horizontal->setValue(FLeftCol);
}

bool CellGrid::SelectCell(int, int)
{
    return true;
}

void CellGrid::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QRect dirty = event->rect();
    const std::vector<TLane> cols = VisibleLanes(true);
    const std::vector<TLane> rows = VisibleLanes(false);
    const TGridRect selection = Selection();
    for (const TLane &row : rows) {
        if (row.Start > dirty.bottom() || row.Start + row.Size < dirty.top())
            continue;
        for (const TLane &col : cols) {
            const QRect rect(col.Start, row.Start, col.Size, row.Size);
            if (!rect.intersects(dirty))
                continue;
            TGridDrawState state;
            state.Fixed = col.Index < FFixedCols || row.Index < FFixedRows;
            state.Selected = !state.Fixed && selection.Contains(col.Index, row.Index);
            painter.save();
            painter.setClipRect(rect);
            DrawCell(painter, col.Index, row.Index, rect, state);
            painter.restore();
        }
    }
    PaintLines(painter, cols, rows);
    const int right = cols.back().Start + cols.back().Size + GridLineWidth;
    const int bottom = rows.back().Start + rows.back().Size + GridLineWidth;
    const QColor background = palette().color(QPalette::Base);
    const int width = viewport()->width();
    const int height = viewport()->height();
    if (right < width)
        painter.fillRect(QRect(right, 0, width - right, height), background);
    if (bottom < height)
        painter.fillRect(QRect(0, bottom, std::min(right, width), height - bottom), background);
    if (IsMoving())
        PaintDropMark(painter);
}

std::vector<CellGrid::TLane> CellGrid::VisibleLanes(bool columns) const
{
    const int count = columns ? ColCount() : FRowCount;
    const int fixed = columns ? FFixedCols : FFixedRows;
    const int first = columns ? FLeftCol : FTopRow;
    const int limit = columns ? viewport()->width() : viewport()->height();
    std::vector<TLane> lanes;
    int start = 0;
    for (int index = 0; index < count && (start < limit || lanes.empty()); ++index) {
        if (index == fixed)
            index = first;
        const int size = columns ? ColWidth(index) : RowHeight(index);
        lanes.push_back({index, start, size});
        start += size + GridLineWidth;
    }
    return lanes;
}

void CellGrid::PaintLines(QPainter &painter, const std::vector<TLane> &cols,
                          const std::vector<TLane> &rows)
{
    const int right = cols.back().Start + cols.back().Size + GridLineWidth;
    const int bottom = rows.back().Start + rows.back().Size + GridLineWidth;
    const int fixedWidth = FixedWidth();
    const int fixedHeight = FixedHeight();
    for (const TLane &col : cols) {
        const bool fixed = col.Index < FFixedCols;
        if (!(FOptions & (fixed ? goFixedVertLine : goVertLine)))
            continue;
        const int x = col.Start + col.Size;
        painter.fillRect(QRect(x, 0, GridLineWidth, std::min(fixedHeight, bottom)), FixedLineColor);
        if (bottom > fixedHeight)
            painter.fillRect(QRect(x, fixedHeight, GridLineWidth, bottom - fixedHeight),
                             fixed ? FixedLineColor : LineColor);
    }
    for (const TLane &row : rows) {
        const bool fixed = row.Index < FFixedRows;
        if (!(FOptions & (fixed ? goFixedHorzLine : goHorzLine)))
            continue;
        const int y = row.Start + row.Size;
        painter.fillRect(QRect(0, y, std::min(fixedWidth, right), GridLineWidth), FixedLineColor);
        if (right > fixedWidth)
            painter.fillRect(QRect(fixedWidth, y, right - fixedWidth, GridLineWidth),
                             fixed ? FixedLineColor : LineColor);
    }
}

void CellGrid::PaintDropMark(QPainter &painter)
{
    const QColor color = palette().color(QPalette::Highlight);
    if (State == TGridState::ColMoving) {
        const QRect rect = CellRect(MoveDestination, 0);
        if (rect.isEmpty())
            return;
        const int x = MoveDestination > MoveOrigin ? rect.right() + 1 : rect.left() - 1;
        painter.fillRect(QRect(x - DropMarkWidth / 2, 0, DropMarkWidth, viewport()->height()),
                         color);
    } else {
        const QRect rect = CellRect(0, MoveDestination);
        if (rect.isEmpty())
            return;
        const int y = MoveDestination > MoveOrigin ? rect.bottom() + 1 : rect.top() - 1;
        painter.fillRect(QRect(0, y - DropMarkWidth / 2, viewport()->width(), DropMarkWidth),
                         color);
    }
}

void CellGrid::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void CellGrid::scrollContentsBy(int, int)
{
    SetTopRow(verticalScrollBar()->value());
    SetLeftCol(horizontalScrollBar()->value());
}

void CellGrid::mousePressEvent(QMouseEvent *event)
{
    if (CanFocusOnPress())
        setFocus(Qt::MouseFocusReason);
    MouseDown(event->button(), event->modifiers(), event->position().toPoint());
    event->accept();
}

void CellGrid::mouseMoveEvent(QMouseEvent *event)
{
    MouseMove(event->modifiers(), event->position().toPoint());
    event->accept();
}

void CellGrid::mouseReleaseEvent(QMouseEvent *event)
{
    MouseUp(event->button(), event->modifiers(), event->position().toPoint());
    event->accept();
}

void CellGrid::keyPressEvent(QKeyEvent *event)
{
    KeyDown(event);
}

void CellGrid::KeyDown(QKeyEvent *event)
{
    event->accept();
}

void CellGrid::MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers, QPoint pos)
{
    if (button != Qt::LeftButton)
        return;
    LastMousePos = pos;
    int sizingCol = 0;
    if ((FOptions & goColSizing) && CalcSizingState(pos, sizingCol)) {
        State = TGridState::Sizing;
        SizingCol = sizingCol;
        SizingOffset = pos.x() - ColWidth(sizingCol);
        return;
    }
    const TGridCoord cell = MouseCoord(pos);
    if (cell.X < 0)
        return;
    if (cell.Y < FFixedRows && cell.X >= FFixedCols && (FOptions & goColMoving)) {
        int origin = cell.X;
        int destination = cell.X;
        if (BeginColumnDrag(origin, destination, pos)) {
            State = TGridState::ColMoving;
            MoveOrigin = origin;
            MoveDestination = destination;
        }
    } else if (cell.X < FFixedCols && cell.Y >= FFixedRows && (FOptions & goRowMoving)) {
        int origin = cell.Y;
        int destination = cell.Y;
        if (BeginRowDrag(origin, destination, pos)) {
            State = TGridState::RowMoving;
            MoveOrigin = origin;
            MoveDestination = destination;
        }
    } else if (cell.X >= FFixedCols && cell.Y >= FFixedRows) {
        FocusCell(cell.X, cell.Y, true);
    }
}

void CellGrid::MouseMove(Qt::KeyboardModifiers, QPoint pos)
{
    LastMousePos = pos;
    switch (State) {
    case TGridState::Sizing:
        SetColWidth(SizingCol, std::max(MinColWidth, pos.x() - SizingOffset));
        return;
    case TGridState::ColMoving:
    case TGridState::RowMoving:
        TrackMove(pos);
        return;
    case TGridState::Normal:
        break;
    }
    int sizingCol = 0;
    const bool sizing = (FOptions & goColSizing) && CalcSizingState(pos, sizingCol);
    viewport()->setCursor(sizing ? Qt::SplitHCursor : Qt::ArrowCursor);
}

void CellGrid::MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers, QPoint pos)
{
    if (button != Qt::LeftButton)
        return;
    const TGridState state = std::exchange(State, TGridState::Normal);
    ScrollTimer.stop();
    if (state == TGridState::ColMoving) {
        InvalidateGrid();
        if (EndColumnDrag(MoveOrigin, MoveDestination, pos) && MoveOrigin != MoveDestination) {
            MoveColumn(MoveOrigin, MoveDestination);
            ColumnMoved(MoveOrigin, MoveDestination);
        }
    } else if (state == TGridState::RowMoving) {
        InvalidateGrid();
        if (EndRowDrag(MoveOrigin, MoveDestination, pos) && MoveOrigin != MoveDestination) {
            MoveRow(MoveOrigin, MoveDestination);
            RowMoved(MoveOrigin, MoveDestination);
        }
    }
}

void CellGrid::TrackMove(QPoint pos)
{
    const bool columns = State == TGridState::ColMoving;
    const bool outside = columns ? pos.x() < FixedWidth() || pos.x() >= viewport()->width()
                                 : pos.y() < FixedHeight() || pos.y() >= viewport()->height();
    if (outside && !ScrollTimer.isActive())
        ScrollTimer.start();
    else if (!outside)
        ScrollTimer.stop();
    const QPoint inside(std::clamp(pos.x(), FixedWidth(), std::max(0, viewport()->width() - 1)),
                        std::clamp(pos.y(), FixedHeight(), std::max(0, viewport()->height() - 1)));
    const TGridCoord cell = MouseCoord(columns ? QPoint(inside.x(), 0) : QPoint(0, inside.y()));
    int origin = MoveOrigin;
    int destination = columns ? cell.X : cell.Y;
    if (destination < 0)
        destination = columns ? ColCount() - 1 : FRowCount - 1;
    const bool accepted = columns ? CheckColumnDrag(origin, destination, pos)
                                  : CheckRowDrag(origin, destination, pos);
    if (accepted && destination != MoveDestination) {
        MoveDestination = destination;
        InvalidateGrid();
    }
}

void CellGrid::AutoScroll()
{
    if (!IsMoving()) {
        ScrollTimer.stop();
        return;
    }
    if (State == TGridState::ColMoving) {
        if (LastMousePos.x() < FixedWidth())
            SetLeftCol(FLeftCol - 1);
        else
            SetLeftCol(FLeftCol + 1);
    } else if (LastMousePos.y() < FixedHeight()) {
        SetTopRow(FTopRow - 1);
    } else {
        SetTopRow(FTopRow + 1);
    }
    TrackMove(LastMousePos);
}

bool CellGrid::CalcSizingState(QPoint pos, int &sizingCol) const
{
    if (pos.y() < 0 || pos.y() >= FixedHeight())
        return false;
    int x = FixedWidth();
    for (int col = FLeftCol; col < ColCount() && x < viewport()->width(); ++col) {
        x += ColWidth(col);
        if (std::abs(pos.x() - x) <= SizingMargin) {
            sizingCol = col;
            return true;
        }
        x += GridLineWidth;
    }
    return false;
}

bool CellGrid::BeginColumnDrag(int &, int &, QPoint)
{
    return true;
}

bool CellGrid::CheckColumnDrag(int &origin, int &destination, QPoint)
{
    return origin >= FFixedCols && destination >= FFixedCols;
}

bool CellGrid::EndColumnDrag(int, int, QPoint)
{
    return true;
}

void CellGrid::ColumnMoved(int, int) { }

bool CellGrid::BeginRowDrag(int &, int &, QPoint)
{
    return true;
}

bool CellGrid::CheckRowDrag(int &origin, int &destination, QPoint)
{
    return origin >= FFixedRows && destination >= FFixedRows;
}

bool CellGrid::EndRowDrag(int, int, QPoint)
{
    return true;
}

void CellGrid::RowMoved(int, int) { }
