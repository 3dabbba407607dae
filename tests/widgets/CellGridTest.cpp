#include "widgets/CellGrid.h"

#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

// A grid of 5 columns 50 px wide and 100 rows 20 px high, on a 200 x 200 viewport.
class TTestGrid : public CellGrid
{
public:
    TTestGrid()
    {
        setFrameShape(QFrame::NoFrame);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        SetColCount(5);
        for (int col = 0; col < 5; ++col)
            SetColWidth(col, 50);
        SetDefaultRowHeight(20);
        SetRowCount(100);
        SetOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goColSizing
                   | goRowMoving | goColMoving | goThumbTracking);
        resize(200, 200);
        show();
    }

    std::set<std::pair<int, int>> Drawn;
    std::vector<std::string> Calls;
    bool Refuse = false;
    int ClampColumnTo = -1;

protected:
    void DrawCell(QPainter &, int col, int row, const QRect &, TGridDrawState) override
    {
        Drawn.insert({col, row});
    }
    bool SelectCell(int, int) override { return !Refuse; }
    bool BeginColumnDrag(int &, int &, QPoint) override
    {
        Calls.push_back("BeginColumnDrag");
        return true;
    }
    bool CheckColumnDrag(int &origin, int &destination, QPoint pos) override
    {
        if (ClampColumnTo >= 0)
            destination = std::min(destination, ClampColumnTo);
        return CellGrid::CheckColumnDrag(origin, destination, pos);
    }
    bool EndColumnDrag(int, int, QPoint) override
    {
        Calls.push_back("EndColumnDrag");
        return true;
    }
    void ColumnMoved(int from, int to) override
    {
        Calls.push_back("ColumnMoved " + std::to_string(from) + " " + std::to_string(to));
    }
    void RowMoved(int from, int to) override
    {
        Calls.push_back("RowMoved " + std::to_string(from) + " " + std::to_string(to));
    }
};

void Drag(QWidget *viewport, QPoint from, QPoint to)
{
    QTest::mousePress(viewport, Qt::LeftButton, {}, from);
    QTest::mouseMove(viewport, to);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, to);
}

} // namespace

TEST(CellGrid, LaysOutCellsWithOnePixelLinesAndScrollsByWholeRows)
{
    TTestGrid grid;
    EXPECT_EQ(grid.CellRect(0, 0), QRect(0, 0, 50, 20));
    EXPECT_EQ(grid.CellRect(2, 1), QRect(102, 21, 50, 20));
    // 179 px below the header hold 8 whole rows of 21 px; the ninth is partly shown.
    EXPECT_EQ(grid.VisibleRowCount(), 8);
    EXPECT_EQ(grid.VisibleColCount(), 2);
    EXPECT_EQ(grid.CellRect(1, 9), QRect(51, 189, 50, 20));

    grid.SetTopRow(10);
    EXPECT_EQ(grid.TopRow(), 10);
    EXPECT_EQ(grid.verticalScrollBar()->value(), 10);
    EXPECT_TRUE(grid.CellRect(1, 9).isEmpty());
    EXPECT_EQ(grid.CellRect(1, 10), QRect(51, 21, 50, 20));
    EXPECT_EQ(grid.CellRect(1, 0), QRect(51, 0, 50, 20)) << "the header row never scrolls";

    // The last rows fill the view at the bottom: 100 rows, 8 visible, so TopRow stops at 92.
    grid.SetTopRow(1000);
    EXPECT_EQ(grid.TopRow(), 92);
    EXPECT_EQ(grid.verticalScrollBar()->maximum(), 92);
    grid.SetTopRow(-3);
    EXPECT_EQ(grid.TopRow(), 1);

    grid.verticalScrollBar()->setValue(40);
    EXPECT_EQ(grid.TopRow(), 40) << "the scroll bar's value is TopRow";
    grid.horizontalScrollBar()->setValue(3);
    EXPECT_EQ(grid.LeftCol(), 3);
    EXPECT_EQ(grid.CellRect(3, 40), QRect(51, 21, 50, 20));
    EXPECT_TRUE(grid.CellRect(1, 40).isEmpty());
    EXPECT_EQ(grid.LeftCol(), 3);
    grid.SetLeftCol(9);
    EXPECT_EQ(grid.LeftCol(), 3) << "columns 3 and 4 fill the view";
}

TEST(CellGrid, VisibleCountsAreAtLeastOneAndShrinkingTheListClampsTopRow)
{
    TTestGrid grid;
    grid.resize(60, 30);
    EXPECT_EQ(grid.VisibleRowCount(), 1);
    EXPECT_EQ(grid.VisibleColCount(), 1);
    grid.resize(200, 200);
    grid.SetTopRow(50);
    grid.SetRowCount(5);
    EXPECT_EQ(grid.TopRow(), 1);
    EXPECT_EQ(grid.RowCount(), 5);
}

TEST(CellGrid, MouseCoordFindsTheCellUnderThePointerOrNone)
{
    TTestGrid grid;
    EXPECT_EQ(grid.MouseCoord({0, 0}), (TGridCoord{0, 0}));
    EXPECT_EQ(grid.MouseCoord({50, 20}), (TGridCoord{0, 0})) << "a cell owns its grid lines";
    EXPECT_EQ(grid.MouseCoord({51, 21}), (TGridCoord{1, 1}));
    EXPECT_EQ(grid.MouseCoord({-1, 5}), (TGridCoord{-1, -1}));
    grid.SetColCount(2);
    EXPECT_EQ(grid.MouseCoord({150, 5}), (TGridCoord{-1, -1})) << "right of the last column";
    grid.SetColCount(5);
    grid.SetTopRow(30);
    EXPECT_EQ(grid.MouseCoord({60, 25}), (TGridCoord{1, 30}));
    EXPECT_EQ(grid.MouseCoord({60, 5}), (TGridCoord{1, 0}));
}

