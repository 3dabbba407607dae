// The grid's print command: the rows to print handed to the print preview.

#include "core/ModalResult.h"
#include "grid/WordsGrid.h"
#include "print/Unit_PrintLayout.h"
#include "print/Unit_PrintPreviewForm.h"

#include <algorithm>

int TWordsGrid::Print()
{
    if (!WordList || !PrintPreviewForm)
        return mrCancel;
    if (RowSelection) {
        PrintFirst = Selection().Top - 1;
        PrintLast = std::min(Selection().Bottom, GetWordCount()) - 1;
    } else {
        PrintFirst = 0;
        PrintLast = GetWordCount() - 1;
    }
    PrintList = WordList.get();
    const int result = PrintPreviewForm->exec();
    // The preview does not own the list, nor may it keep it.
    PrintList = nullptr;
    return result;
}
