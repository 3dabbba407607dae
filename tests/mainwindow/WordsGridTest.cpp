#include "grid/WordsGrid.h"
#include "core/PrivateMessages.h"
#include "core/Unit_GlobalSettings.h"
#include "mainwindow/Main.h"
#include "support/WordListFixtures.h"

#include <QFile>
#include <QTest>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace {

// Records the private messages it is sent, in order.
class TMessageRecorder : public QObject
{
public:
    std::vector<std::pair<int, intptr_t>> Messages;

    int Count(int message) const
    {
        int count = 0;
        for (const auto &[type, wParam] : Messages)
            count += type == message ? 1 : 0;
        return count;
    }

protected:
    bool event(QEvent *event) override
    {
        if (event->type() >= WM_APP) {
            const auto *message = static_cast<TMessageEvent *>(event);
            Messages.emplace_back(message->Message(), message->WParam);
            return true;
        }
        return QObject::event(event);
    }
};

std::unique_ptr<TWordList> MakeList(int words)
{
    return TListBuilder().Languages("En", 0, "Nederlands", 0).Words(words, "f#", "r#", "l#").Take();
}

std::vector<std::string> ForWords(const TWordList &list)
{
    std::vector<std::string> words;
    for (int i = 0; i < list.Count(); ++i)
        words.push_back(list.GetForWord(i));
    return words;
}

class WordsGrid : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetDefaultSettings();
        Grid.SetMessageTarget(&Recorder);
        Grid.resize(1000, 400);
    }
    void TearDown() override { SetDefaultSettings(); }

    TWordList &Show(int words)
    {
        Grid.SetWordList(MakeList(words));
        Recorder.Messages.clear();
        return *Grid.GetWordList();
    }

    TNumberedPack Pack;
    TMessageRecorder Recorder;
    TWordsGrid Grid;
};

} // namespace

TEST_F(WordsGrid, StartsHiddenWithItsOptionsColumnsAndDescriptionWidths)
{
    EXPECT_FALSE(Grid.isVisible());
    EXPECT_EQ(Grid.objectName(), "WordsGrid");
    EXPECT_EQ(Grid.Options(), 0x438FU);
    ASSERT_EQ(Grid.ColCount(), 10);
    EXPECT_EQ(Grid.RowHeight(0), 18);
    const std::vector<int> widths{25, 150, 150, 150, 40, 70, 70, 60, 60, 60};
    for (int col = 0; col < 10; ++col) {
        EXPECT_EQ(Grid.ColumnKind(col), col);
        EXPECT_EQ(Grid.ColumnFixedWidth(col), col == 0 || col >= 6) << col;
        EXPECT_EQ(Grid.ColWidth(col), widths[static_cast<size_t>(col)]) << col;
    }
    EXPECT_EQ(Grid.ColumnOfKind(42), 9) << "an unknown kind gives the last column";
}

TEST_F(WordsGrid, SettingAListShowsItWithTheAppendRowAndReportsTheCount)
{
    Grid.SetWordList(MakeList(0));
    EXPECT_TRUE(Grid.isVisible());
    EXPECT_EQ(Grid.RowCount(), 2);
    EXPECT_EQ(Recorder.Count(WM_WORDCOUNTCHANGED), 1);
    EXPECT_EQ(Grid.Col(), 1);
    EXPECT_EQ(Grid.Row(), 1);

    const std::string oldRecordFile = Grid.GetWordList()->RecordTempFile;
    Grid.StoreUndo(TUndoKind::Insert, 1, 1);
    Grid.SetWordList(MakeList(12));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(oldRecordFile)))
            << "the list it replaces is freed";
    EXPECT_EQ(Grid.RowCount(), 14);
    EXPECT_EQ(Grid.GetWordCount(), 12);
    EXPECT_EQ(Grid.GetUndoKind(), TUndoKind::None);
    EXPECT_EQ(Grid.GetForLanguage(), "En");
    EXPECT_EQ(Grid.GetRefLanguage(), "Nederlands");
}

