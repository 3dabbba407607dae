#include "core/Unit_LanguagePack.h"
#include "mainwindow/GridFixture.h"
#include "platform/CodePage.h"

// Find and replace through the grid's interface, as the find window and Find next call it.

namespace {

class GridFind : public GridEditing
{
protected:
    TWordList &ShowWords(std::initializer_list<std::string> words, uint8_t forCharset = 0)
    {
        grid->SetWordList(
                TListBuilder().Languages("Duits", forCharset, "Nederlands", 0).Words(words).Take());
        return *grid->GetWordList();
    }

    void Next(uint8_t column, uint8_t mode, const std::string &find, bool replace = false,
              const std::string &replacement = "", bool inSelection = false)
    {
        grid->FindNext(column, mode, replace, inSelection, find, replacement);
    }

    // Where the match stands in the open editor: its row, first character and length.
    std::tuple<int, int, int> Match(const QLineEdit &edit) const
    {
        return {grid->Row(), static_cast<int>(edit.selectionStart()),
                static_cast<int>(edit.selectedText().length())};
    }
};

} // namespace

TEST_F(GridFind, FindNextGoesOnPastEachMatchAndThenIntoTheFollowingWords)
{
    ShowWords({"abab ab", "xAB", "abc", "zz"});
    grid->SelectCellAt(ColOf(ckForWord), 1);
    for (const auto &expected : {std::tuple{1, 0, 2}, std::tuple{1, 2, 2}, std::tuple{1, 5, 2},
                                 std::tuple{2, 1, 2}, std::tuple{3, 0, 2}}) {
        Next(FindForWord, FindContains, "ab");
        EXPECT_EQ(expected, Match(*ForWordEdit));
    }
    EXPECT_EQ(0, Beeps);
    Next(FindForWord, FindContains, "ab");
    EXPECT_EQ(1, Beeps) << "nothing further";
    EXPECT_EQ(std::make_tuple(3, 0, 2), Match(*ForWordEdit));

    // Begins with and equals never match inside the row where the caret stands past its start.
    grid->SelectCellAt(ColOf(ckForWord), 1);
    ForWordEdit->setCursorPosition(3);
    Next(FindForWord, FindBeginsWith, "ab");
    EXPECT_EQ(std::make_tuple(3, 0, 2), Match(*ForWordEdit));
    grid->SelectCellAt(ColOf(ckForWord), 2);
    ForWordEdit->setCursorPosition(0);
    Next(FindForWord, FindEquals, "xab");
    EXPECT_EQ(std::make_tuple(2, 0, 3), Match(*ForWordEdit));

    // From rows selected the search starts at their top; a search in the rows stops at the last.
    grid->SelectRows(2, false, false);
    grid->PrepareTargetRows();
    Next(FindForWord, FindContains, "ab", false, "", true);
    EXPECT_EQ(std::make_tuple(2, 1, 2), Match(*ForWordEdit));
    Next(FindForWord, FindContains, "ab", false, "", true);
    EXPECT_EQ(2, Beeps);
    EXPECT_EQ(std::make_tuple(2, 1, 2), Match(*ForWordEdit));
}

TEST_F(GridFind, MatchesAreSelectedByCharacterWhereTextsHoldMoreBytesThanCharacters)
{
    std::string japanese;
    ASSERT_TRUE(CodePage::FromUnicode(QStringLiteral("\u65E5\u672Cab\u65E5Ab"), 932, japanese));
    ShowWords({japanese}, ShiftJisCharset);
    grid->SelectCellAt(ColOf(ckForWord), 1);
    Next(FindForWord, FindContains, "ab");
    EXPECT_EQ(std::make_tuple(1, 2, 2), Match(*ForWordEdit));
    Next(FindForWord, FindContains, "ab");
    EXPECT_EQ(std::make_tuple(1, 5, 2), Match(*ForWordEdit));

    ShowWords({"Ma\xDF\x65 \xC9t\xE9"});
    grid->SelectCellAt(ColOf(ckForWord), 1);
    Next(FindForWord, FindContains, "\xDF\x45");
    EXPECT_EQ(std::make_tuple(1, 2, 2), Match(*ForWordEdit));
    Next(FindForWord, FindContains, "\xE9");
    EXPECT_EQ(std::make_tuple(1, 5, 1), Match(*ForWordEdit)) << "É matches é";
    Next(FindForWord, FindContains, "\xE9");
    EXPECT_EQ(std::make_tuple(1, 7, 1), Match(*ForWordEdit));
}

