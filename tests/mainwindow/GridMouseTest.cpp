#include "core/Unit_LanguagePack.h"
#include "mainwindow/GridFixture.h"

#include <QMenu>

// The grid under the mouse and its own keys: header clicks sort, row headers select and drag
// words, column headers drag columns within their group, and only text columns are sized.

namespace {

using GridMouse = GridEditing;

std::vector<std::string> ForWords(const TWordList &list)
{
    std::vector<std::string> words;
    for (int index = 0; index < list.Count(); ++index)
        words.push_back(list.GetForWord(index));
    return words;
}

std::vector<std::string> Numbered(std::initializer_list<int> numbers)
{
    std::vector<std::string> words;
    for (int number : numbers)
        words.push_back("f" + std::to_string(number));
    return words;
}

// Press at one point, move and release at another, as a drag by the user's mouse.
void Drag(QWidget *viewport, QPoint from, QPoint to,
          Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::mousePress(viewport, Qt::LeftButton, modifiers, from);
    QTest::mouseMove(viewport, (from + to) / 2);
    QTest::mouseMove(viewport, to);
    QTest::mouseRelease(viewport, Qt::LeftButton, modifiers, to);
}

} // namespace

TEST_F(GridMouse, HeaderClicksSortWithConfirmationAndUndoButDragsAndBordersDoNot)
{
    grid->SetWordList(TListBuilder().Words({"c"}).Take());
    TScriptedBox box;
    EditOptions.ConfirmSort = true;
    Click(ColOf(ckForWord), 0);
    EXPECT_TRUE(box.Texts.empty()) << "one word asks nothing";

    grid->SetWordList(TListBuilder().Words({"c", "a", "b", "a"}).Take());
    TWordList &words = *grid->GetWordList();
    box.Answers = {mbNo};
    Click(ColOf(ckForWord), 0);
    ASSERT_EQ(1u, box.Texts.size());
    EXPECT_EQ(LanguageText(TEntry::ConfirmSort), box.Texts[0]);
    EXPECT_EQ((std::vector<std::string>{"c", "a", "b", "a"}), ForWords(words));

    words.SetLesson(1, "x");
    box.Answers = {mbYes};
    grid->SelectCellAt(ColOf(ckContext), 3);
    Click(ColOf(ckForWord), 0);
    EXPECT_EQ((std::vector<std::string>{"a", "a", "b", "c"}), ForWords(words));
    EXPECT_EQ("x", words.GetLesson(0)) << "equal words keep their order";
    EXPECT_EQ(std::make_pair(1, 1), Cell());
    EXPECT_EQ(ForWordEdit, Focused());
    EXPECT_EQ(TUndoKind::Sort, grid->GetUndoKind());
    const int rows = grid->RowCount();
    grid->Undo();
    EXPECT_EQ((std::vector<std::string>{"c", "a", "b", "a"}), ForWords(words));
    EXPECT_EQ(rows, grid->RowCount());

    // Pressed on one header and released on another: the column moves, nothing sorts.
    EditOptions.ConfirmSort = false;
    const int lesson = ColOf(ckLesson);
    const int context = ColOf(ckContext);
    Drag(grid->viewport(), grid->CellRect(lesson, 0).center(), grid->CellRect(context, 0).center());
    EXPECT_EQ(context, ColOf(ckLesson));
    EXPECT_EQ((std::vector<std::string>{"c", "a", "b", "a"}), ForWords(words));

    // A click on a border that sizes its column sorts nothing.
    const QPoint border(grid->CellRect(ColOf(ckForWord), 0).right() + 1,
                        grid->CellRect(ColOf(ckForWord), 0).center().y());
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, border);
    EXPECT_EQ((std::vector<std::string>{"c", "a", "b", "a"}), ForWords(words));
    EXPECT_EQ(2u, box.Texts.size());
}

TEST_F(GridMouse, SortingBySoundPutsSoundsFirstAndKeepsTheOrderWithinEachGroup)
{
    TWordList &list = Show(5);
    GiveSound(list, 1, "one");
    GiveSound(list, 3, "three");
    EditOptions.ConfirmSort = false;
    grid->SortByKind(ckSound);
    EXPECT_EQ(Numbered({1, 3, 0, 2, 4}), ForWords(list));
}

