#include "grid/WordsGrid.h"

#include "core/PrivateMessages.h"

#include <algorithm>

// The grid's one-level undo record: storing it, the main window's undo query, and taking a
// record back with one function per kind.

namespace {

// Entry i of the record when it has the type that the record's kind keeps; an entry of another
// type does not count.
template<typename Entry> Entry *EntryOf(std::vector<TUndoEntry> &entries, int i)
{
    return std::get_if<Entry>(&entries[static_cast<size_t>(i)]);
}

bool IsWordIndex(const TWordList &list, int index)
{
    return index >= 0 && index < list.Count();
}

} // namespace

void TWordsGrid::StoreUndo(TUndoKind kind, int first, int count, std::vector<TUndoEntry> entries)
{
    UndoKind = kind;
    UndoFirst = first;
    UndoCount = count;
    UndoList = std::move(entries);
}

void TWordsGrid::ClearUndo()
{
    UndoKind = TUndoKind::None;
    UndoList.clear();
}

TUndoKind TWordsGrid::GetUndoKind() const
{
    if (InTextCell()) {
        // A closed editor keeps its typing history; it no longer belongs to the current cell.
        const QLineEdit *editor = TextEditorOfKind(ColumnKind(Col()));
        if (editor && !editor->isHidden() && editor->isUndoAvailable())
            return TUndoKind::EditorTyping;
    }
    return UndoKind;
}

void TWordsGrid::Undo()
{
    if (GetUndoKind() == TUndoKind::EditorTyping) {
        TextEditorOfKind(ColumnKind(Col()))->undo();
        return;
    }
    if (UndoKind == TUndoKind::None || !WordList)
        return;
    // Only entries of the record's own type count, and only for rows the list still has.
    const int first = UndoFirst - 1;
    const int rows = std::min<int>(UndoCount, static_cast<int>(UndoList.size()));
    switch (UndoKind) {
    case TUndoKind::PartOfSpeech:
        UndoPartOfSpeech(first, rows);
        break;
    case TUndoKind::Lesson:
        UndoLesson(first, rows);
        break;
    case TUndoKind::Levels:
        UndoLevels(first, rows);
        break;
    case TUndoKind::ScoreReset:
        UndoScoreReset(first, rows);
        break;
    case TUndoKind::DeleteWords:
        UndoDeleteWords(first, rows);
        break;
    case TUndoKind::DeleteSound:
        UndoDeleteSound(first, rows);
        break;
    case TUndoKind::Insert:
        UndoInsert();
        break;
    case TUndoKind::SoundChange:
        UndoSoundChange(first, rows);
        break;
    case TUndoKind::Sort:
        UndoSort();
        break;
    case TUndoKind::Replace:
        UndoReplace();
        break;
    case TUndoKind::None:
    case TUndoKind::EditorTyping:
        break;
    }
    ClearUndo();
}

void TWordsGrid::SelectUndoneRows()
{
    SelectRowRange(UndoFirst, std::min(UndoFirst + UndoCount - 1, GetWordCount()), true);
    InvalidateGrid();
}

void TWordsGrid::UndoPartOfSpeech(int first, int rows)
{
    if (auto *old = rows > 0 ? EntryOf<TOldPartOfSpeech>(UndoList, 0) : nullptr;
        old && IsWordIndex(*WordList, first))
        WordList->SetPartOfSpeech(first, old->PartOfSpeech);
    SelectCellAt(Col(), Row());
}

void TWordsGrid::UndoLesson(int first, int rows)
{
    for (int i = 0; i < rows && IsWordIndex(*WordList, first + i); ++i)
        if (auto *old = EntryOf<TOldLesson>(UndoList, i))
            WordList->SetLesson(first + i, old->Lesson);
    SelectUndoneRows();
}

void TWordsGrid::UndoLevels(int first, int rows)
{
    for (int i = 0; i < rows && IsWordIndex(*WordList, first + i); ++i) {
        if (auto *old = EntryOf<TOldLevel>(UndoList, i)) {
            WordList->SetLevel1(first + i, old->Level1);
            WordList->SetLevel2(first + i, old->Level2);
        }
    }
    SelectUndoneRows();
}