TEST_F(WordsGrid, BusyModeTellsTheTargetAndRefusesCellsRowsAndPresses)
{
    Show(10);
    Grid.SelectCellAt(2, 3);
    Grid.SetBusy(true);
    ASSERT_EQ(Recorder.Messages.size(), 1U);
    EXPECT_EQ(Recorder.Messages[0], std::make_pair(WM_GRIDBUSY, intptr_t{1}));
    EXPECT_TRUE(Grid.IsBusy());

    Grid.SelectCellAt(1, 5);
    Grid.SetRow(6);
    Grid.SelectRows(4, false, true);
    const QRect cell = Grid.CellRect(1, 7);
    QTest::mouseClick(Grid.viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(Grid.Col(), 2);
    EXPECT_EQ(Grid.Row(), 3);
    EXPECT_FALSE(Grid.IsRowSelection());

    Grid.ClearBusy();
    ASSERT_EQ(Recorder.Messages.size(), 2U);
    EXPECT_EQ(Recorder.Messages[1], std::make_pair(WM_GRIDBUSY, intptr_t{0}));
    QTest::mouseClick(Grid.viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(Grid.Row(), 7);
}

TEST_F(WordsGrid, ColumnSettingsRoundTripAndTheFixedWidthsFollowTheKind)
{
    ColumnSettings.Order = {2, 1, 3, 5, 4, 9, 8, 7, 6};
    ColumnSettings.Widths = {100, 120, 130, 90, 70};
    Grid.ApplyColumnSettings();
    Show(3);
    for (int col = 1; col < 10; ++col)
        EXPECT_EQ(Grid.ColumnKind(col), ColumnSettings.Order[static_cast<size_t>(col - 1)]);
    EXPECT_EQ(Grid.ColWidth(Grid.ColumnOfKind(ckForWord)), 100);
    EXPECT_EQ(Grid.ColWidth(Grid.ColumnOfKind(ckLesson)), 70);
    EXPECT_EQ(Grid.ColWidth(Grid.ColumnOfKind(ckScore)), 60);
    EXPECT_EQ(Grid.ColWidth(Grid.ColumnOfKind(ckSound)), 70);
    EXPECT_TRUE(Grid.ColumnFixedWidth(Grid.ColumnOfKind(ckScore)));
    EXPECT_FALSE(Grid.ColumnFixedWidth(Grid.ColumnOfKind(ckLesson)));

    // The user widens the context column by its border; a resize then restores only the fixed
    // kinds, wherever they stand.
    const int context = Grid.ColumnOfKind(ckContext);
    const QRect header = Grid.CellRect(context, 0);
    const QPoint border(header.right() + 1, 5);
    QTest::mousePress(Grid.viewport(), Qt::LeftButton, {}, border);
    QTest::mouseMove(Grid.viewport(), border + QPoint(40, 0));
    QTest::mouseRelease(Grid.viewport(), Qt::LeftButton, {}, border + QPoint(40, 0));
    EXPECT_EQ(Grid.ColWidth(context), 170);
    Grid.SetColWidth(Grid.ColumnOfKind(ckSound), 200);
    Grid.SetColWidth(0, 90);
    Grid.resize(900, 300);
    EXPECT_EQ(Grid.ColWidth(Grid.ColumnOfKind(ckSound)), 70);
    EXPECT_EQ(Grid.ColWidth(0), 25);
    EXPECT_EQ(Grid.ColWidth(context), 170);

    SetDefaultSettings();
    Grid.StoreColumnSettings();
    EXPECT_EQ(ColumnSettings.Order, (std::array<uint8_t, 9>{2, 1, 3, 5, 4, 9, 8, 7, 6}));
    EXPECT_EQ(ColumnSettings.Widths, (std::array<int16_t, 5>{100, 120, 170, 90, 70}));
}

TEST_F(WordsGrid, DamagedColumnSettingsFallBackToTheDefaultOrderAndSaneWidths)
{
    const std::vector<std::array<uint8_t, 9>> damaged{
            {3, 1, 2, 4, 5, 6, 7, 8, 9}, {1, 2, 3, 3, 5, 6, 7, 8, 9}, {1, 2, 3, 4, 5, 6, 7, 8, 0}};
    for (const auto &order : damaged) {
        ColumnSettings.Order = order;
        ColumnSettings.Widths = {0, -5, 30000, 8, 4000};
        Grid.ApplyColumnSettings();
        for (int col = 0; col < 10; ++col)
            EXPECT_EQ(Grid.ColumnKind(col), col);
        EXPECT_EQ(Grid.ColWidth(1), 8);
        EXPECT_EQ(Grid.ColWidth(2), 8);
        EXPECT_EQ(Grid.ColWidth(3), 4000);
        EXPECT_EQ(Grid.ColWidth(4), 8);
        EXPECT_EQ(Grid.ColWidth(5), 4000);
    }
}

TEST_F(WordsGrid, UndoOfNothingDoesNothingAndEveryUndoHappensOnce)
{
    TWordList &list = Show(5);
    Grid.Undo();
    EXPECT_EQ(list.Count(), 5);

    list.SetPartOfSpeech(1, "new");
    Grid.StoreUndo(TUndoKind::PartOfSpeech, 2, 1, {});
    Grid.StoreUndo(TUndoKind::PartOfSpeech, 2, 1, [] {
        std::vector<TUndoEntry> entries;
        entries.emplace_back(TOldPartOfSpeech{"old"});
        return entries;
    }());
    EXPECT_EQ(Grid.GetUndoKind(), TUndoKind::PartOfSpeech);
    Grid.Undo();
    EXPECT_EQ(list.GetPartOfSpeech(1), "old");
    EXPECT_EQ(Grid.GetUndoKind(), TUndoKind::None);
    list.SetPartOfSpeech(1, "newer");
    Grid.Undo();
    EXPECT_EQ(list.GetPartOfSpeech(1), "newer") << "there is no second undo";
}

TEST_F(WordsGrid, UndoOfLessonsLevelsAndScoresRestoresTheRowsAndSelectsThem)
{
    TWordList &list = Show(6);
    std::vector<TUndoEntry> lessons;
    lessons.emplace_back(TOldLesson{"l1"});
    lessons.emplace_back(TOldLesson{"l2"});
    list.SetLesson(1, "x");
    list.SetLesson(2, "x");
    Grid.StoreUndo(TUndoKind::Lesson, 2, 2, std::move(lessons));
    Grid.Undo();
    EXPECT_EQ(list.GetLesson(1), "l1");
    EXPECT_EQ(list.GetLesson(2), "l2");
    EXPECT_TRUE(Grid.IsRowSelection());
    EXPECT_EQ(Grid.Selection().Top, 2);
    EXPECT_EQ(Grid.Selection().Bottom, 3);

    list.SetLevel1(4, 3);
    list.SetLevel2(4, 2);
    std::vector<TUndoEntry> levels;
    levels.emplace_back(TOldLevel{1, 0});
    Grid.StoreUndo(TUndoKind::Levels, 5, 1, std::move(levels));
    Grid.Undo();
    EXPECT_EQ(list.GetLevel1(4), 1);
    EXPECT_EQ(list.GetLevel2(4), 0);
    EXPECT_EQ(Grid.Selection().Top, 5);

    std::vector<TUndoEntry> scores;
    scores.emplace_back(TOldScore{7, 8, 3, 4, 5, 6});
    Grid.StoreUndo(TUndoKind::ScoreReset, 6, 1, std::move(scores));
    Grid.Undo();
    const TWord &word = list.Word(5);
    EXPECT_EQ(std::make_tuple(word.Score1, word.Score2, word.Count1, word.Count2, word.History1,
                              word.History2),
              std::make_tuple(7, 8, 3, 4, 5U, 6U));
}

TEST_F(WordsGrid, UndoOfADeleteReturnsTheWordsWithTheirSoundsAtTheirRows)
{
    TWordList &list = Show(5);
    list.SetSound(2, 100, 50);
    std::vector<TUndoEntry> removed;
    removed.emplace_back(list.Delete(1));
    removed.emplace_back(list.Delete(1));
    Grid.SetRowCount(list.Count() + 2);
    Grid.StoreUndo(TUndoKind::DeleteWords, 2, 2, std::move(removed));
    Grid.Undo();
    EXPECT_EQ(ForWords(list), (std::vector<std::string>{"f0", "f1", "f2", "f3", "f4"}));
    ASSERT_NE(list.GetSound(2), nullptr);
    EXPECT_EQ(list.GetSound(2)->Offset, 100);
    EXPECT_EQ(Grid.RowCount(), 7);
    EXPECT_EQ(Recorder.Count(WM_WORDCOUNTCHANGED), 1);
    EXPECT_EQ(Grid.Selection().Top, 2);
    EXPECT_EQ(Grid.Selection().Bottom, 3);
    EXPECT_FALSE(list.Saved);
}

TEST_F(WordsGrid, UndoOfSoundChangesRestoresOrRemovesTheSound)
{
    TWordList &list = Show(4);
    list.SetSound(2, 100, 50);
    list.SetSound(2, 0, 0);
    Grid.StoreUndo(TUndoKind::DeleteSound, 3, 1, [] {
        std::vector<TUndoEntry> entries;
        entries.emplace_back(TSoundRec{100, 50});
        return entries;
    }());
    Grid.Undo();
    ASSERT_NE(list.GetSound(2), nullptr);
    EXPECT_EQ(list.GetSound(2)->Size, 50);
    EXPECT_EQ(Grid.Col(), Grid.ColumnOfKind(ckSound));
    EXPECT_EQ(Grid.Row(), 3);

    // A recording into a word that had no sound: undo removes it again.
    list.SetSound(0, -1, -1);
    Grid.StoreUndo(TUndoKind::SoundChange, 1, 0);
    Grid.Undo();
    EXPECT_EQ(list.GetSound(0), nullptr);

    // A batch: the first word had a sound, the second none (kept as size 0).
    list.SetSound(1, 10, 10);
    list.SetSound(2, 20, 20);
    Grid.StoreUndo(TUndoKind::SoundChange, 2, 2, [] {
        std::vector<TUndoEntry> entries;
        entries.emplace_back(TSoundRec{5, 5});
        entries.emplace_back(TSoundRec{0, 0});
        return entries;
    }());
    Grid.Undo();
    ASSERT_NE(list.GetSound(1), nullptr);
    EXPECT_EQ(list.GetSound(1)->Offset, 5);
    EXPECT_EQ(list.GetSound(2), nullptr);
    EXPECT_EQ(Grid.Row(), 2);
}

TEST_F(WordsGrid, UndoOfAnInsertRemovesTheNewWordsAndKeepsNoRecord)
{
    TWordList &list = Show(3);
    for (int i = 0; i < 3; ++i)
        list.Insert(1, std::make_unique<TWord>("new", "", ""));
    Grid.SetRowCount(list.Count() + 2);
    Grid.StoreUndo(TUndoKind::Insert, 2, 3);
    Grid.Undo();
    EXPECT_EQ(ForWords(list), (std::vector<std::string>{"f0", "f1", "f2"}));
    EXPECT_EQ(Grid.RowCount(), 5);
    EXPECT_EQ(Grid.GetUndoKind(), TUndoKind::None) << "the delete's own record is discarded";
    EXPECT_EQ(Recorder.Count(WM_WORDCOUNTCHANGED), 1);
}

TEST_F(WordsGrid, UndoOfASortAfterAPasteRestoresTheOrderBeforeTheSortOnly)
{
    TWordList &list = Show(3);
    for (int i = 0; i < 3; ++i)
        list.Insert(0, std::make_unique<TWord>("p" + std::to_string(i), "", ""));
    Grid.SetRowCount(list.Count() + 2);
    Grid.StoreUndo(TUndoKind::Insert, 1, 3);

    const std::vector<std::string> order = ForWords(list);
    EditOptions.ConfirmSort = false;
    Grid.SortByKind(ckForWord);
    EXPECT_EQ(ForWords(list), (std::vector<std::string>{"f0", "f1", "f2", "p0", "p1", "p2"}));
    Grid.SelectCellAt(3, 4);
    Grid.Undo();
    EXPECT_EQ(ForWords(list), order);
    EXPECT_EQ(Grid.RowCount(), 8);
    EXPECT_EQ(Grid.Col(), 1);
    EXPECT_EQ(Grid.Row(), 1);
    EXPECT_EQ(Recorder.Count(WM_WORDCOUNTCHANGED), 1);
    EXPECT_EQ(Grid.GetUndoKind(), TUndoKind::None) << "the paste can no longer be undone";
}

// Undoing a sort moves the words back; it takes nothing from them. An exercise run after the
// sort records its answers in the words, and they must survive the undo.
TEST_F(WordsGrid, UndoOfASortKeepsWhatAnExerciseRecordedSince)
{
    TWordList &list = Show(4);
    list.SetForWord(0, "d");
    list.SetForWord(1, "b");
    list.SetForWord(2, "c");
    list.SetForWord(3, "a");
    list.SetSound(2, 40, 4);
    list.Saved = true;
    EditOptions.ConfirmSort = false;
    Grid.SortByKind(ckForWord);
    EXPECT_EQ(ForWords(list), (std::vector<std::string>{"a", "b", "c", "d"}));
    list.RecordAnswer1(0, true);
    list.RecordAnswer2(3, false);
    list.Saved = true;
    Grid.Undo();
    EXPECT_EQ(ForWords(list), (std::vector<std::string>{"d", "b", "c", "a"}));
    EXPECT_EQ(list.GetScore1(3), 1) << "the answer given to a";
    EXPECT_EQ(list.GetCount1(3), 1);
    EXPECT_EQ(list.GetCount2(0), 1) << "the answer given to d";
    ASSERT_NE(list.GetSound(2), nullptr);
    EXPECT_EQ(list.GetSound(2)->Offset, 40);
    EXPECT_EQ(list.GetRefWord(2), "r2") << "every word keeps its own texts";
    EXPECT_FALSE(list.Saved);
    EXPECT_EQ(Grid.GetUndoKind(), TUndoKind::None);
}

TEST_F(WordsGrid, UndoOfAReplaceRestoresTheTextOfItsColumn)
{
    TWordList &list = Show(4);
    list.SetContext(1, "new one");
    list.SetContext(2, "new two");
    std::vector<TUndoEntry> replaced;
    replaced.emplace_back(TOldReplace{ckContext, 1, "old one"});
    replaced.emplace_back(TOldReplace{ckContext, 2, "old two"});
    Grid.StoreUndo(TUndoKind::Replace, 2, 2, std::move(replaced));
    Grid.Undo();
    EXPECT_EQ(list.GetContext(1), "old one");
    EXPECT_EQ(list.GetContext(2), "old two");
    EXPECT_EQ(Grid.Col(), Grid.ColumnOfKind(ckContext));
    EXPECT_EQ(Grid.Row(), 2);
}

TEST_F(WordsGrid, TypingInAnEditorIsUndoneFirstAndReplacesTheGridsRecord)
{
    TWordList &list = Show(3);
    TKBAwareEdit forEdit;
    TKBAwareEdit lessonEdit;
    TKBAwareComboBox partOfSpeech;
    partOfSpeech.setEditable(true);
    Grid.SetForWordEdit(&forEdit);
    Grid.SetLessonEdit(&lessonEdit);
    Grid.SetPartOfSpeechCombo(&partOfSpeech);
    const auto lessonRecord = [] {
        std::vector<TUndoEntry> entries;
        entries.emplace_back(TOldLesson{"l0"});
        return entries;
    };
    list.SetLesson(0, "x");
    Grid.StoreUndo(TUndoKind::Lesson, 1, 1, lessonRecord());

    Grid.SelectCellAt(1, 1);
    QTest::keyClicks(&forEdit, "abc");
    EXPECT_EQ(list.GetForWord(0), "abc");
    EXPECT_EQ(Grid.GetUndoKind(), TUndoKind::EditorTyping);
    Grid.Undo();
    EXPECT_EQ(forEdit.text(), "f0");
    EXPECT_EQ(list.GetForWord(0), "f0") << "the editor's undo is stored as well";
    EXPECT_EQ(Grid.GetUndoKind(), TUndoKind::None) << "a typed change clears the grid's record";
    EXPECT_EQ(list.GetLesson(0), "x");

    Grid.StoreUndo(TUndoKind::Lesson, 1, 1, lessonRecord());
    Grid.SelectCellAt(Grid.ColumnOfKind(ckLesson), 4);
    EXPECT_FALSE(lessonEdit.isVisibleTo(&Grid))
            << "the lesson cell of the append row has no editor";
    EXPECT_EQ(Grid.GetUndoKind(), TUndoKind::Lesson);
    Grid.SelectCellAt(Grid.ColumnOfKind(ckPartOfSpeech), 1);
    QTest::keyClicks(partOfSpeech.lineEdit(), "zn");
    EXPECT_EQ(Grid.GetUndoKind(), TUndoKind::PartOfSpeech)
            << "the part-of-speech editor never answers 10";
    EXPECT_EQ(list.GetPartOfSpeech(0), "zn");
    Grid.Undo();
    EXPECT_EQ(list.GetPartOfSpeech(0), "");
    EXPECT_EQ(list.GetLesson(0), "x");
}

TEST_F(WordsGrid, RecordsThatDoNotMatchTheListAreIgnored)
{
    TWordList &list = Show(3);
    std::vector<TUndoEntry> wrong;
    wrong.emplace_back(TOldLesson{"x"});
    Grid.StoreUndo(TUndoKind::DeleteWords, 2, 4, std::move(wrong));
    Grid.Undo();
    EXPECT_EQ(list.Count(), 3);
    Grid.StoreUndo(TUndoKind::Lesson, 3, 5, [] {
        std::vector<TUndoEntry> entries;
        for (int i = 0; i < 5; ++i)
            entries.emplace_back(TOldLesson{"y"});
        return entries;
    }());
    Grid.Undo();
    EXPECT_EQ(list.GetLesson(2), "y");
    Grid.StoreUndo(TUndoKind::Sort, 1, 1, [&] {
        std::vector<TUndoEntry> entries;
        entries.emplace_back(TOldOrder{{&list.Word(0)}});
        return entries;
    }());
    Grid.Undo();
    EXPECT_EQ(ForWords(list), (std::vector<std::string>{"f0", "f1", "f2"}));
    Grid.StoreUndo(TUndoKind::Insert, 3, 10);
    Grid.Undo();
    EXPECT_EQ(ForWords(list), (std::vector<std::string>{"f0", "f1"}));
    EXPECT_EQ(Grid.RowCount(), 4);
}

TEST_F(WordsGrid, SavedSelectionComesBackAsRowsOrAsTheColumnOfItsKind)
{
    Show(10);
    Grid.SelectRows(2, false, true);
    Grid.SelectRows(4, true, true);
    Grid.SaveSelection();
    Grid.SelectCellAt(3, 7);
    Grid.RestoreSelection();
    EXPECT_TRUE(Grid.IsRowSelection());
    EXPECT_EQ(Grid.Selection(), (TGridRect{1, 2, 9, 4}));
    EXPECT_EQ(Grid.GetRowAnchor(), 2);

    Grid.SelectCellAt(3, 6);
    Grid.SaveSelection();
    ColumnSettings.Order = {1, 2, 4, 5, 3, 6, 7, 8, 9};
    Grid.ApplyColumnSettings();
    Grid.RestoreSelection();
    EXPECT_FALSE(Grid.IsRowSelection());
    EXPECT_EQ(Grid.Col(), 5);
    EXPECT_EQ(Grid.Row(), 6);

    // The kept rows are gone: the selection stays inside the list.
    Grid.SelectRows(8, false, true);
    Grid.SelectRows(10, true, true);
    Grid.SaveSelection();
    Grid.SetWordList(MakeList(4));
    Grid.RestoreSelection();
    EXPECT_EQ(Grid.Selection().Top, 4);
    EXPECT_EQ(Grid.Selection().Bottom, 4);
}

TEST_F(WordsGrid, RowHeightsFollowTheForeignEditorAndTheHeaderStays18)
{
    TWordList &list = Show(3);
    EXPECT_GE(Grid.DefaultRowHeight(), 18);
    EXPECT_EQ(Grid.RowHeight(0), 18);
    QLineEdit measure;
    measure.setFrame(false);
    measure.setFont(TListFont{"Arial", 0, 20}.toQFont());
    Grid.SetForFont(std::make_unique<TListFont>(TListFont{"Arial", 0, 20}));
    EXPECT_EQ(Grid.DefaultRowHeight(), measure.sizeHint().height() + 3);
    EXPECT_EQ(Grid.RowHeight(0), 18);
    EXPECT_EQ(Grid.RowHeight(2), Grid.DefaultRowHeight());
    EXPECT_EQ(list.ForFont->Size, 20);
}

TEST(MainFormGrid, TheMainWindowHoldsTheGridInItsClientArea)
{
    TMainForm form;
    TWordsGrid *grid = form.WordsGrid();
    ASSERT_NE(grid, nullptr);
    // The foreign-characters bar shares the client area, below the grid.
    EXPECT_TRUE(form.centralWidget()->isAncestorOf(grid));
    EXPECT_EQ(grid->objectName(), "WordsGrid");
    EXPECT_EQ(form.findChild<TWordsGrid *>("WordsGrid"), grid);
}
