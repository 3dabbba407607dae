#include "grid/WordsGrid.h"

#include "core/Unit_GlobalSettings.h"
#include "core/Unit_LanguagePack.h"
#include "core/Unit_Sort.h"
#include "core/Unit_Warnings.h"

// Sorting the whole list by the column whose header was clicked.

namespace {

// The order of each sortable column kind; nullptr for the row header.
const TWordCompare *CompareOfKind(uint8_t kind)
{
    switch (kind) {
    case ckForWord:
        return &CompareForWord;
    case ckRefWord:
        return &CompareRefWord;
    case ckContext:
        return &CompareContext;
    case ckPartOfSpeech:
        return &ComparePartOfSpeech;
    case ckLesson:
        return &CompareLesson;
    case ckSound:
        return &CompareSound;
    case ckLevel1:
        return &CompareLevel1;
    case ckLevel2:
        return &CompareLevel2;
    case ckScore:
        return &CompareScore;
    default:
        return nullptr;
    }
}

} // namespace

// Every sort is ascending and keeps the previous order of words that compare equal. The undo
// record holds the old order of the words.
void TWordsGrid::SortByKind(uint8_t kind)
{
    const TWordCompare *compare = CompareOfKind(kind);
    const int count = GetWordCount();
    if (!WordList || Busy || !compare || count <= 1)
        return;
    if (EditOptions.ConfirmSort && WarnYesNo(LanguageText(TEntry::ConfirmSort)) != mbYes)
        return;
    if (InSoundCell())
        EndEdit();
    std::vector<TUndoEntry> old;
    old.emplace_back(TOldOrder{WordList->Order()});
    StoreUndo(TUndoKind::Sort, 1, count, std::move(old));
    WordList->Sort(*compare);
    InvalidateGrid();
    SelectCellAt(1, 1);
}