TEST(CellGrid, PaintsOnlyTheCellsOnShow)
{
    TTestGrid grid;
    grid.SetTopRow(50);
    (void)grid.viewport()->grab();
    // Header row and rows 50..58 (the last partly), columns 0..3 (the last partly).
    EXPECT_EQ(grid.Drawn.size(), 10U * 4U);
    EXPECT_TRUE(grid.Drawn.count({0, 0}));
    EXPECT_TRUE(grid.Drawn.count({3, 58}));
    EXPECT_FALSE(grid.Drawn.count({1, 1}));
    EXPECT_FALSE(grid.Drawn.count({1, 59}));
}

TEST(CellGrid, CurrentCellMovesOnlyWhenSelectCellAgreesAndSelectionKeepsItsAnchor)
{
    TTestGrid grid;
    grid.FocusCell(2, 3, true);
    EXPECT_EQ(grid.Col(), 2);
    EXPECT_EQ(grid.Row(), 3);
    EXPECT_EQ(grid.Selection(), (TGridRect{2, 3, 2, 3}));
    grid.Refuse = true;
    grid.SetRow(7);
    EXPECT_EQ(grid.Row(), 3);
    grid.Refuse = false;
    grid.FocusCell(2, 99, true);
    EXPECT_EQ(grid.Row(), 99);
    grid.FocusCell(2, 100, true);
    EXPECT_EQ(grid.Row(), 99) << "no row beyond the last";

    // A reversed rectangle: the first corner is the anchor, the second the current cell.
    grid.SetSelection({1, 9, 4, 5});
    EXPECT_EQ(grid.Selection(), (TGridRect{1, 5, 4, 9}));
    EXPECT_EQ(grid.Col(), 4);
    EXPECT_EQ(grid.Row(), 5);
    grid.FocusCell(3, 6, false);
    EXPECT_EQ(grid.Selection(), (TGridRect{1, 6, 3, 9}));
}

TEST(CellGrid, PressOnADataCellMakesItCurrent)
{
    TTestGrid grid;
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, {120, 70});
    EXPECT_EQ(grid.Col(), 2);
    EXPECT_EQ(grid.Row(), 3);
}

TEST(CellGrid, ColumnBordersOfTheHeaderRowSizeTheColumn)
{
    TTestGrid grid;
    // Column 1's right border is the line at x = 101.
    Drag(grid.viewport(), {103, 5}, {133, 5});
    EXPECT_EQ(grid.ColWidth(1), 80);
    // Away from a border, and below the header row, nothing is sized.
    Drag(grid.viewport(), {90, 5}, {120, 5});
    EXPECT_EQ(grid.ColWidth(1), 80);
    Drag(grid.viewport(), {131, 30}, {160, 30});
    EXPECT_EQ(grid.ColWidth(1), 80);
    // The border of the fixed column is not a sizing place.
    Drag(grid.viewport(), {50, 5}, {80, 5});
    EXPECT_EQ(grid.ColWidth(0), 50);
}

TEST(CellGrid, ColumnDragCallsTheHooksMovesTheWidthAndReportsTheMove)
{
    TTestGrid grid;
    grid.SetColWidth(1, 40);
    Drag(grid.viewport(), {60, 5}, {150, 5});
    ASSERT_EQ(grid.Calls.size(), 3U);
    EXPECT_EQ(grid.Calls[0], "BeginColumnDrag");
    EXPECT_EQ(grid.Calls[1], "EndColumnDrag");
    EXPECT_EQ(grid.Calls[2], "ColumnMoved 1 3");
    EXPECT_EQ(grid.ColWidth(3), 40);
    EXPECT_EQ(grid.ColWidth(1), 50);

    grid.Calls.clear();
    grid.ClampColumnTo = 2;
    Drag(grid.viewport(), {60, 5}, {160, 5});
    ASSERT_FALSE(grid.Calls.empty());
    EXPECT_EQ(grid.Calls.back(), "ColumnMoved 1 2") << "the check hook clamps the destination";

    grid.Calls.clear();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, {60, 5});
    EXPECT_EQ(grid.Calls.size(), 2U) << "a click on a header moves nothing";
}

TEST(CellGrid, RowDragByTheRowHeaderReportsTheMove)
{
    TTestGrid grid;
    Drag(grid.viewport(), {10, 30}, {10, 95});
    ASSERT_FALSE(grid.Calls.empty());
    EXPECT_EQ(grid.Calls.back(), "RowMoved 1 4");
    grid.Calls.clear();
    Drag(grid.viewport(), {10, 95}, {10, 5});
    ASSERT_FALSE(grid.Calls.empty());
    EXPECT_EQ(grid.Calls.back(), "RowMoved 4 1") << "the header row is never a destination";
}

TEST(CellGrid, DefaultRowHeightResetsRowsWithTheirOwnHeight)
{
    TTestGrid grid;
    grid.SetRowHeight(0, 18);
    EXPECT_EQ(grid.CellRect(1, 1), QRect(51, 19, 50, 20));
    grid.SetDefaultRowHeight(25);
    EXPECT_EQ(grid.RowHeight(0), 25);
    EXPECT_EQ(grid.CellRect(1, 1), QRect(51, 26, 50, 25));
}