TEST_F(GridMouse, ADraggedBlockLandsWhereItIsDroppedOverTheRowHeadersOnly)
{
    TWordList &list = Show(10);
    const auto header = [this](int row) { return grid->CellRect(0, row).center(); };
    const auto selectFiveToSeven = [this] {
        grid->SelectRows(5, false, false);
        grid->SelectRows(7, true, false);
    };
    selectFiveToSeven();
    grid->SetLevels(true, false, 2, 0);
    Drag(grid->viewport(), header(5), header(2));
    EXPECT_EQ(Numbered({0, 4, 5, 6, 1, 2, 3, 7, 8, 9}), ForWords(list));
    EXPECT_EQ((TGridRect{1, 2, 9, 4}), grid->Selection());
    EXPECT_TRUE(grid->IsRowSelection());
    EXPECT_EQ(TUndoKind::None, grid->GetUndoKind()) << "a move cannot be undone";
    EXPECT_FALSE(list.Saved);

    // Released over a data cell, or inside the block itself, nothing moves.
    Drag(grid->viewport(), header(3), grid->CellRect(ColOf(ckForWord), 8).center());
    Drag(grid->viewport(), header(2), header(3));
    EXPECT_EQ(Numbered({0, 4, 5, 6, 1, 2, 3, 7, 8, 9}), ForWords(list));
    EXPECT_EQ((TGridRect{1, 2, 9, 4}), grid->Selection());

    // Downwards the block ends on the drop row; the append row is no drop place.
    Show(10);
    TWordList &fresh = *grid->GetWordList();
    selectFiveToSeven();
    Drag(grid->viewport(), header(6), header(10));
    EXPECT_EQ(Numbered({0, 1, 2, 3, 7, 8, 9, 4, 5, 6}), ForWords(fresh));
    EXPECT_EQ((TGridRect{1, 8, 9, 10}), grid->Selection());
    Drag(grid->viewport(), header(8), header(1));
    Drag(grid->viewport(), header(1), header(11));
    EXPECT_EQ(Numbered({0, 1, 2, 3, 7, 8, 9, 4, 5, 6}), ForWords(fresh));
    EXPECT_EQ((TGridRect{1, 8, 9, 10}), grid->Selection());

    // A click inside the selection narrows it to the clicked row.
    Click(0, 9);
    EXPECT_EQ((TGridRect{1, 9, 9, 9}), grid->Selection());
}

TEST_F(GridMouse, AMovedBlockOfTenThousandWordsKeepsEveryWord)
{
    grid->SetWordList(TListBuilder().Words(20000, "f#").Take());
    TWordList &words = *grid->GetWordList();
    words.Move(15000, 5000, 2);
    EXPECT_EQ("f15000", words.GetForWord(2));
    EXPECT_EQ("f19999", words.GetForWord(5001));
    EXPECT_EQ("f2", words.GetForWord(5002));
    EXPECT_EQ("f14999", words.GetForWord(19999));
    words.Move(2, 5000, 15000);
    for (int index : {0, 2, 14999, 15000, 19999})
        EXPECT_EQ("f" + std::to_string(index), words.GetForWord(index));
}

TEST_F(GridMouse, ColumnsMoveWithinTheirGroupWithTheirWidths)
{
    Show(3);
    const auto header = [this](int col) { return grid->CellRect(col, 0).center(); };
    const int forWidth = grid->ColWidth(ColOf(ckForWord));
    ASSERT_EQ(1, ColOf(ckForWord));
    grid->resize(2000, 400);
    Drag(grid->viewport(), header(1), header(5));
    EXPECT_EQ(2, ColOf(ckForWord));
    EXPECT_EQ(forWidth, grid->ColWidth(2));
    const int score = ColOf(ckScore);
    const int scoreWidth = grid->ColWidth(score);
    Drag(grid->viewport(), header(score), header(1));
    EXPECT_EQ(3, ColOf(ckScore));
    EXPECT_EQ(scoreWidth, grid->ColWidth(3));
    EXPECT_EQ(2, ColOf(ckForWord));

    // Released below the header row the column stays.
    const int lesson = ColOf(ckLesson);
    Drag(grid->viewport(), header(lesson), grid->CellRect(4, 2).center());
    EXPECT_EQ(lesson, ColOf(ckLesson));
}

TEST_F(GridMouse, OnlyTheRightBordersOfTextColumnsSize)
{
    Show(3);
    grid->resize(2000, 400);
    const auto border = [this](int col) {
        return QPoint(grid->CellRect(col, 0).right() + 1, grid->CellRect(col, 0).center().y());
    };
    const auto dragBorder = [&](int col, int by) {
        Drag(grid->viewport(), border(col), border(col) + QPoint(by, 0));
    };
    const int lesson = ColOf(ckLesson);
    const int width = grid->ColWidth(lesson);
    dragBorder(lesson, 30);
    EXPECT_EQ(width + 30, grid->ColWidth(lesson));

    const int sound = ColOf(ckSound);
    ASSERT_EQ(ColOf(ckLevel1), sound + 1);
    const int soundWidth = grid->ColWidth(sound);
    const int levelWidth = grid->ColWidth(sound + 1);
    // From either side, and away from the border so that no column is dragged either: such a
    // press is a click on the header, which asks to sort.
    TScriptedBox box;
    box.Answer = mbNo;
    for (int by : {-2, 2})
        Drag(grid->viewport(), border(sound) + QPoint(by, 0), border(sound) + QPoint(by * 10, 0));
    EXPECT_EQ(sound, ColOf(ckSound));
    EXPECT_EQ(2u, box.Texts.size());
    EXPECT_EQ(soundWidth, grid->ColWidth(sound));
    EXPECT_EQ(levelWidth, grid->ColWidth(sound + 1));

    const int rowHeader = grid->ColWidth(0);
    dragBorder(0, 20);
    EXPECT_EQ(rowHeader, grid->ColWidth(0));
}