TEST_F(GridFind, ReplaceChangesTheSelectedMatchWithUndoUnlessTheColumnRefusesIt)
{
    TListBuilder builder;
    builder.Words({"ab ab", std::string(510, 'q') + "ab", "ab"}).Word("w").PartOfSpeech("noun");
    grid->SetWordList(builder.Take());
    TWordList &list = *grid->GetWordList();
    grid->SelectCellAt(ColOf(ckForWord), 1);
    Next(FindForWord, FindContains, "ab");
    Next(FindForWord, FindContains, "ab", true, "xyz");
    EXPECT_EQ("xyz ab", list.GetForWord(0));
    EXPECT_EQ(std::make_tuple(1, 4, 2), Match(*ForWordEdit)) << "on after the replacement";
    grid->Undo();
    EXPECT_EQ("ab ab", list.GetForWord(0));

    // 513 bytes would be too long: a beep, and the search goes on.
    grid->SelectCellAt(ColOf(ckForWord), 2);
    Next(FindForWord, FindContains, "ab");
    Beeps = 0;
    Next(FindForWord, FindContains, "ab", true, "xyz");
    EXPECT_EQ(1, Beeps);
    EXPECT_EQ(std::string(510, 'q') + "ab", list.GetForWord(1));
    EXPECT_EQ(std::make_tuple(3, 0, 2), Match(*ForWordEdit));

    // The part of speech is never replaced one at a time; all at once it is.
    grid->SelectCellAt(ColOf(ckPartOfSpeech), 4);
    PartOfSpeechCombo->lineEdit()->selectAll();
    Beeps = 0;
    Next(FindPartOfSpeech, FindContains, "noun", true, "verb");
    EXPECT_EQ(2, Beeps) << "refused, and found nowhere else";
    EXPECT_EQ("noun", list.GetPartOfSpeech(3));
    grid->PrepareTargetRows();
    grid->ReplaceAll(FindPartOfSpeech, FindContains, "noun", "verb");
    EXPECT_EQ("verb", list.GetPartOfSpeech(3));
}

TEST_F(GridFind, ReplaceAllStaysInTheTargetRowsAndEndsWhateverTheTexts)
{
    grid->SetWordList(TListBuilder().Words(8, "ab", "", "aaa").Take());
    TWordList &words = *grid->GetWordList();
    grid->SelectRows(3, false, false);
    grid->SelectRows(5, true, false);
    grid->PrepareTargetRows();
    grid->ReplaceAll(FindForWord, FindContains, "ab", "xy");
    for (int index = 0; index < 8; ++index)
        EXPECT_EQ(index >= 2 && index <= 4 ? "xy" : "ab", words.GetForWord(index)) << index;
    EXPECT_EQ(TUndoKind::Replace, grid->GetUndoKind());
    grid->Undo();
    EXPECT_EQ("ab", words.GetForWord(3));

    // A replacement holding what it replaces, and one that is empty, each replace every
    // occurrence once.
    grid->SelectRows(3, false, false);
    grid->PrepareTargetRows();
    grid->ReplaceAll(FindLesson, FindContains, "a", "aa");
    EXPECT_EQ("aaaaaa", words.GetLesson(2));
    grid->Undo();
    EXPECT_EQ("aaa", words.GetLesson(2)) << "the text before the first of its replacements";
    grid->ReplaceAll(FindLesson, FindContains, "a", "aa");
    grid->ReplaceAll(FindLesson, FindContains, "aa", "");
    EXPECT_EQ("", words.GetLesson(2));
    grid->ReplaceAll(FindLesson, FindEquals, "", "x");
    EXPECT_EQ("", words.GetLesson(2)) << "an empty text to find is refused";
    EXPECT_EQ(1, Beeps);
    EXPECT_EQ("aaa", words.GetLesson(3));
}