void TWordsGrid::UndoScoreReset(int first, int rows)
{
    for (int i = 0; i < rows && IsWordIndex(*WordList, first + i); ++i) {
        if (auto *old = EntryOf<TOldScore>(UndoList, i)) {
            WordList->SetScore1(first + i, old->Score1);
            WordList->SetScore2(first + i, old->Score2);
            WordList->SetCount1(first + i, old->Count1);
            WordList->SetCount2(first + i, old->Count2);
            WordList->SetHistory1(first + i, old->History1);
            WordList->SetHistory2(first + i, old->History2);
        }
    }
    SelectUndoneRows();
}

// The kept words go back to their old rows, in their old order. The record ends with this undo,
// so they go back themselves rather than as copies.
void TWordsGrid::UndoDeleteWords(int first, int rows)
{
    if (first < 0 || first > WordList->Count())
        return;
    // An open editor would stand over a word that moved down.
    EndEdit();
    std::vector<std::unique_ptr<TWord>> kept;
    kept.reserve(static_cast<size_t>(rows));
    for (int i = 0; i < rows; ++i)
        if (auto *word = EntryOf<std::unique_ptr<TWord>>(UndoList, i); word && *word)
            kept.push_back(std::move(*word));
    const int inserted = static_cast<int>(kept.size());
    WordList->InsertRange(first, std::move(kept));
    SetRowCount(RowCount() + inserted);
    if (inserted > 0)
        SelectRowRange(UndoFirst, UndoFirst + inserted - 1, true);
    InvalidateGrid();
    SendToTarget(WM_WORDCOUNTCHANGED, 0);
}

void TWordsGrid::UndoDeleteSound(int first, int rows)
{
    if (auto *sound = rows > 0 ? EntryOf<TSoundRec>(UndoList, 0) : nullptr;
        sound && IsWordIndex(*WordList, first))
        WordList->SetSound(first, sound->Offset, sound->Size);
    SelectCellAt(ColumnOfKind(ckSound), UndoFirst);
}

// The inserted words go as a delete of their rows would take them; that delete's own record is
// then dropped with this one.
void TWordsGrid::UndoInsert()
{
    const int last = std::min(UndoFirst + UndoCount - 1, GetWordCount());
    if (UndoFirst >= 1 && last >= UndoFirst) {
        SelectRowRange(UndoFirst, last, false);
        DeleteSelectedRows();
    }
}

// A record of no rows is a sound given to a word that had none: undo removes it again.
void TWordsGrid::UndoSoundChange(int first, int rows)
{
    if (UndoCount == 0) {
        if (IsWordIndex(*WordList, first))
            WordList->SetSound(first, 0, 0);
    } else {
        for (int i = 0; i < rows && IsWordIndex(*WordList, first + i); ++i)
            if (auto *sound = EntryOf<TSoundRec>(UndoList, i))
                WordList->SetSound(first + i, sound->Offset, sound->Size);
    }
    SelectCellAt(ColumnOfKind(ckSound), UndoFirst);
}

// The words take their old places again, each as it is now: what an exercise recorded since the
// sort stays.
void TWordsGrid::UndoSort()
{
    auto *old = UndoList.empty() ? nullptr : EntryOf<TOldOrder>(UndoList, 0);
    // A record that does not name every word cannot give the old order back.
    if (!old || !WordList->RestoreOrder(old->Words))
        return;
    SelectCellAt(1, 1);
    InvalidateGrid();
    SendToTarget(WM_WORDCOUNTCHANGED, 0);
}

void TWordsGrid::UndoReplace()
{
    uint8_t kind = ckForWord;
    for (TUndoEntry &entry : UndoList) {
        auto *old = std::get_if<TOldReplace>(&entry);
        if (!old || !IsWordIndex(*WordList, old->Index))
            continue;
        SetTextOfKind(old->Index, old->Kind, std::move(old->OldText));
        kind = old->Kind;
    }
    SelectCellAt(ColumnOfKind(kind), UndoFirst);
    InvalidateGrid();
}
