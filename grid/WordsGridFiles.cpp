#include "grid/WordsGrid.h"

#include "core/BusyCursor.h"
#include "core/PrivateMessages.h"
#include "core/Texts.h"
#include "core/Unit_FilesThread.h"
#include "core/Unit_LanguagePack.h"
#include "core/Unit_ThreadInterchange.h"
#include "core/Unit_Warnings.h"

#include <algorithm>
#include <exception>

// Saving, importing and exporting the shown list, and the selection kept across them.

// Every path leaves busy mode: a failed write is reported and answered with false, and the list
// keeps its old file name and its unsaved state.
bool TWordsGrid::SaveList(const std::string &fileName, bool synchronous)
{
    if (!WordList || Busy)
        return false;
    try {
        StoreCurrentRecording();
    } catch (const std::exception &error) {
        ShowError(error);
        return false;
    }
    ClearUndo();
    if (!synchronous) {
        StartFileOperation(fileName, FilesSave);
        return true;
    }
    SaveSelection();
    SetBusy(true);
    SetBusyCursor(true);
    bool saved = false;
    try {
        WordList->SaveToFile(fileName);
        saved = true;
    } catch (const std::exception &error) {
        SetBusyCursor(false);
        ShowError(error);
    }
    ClearBusy();
    SetBusyCursor(false);
    RestoreSelection();
    return saved;
}

void TWordsGrid::ImportFile(const std::string &fileName)
{
    if (!WordList || Busy)
        return;
    ImportIndex = (RowSelection ? Selection().Top : Row()) - 1;
    ImportIndex = std::clamp(ImportIndex, 0, GetWordCount());
    StartFileOperation(fileName, FilesImport);
}

void TWordsGrid::ExportText(const std::string &fileName)
{
    if (!WordList || Busy)
        return;
    StartFileOperation(fileName, FilesExport);
}

void TWordsGrid::StartFileOperation(const std::string &fileName, uint8_t action)
{
    CurrentList = WordList.get();
    SetBusyCursor(true);
    SaveSelection();
    SetBusy(true);
    FilesThread = new TFilesThread(fileName, action, this);
}

bool TWordsGrid::event(QEvent *event)
{
    if (static_cast<int>(event->type()) == WM_FILESTHREADDONE) {
        WMFilesThreadDone(static_cast<TMessageEvent *>(event)->WParam);
        return true;
    }
    return CellGrid::event(event);
}

void TWordsGrid::WMFilesThreadDone(intptr_t action)
{
    // The list belongs to the grid; the interchange variable only lent it to the operation.
    if (CurrentList == WordList.get())
        CurrentList = nullptr;
    ClearBusy();
    SetBusyCursor(false);
    switch (action) {
    case FilesSave:
        RestoreSelection();
        if (SaveOk)
            SendToTarget(WM_FILESTHREADDONE, FilesSave);
        break;
    case FilesExport:
        RestoreSelection();
        break;
    case FilesImport:
        if (ImportCount < 1) {
            ShowWarning(LanguageText(TEntry::NoWordImported));
            RestoreSelection();
            break;
        }
        StoreUndo(TUndoKind::Insert, ImportIndex + 1, ImportCount);
        SetRowCount(RowCount() + ImportCount);
        SelectRowRange(ImportIndex + 1, ImportIndex + ImportCount, true);
        InvalidateGrid();
        SendToTarget(WM_WORDCOUNTCHANGED, 0);
        if (ImportCount == 1)
            ShowInformation(LanguageText(TEntry::OneWordImported));
        else
            ShowInformation(ReplacePlaceholders(LanguageText(TEntry::WordsImported),
                                                {{"%n%", std::to_string(ImportCount)}}));
        break;
    default:
        break;
    }
}

void TWordsGrid::SaveSelection()
{
    SavedRowSelection = RowSelection;
    if (RowSelection) {
        SavedTop = Selection().Top;
        SavedBottom = Selection().Bottom;
    } else {
        SavedTop = Row();
        SavedBottom = Row();
        SavedKind = ColumnKind(Col());
    }
}

void TWordsGrid::RestoreSelection()
{
    // The rows kept may have gone in the meantime; the selection then stays inside the list.
    const int lastRow = RowCount() - 1;
    if (SavedRowSelection && GetWordCount() > 0) {
        const int count = GetWordCount();
        SelectRowRange(std::min(SavedTop, count), std::min(SavedBottom, count), true);
    } else {
        SelectCellAt(ColumnOfKind(SavedKind), std::clamp(SavedTop, 1, lastRow));
    }
}