TEST_F(GridMouse, ShiftClicksAndShiftKeysMoveTheFreeEndOfTheRowSelection)
{
    Show(12);
    Click(0, 4);
    EXPECT_EQ((TGridRect{1, 4, 9, 4}), grid->Selection());
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      grid->CellRect(0, 9).center());
    EXPECT_EQ((TGridRect{1, 4, 9, 9}), grid->Selection());
    EXPECT_EQ(grid, Focused());
    Key(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ((TGridRect{1, 4, 9, 8}), grid->Selection());
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      grid->CellRect(0, 2).center());
    EXPECT_EQ((TGridRect{1, 2, 9, 4}), grid->Selection());
    Key(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ((TGridRect{1, 1, 9, 4}), grid->Selection());
    Key(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ((TGridRect{1, 1, 9, 4}), grid->Selection()) << "never above the first word";
    Key(Qt::Key_Tab);
    Key(Qt::Key_A);
    EXPECT_TRUE(grid->IsRowSelection()) << "other keys are swallowed";
    EXPECT_EQ(grid, Focused());
    Key(Qt::Key_Down);
    EXPECT_FALSE(grid->IsRowSelection());
    EXPECT_EQ(std::make_pair(1, 5), Cell());
    EXPECT_EQ(ForWordEdit, Focused());
}

TEST_F(GridMouse, RightClickOpensTheCellThenTheMenuAndPressesOutsideCellsChangeNothing)
{
    Show(3);
    QMenu menu;
    menu.addAction(QStringLiteral("x"));
    grid->SetContextMenu(&menu);
    Click(ColOf(ckRefWord), 2, Qt::RightButton);
    EXPECT_EQ(std::make_pair(ColOf(ckRefWord), 2), Cell());
    EXPECT_TRUE(RefWordEdit->isVisible());
    EXPECT_TRUE(menu.isVisible());
    menu.hide();

    // Below the append row, a press only focuses the grid.
    const QPoint below(grid->CellRect(1, 4).center() + QPoint(0, 5 * grid->DefaultRowHeight()));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, below);
    EXPECT_EQ(std::make_pair(ColOf(ckRefWord), 2), Cell());

    // A window narrower than a column: a press on it does not hang.
    grid->resize(60, 200);
    Click(1, 1);
    EXPECT_EQ(std::make_pair(1, 1), Cell());
}

TEST_F(GridMouse, ABusyGridTakesNoPressDragOrSizingAndShowsTheArrow)
{
    TWordList &list = Show(6);
    grid->SelectRows(2, false, false);
    grid->SetBusy(true);
    const int width = grid->ColWidth(ColOf(ckLesson));
    const QPoint border(grid->CellRect(ColOf(ckLesson), 0).right() + 1, 5);
    Drag(grid->viewport(), border, border + QPoint(40, 0));
    Drag(grid->viewport(), grid->CellRect(0, 2).center(), grid->CellRect(0, 5).center());
    Click(ColOf(ckForWord), 0);
    Click(ColOf(ckForWord), 4);
    QTest::mouseMove(grid->viewport(), grid->CellRect(ColOf(ckForWord), 3).center());
    grid->ClearBusy();
    EXPECT_EQ(width, grid->ColWidth(ColOf(ckLesson)));
    EXPECT_EQ(Numbered({0, 1, 2, 3, 4, 5}), ForWords(list));
    EXPECT_EQ((TGridRect{1, 2, 9, 2}), grid->Selection());
    EXPECT_EQ(Qt::ArrowCursor, grid->viewport()->cursor().shape());
    QTest::mouseMove(grid->viewport(), grid->CellRect(ColOf(ckForWord), 3).center() + QPoint(1, 0));
    EXPECT_EQ(Qt::IBeamCursor, grid->viewport()->cursor().shape());
    QTest::mouseMove(grid->viewport(), grid->CellRect(ColOf(ckScore), 3).center());
    EXPECT_EQ(Qt::ArrowCursor, grid->viewport()->cursor().shape());
}