TEST_F(GridFind, ReplaceAllLeavesWhatWouldGrowTooLongAndUndoRestoresTheWholeRange)
{
    TWordList &list = ShowWords({"a", "b", "c"});
    list.SetLesson(0, std::string(62, 'x') + "Q");
    list.SetLesson(1, std::string(61, 'x') + "Q");
    list.SetLesson(2, "Q");
    TScriptedBox box;
    grid->SelectCellAt(ColOf(ckForWord), 1);
    grid->PrepareTargetRows();
    list.Saved = true;
    grid->ReplaceAll(FindLesson, FindContains, "q", "QQQ");
    EXPECT_FALSE(list.Saved);
    EXPECT_EQ(std::string(62, 'x') + "Q", list.GetLesson(0)) << "65 bytes would be too long";
    EXPECT_EQ(std::string(61, 'x') + "QQQ", list.GetLesson(1));
    EXPECT_EQ("QQQ", list.GetLesson(2));
    EXPECT_EQ((std::vector<std::string>{LanguageText(TEntry::NotAllReplaced)}), box.Take());
    grid->Undo();
    EXPECT_EQ(std::string(62, 'x') + "Q", list.GetLesson(0));
    EXPECT_EQ(std::string(61, 'x') + "Q", list.GetLesson(1));
    EXPECT_EQ("Q", list.GetLesson(2));
}

TEST_F(GridFind, TargetRowsThatTheListNoLongerHoldsAreLeftOut)
{
    grid->SetWordList(TListBuilder().Words(8, "ab").Take());
    TWordList &words = *grid->GetWordList();
    grid->SelectRows(3, false, false);
    grid->SelectRows(8, true, false);
    grid->PrepareTargetRows();
    grid->SelectRows(5, false, false);
    grid->SelectRows(8, true, false);
    grid->DeleteSelection();
    ASSERT_EQ(4, words.Count());
    grid->ReplaceAll(FindForWord, FindContains, "ab", "c");
    EXPECT_EQ("ab", words.GetForWord(1));
    EXPECT_EQ("c", words.GetForWord(3));
    grid->Undo();
    EXPECT_EQ("ab", words.GetForWord(3));
    EXPECT_EQ(4, words.Count());

    grid->SetWordList(TListBuilder().Words(2, "ab").Take());
    Beeps = 0;
    grid->ReplaceAll(FindForWord, FindContains, "ab", "c");
    EXPECT_EQ(1, Beeps) << "a new list has no target rows yet";
    EXPECT_EQ("ab", grid->GetWordList()->GetForWord(0));
}

// A click on the empty area below the rows hides the editor and keeps the cell: Find next goes on
// from the match the editor still holds, not from the start of the word.
TEST_F(GridFind, FindNextGoesOnInTheEditorAfterItWasHiddenWithoutACellChange)
{
    TWordList &list = ShowWords({"abab ab", "zz"});
    const int col = ColOf(ckForWord);
    grid->SelectCellAt(col, 1);
    Next(FindForWord, FindContains, "ab");
    Next(FindForWord, FindContains, "ab");
    ASSERT_EQ(std::make_tuple(1, 2, 2), Match(*ForWordEdit));
    const QPoint below(grid->CellRect(col, 1).center().x(), grid->viewport()->height() - 2);
    ASSERT_LT(grid->CellRect(col, 2).bottom(), below.y());
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, below);
    ASSERT_TRUE(ForWordEdit->isHidden());
    ASSERT_EQ(std::make_pair(col, 1), Cell());
    Next(FindForWord, FindContains, "ab");
    EXPECT_EQ(std::make_tuple(1, 5, 2), Match(*ForWordEdit));

    // A word changed while its editor was hidden leaves no match to go on from.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, below);
    ASSERT_TRUE(ForWordEdit->isHidden());
    list.SetForWord(0, "xx ab");
    Next(FindForWord, FindContains, "ab");
    EXPECT_EQ(std::make_tuple(1, 3, 2), Match(*ForWordEdit));
    EXPECT_EQ(0, Beeps);
}
