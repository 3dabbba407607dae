#include "grid/WordsGrid.h"

#include "core/PrivateMessages.h"
#include "core/Unit_Warnings.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <algorithm>
#include <exception>

// The clipboard and the word commands of the main window, and the queries that offer them.

TSelectionMode TWordsGrid::SelectionMode() const
{
    if (!WordList)
        return TSelectionMode::Nothing;
    if (RowSelection)
        return TSelectionMode::Rows;
    if (InTextCell()) {
        const QLineEdit *edit = OpenLineEdit();
        return edit && edit->hasSelectedText() ? TSelectionMode::EditorText
                                               : TSelectionMode::Nothing;
    }
    if (InSoundCell() && WordList->GetSound(Row() - 1))
        return TSelectionMode::Sound;
    return TSelectionMode::Nothing;
}

bool TWordsGrid::CellOnWord() const
{
    return CellOnList() && Row() <= GetWordCount();
}

bool TWordsGrid::CellOnList() const
{
    if (!WordList || Row() < 1 || Col() < 1)
        return false;
    const uint8_t kind = ColumnKind(Col());
    if (IsTextKind(kind))
        return InTextCell();
    return (kind == ckSound || kind == ckLevel1 || kind == ckLevel2) && Row() <= GetWordCount();
}

bool TWordsGrid::CanInsert() const
{
    return WordList && (RowSelection || CellOnList());
}

bool TWordsGrid::CanSetExercise() const
{
    return WordList && (RowSelection || CellOnWord());
}

bool TWordsGrid::CanActOnOneWord() const
{
    if (!WordList)
        return false;
    if (RowSelection)
        return Selection().Top == Selection().Bottom;
    return CellOnWord();
}

bool TWordsGrid::CanPaste() const
{
    if (!WordList)
        return false;
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return false;
    if (data->hasFormat(QLatin1String(WordsClipboardFormat)) && CanInsert())
        return true;
    if (data->hasFormat(QLatin1String(SoundClipboardFormat)) && CellOnWord())
        return true;
    return data->hasText() && InTextCell();
}

bool TWordsGrid::CanSelectAll() const
{
    if (!WordList)
        return false;
    if (InTextCell()) {
        const QLineEdit *editor = OpenLineEdit();
        if (editor && editor->isVisible() && editor->selectedText() != editor->text())
            return true;
    }
    return GetWordCount() >= 1;
}

// The rows a lesson, level or score command changes: the selected rows, or the current word.
std::pair<int, int> TWordsGrid::TargetRows() const
{
    if (RowSelection)
        return {Selection().Top, std::min(Selection().Bottom, GetWordCount())};
    return {Row(), Row()};
}

void TWordsGrid::StoreCurrentRecording()
{
    if (ColumnKind(Col()) == ckSound && Row() >= 1 && Row() <= GetWordCount())
        WordList->StoreRecordedSound(Row() - 1);
}

// A word kept aside with a fresh recording would later take whatever the recording file then
// holds.
bool TWordsGrid::StoreRecordings(int first, int count)
{
    try {
        for (int index = first; index < first + count; ++index)
            WordList->StoreRecordedSound(index);
    } catch (const std::exception &error) {
        ShowError(error);
        return false;
    }
    return true;
}

// The words and the sound go as the list's own payloads, text as plain text. Nothing to copy
// leaves the clipboard as it was.
bool TWordsGrid::Copy()
{
    if (!WordList)
        return false;
    std::unique_ptr<QBuffer> stream;
    const char *format = nullptr;
    try {
        StoreCurrentRecording();
        switch (SelectionMode()) {
        case TSelectionMode::Rows: {
            const int last = std::min(Selection().Bottom, GetWordCount()) - 1;
            stream = WordList->CopyToStream(Selection().Top - 1, last);
            format = WordsClipboardFormat;
            break;
        }
        case TSelectionMode::EditorText:
            // The part of speech goes whole, whatever part of it is selected; the text replaces
            // everything the clipboard held.
            if (ColumnKind(Col()) == ckPartOfSpeech)
                QGuiApplication::clipboard()->setText(PartOfSpeechCombo->currentText());
            else
                TextEditorOfKind(ColumnKind(Col()))->copy();
            return true;
        case TSelectionMode::Sound:
            stream = WordList->CopySoundToStream(Row() - 1);
            format = SoundClipboardFormat;
            break;
        case TSelectionMode::Nothing:
            return true;
        }
    } catch (const std::exception &error) {
        ShowError(error);
        return false;
    }
    auto data = std::make_unique<QMimeData>();
    data->setData(QLatin1String(format), stream->data());
    QGuiApplication::clipboard()->setMimeData(data.release());
    return true;
}

// What could not be copied is not deleted.
void TWordsGrid::Cut()
{
    if (!WordList)
        return;
    const uint8_t kind = ColumnKind(std::max(0, Col()));
    if (SelectionMode() == TSelectionMode::EditorText && kind != ckPartOfSpeech) {
        TextEditorOfKind(kind)->cut();
        return;
    }
    if (Copy())
        DeleteSelection();
}

void TWordsGrid::Paste()
{
    if (!WordList || Busy)
        return;
    const bool fromSoundCell = InSoundCell();
    if (fromSoundCell)
        EndEdit();
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    const QLatin1String words(WordsClipboardFormat);
    const QLatin1String sound(SoundClipboardFormat);
    if (data && data->hasFormat(words) && CanInsert()) {
        if (PasteWords(data->data(words)) > 0)
            return;
    } else if (data && data->hasFormat(sound) && CellOnWord()) {
        PasteSound(data->data(sound));
        return;
    } else {
        PasteText();
    }
    if (fromSoundCell)
        SelectCellAt(ColumnOfKind(ckSound), Row());
}

// The rows below move down, so an editor left open would show and change another word: the
// pasted rows are selected with the editors closed.
int TWordsGrid::PasteWords(const QByteArray &block)
{
    const int index = std::clamp((RowSelection ? Selection().Top : Row()) - 1, 0, GetWordCount());
    QBuffer stream;
    stream.setData(block);
    stream.open(QIODevice::ReadOnly);
    int count = 0;
    try {
        count = WordList->PasteFromStream(stream, index);
    } catch (const std::exception &error) {
        ShowError(error);
        return 0;
    }
    if (count <= 0)
        return 0;
    EndEdit();
    StoreUndo(TUndoKind::Insert, index + 1, count);
    SetRowCount(RowCount() + count);
    SelectRowRange(index + 1, index + count, true);
    InvalidateGrid();
    SendToTarget(WM_WORDCOUNTCHANGED, 0);
    return count;
}

// A sound that could not be stored changes nothing, not even the undo record.
void TWordsGrid::PasteSound(const QByteArray &block)
{
    const int row = Row();
    std::vector<TUndoEntry> old;
    if (const TSoundRec *sound = WordList->GetSound(row - 1))
        old.emplace_back(*sound);
    const int count = static_cast<int>(old.size());
    QBuffer stream;
    stream.setData(block);
    stream.open(QIODevice::ReadOnly);
    try {
        WordList->PasteSoundFromStream(stream, row - 1);
        StoreUndo(TUndoKind::SoundChange, row, count, std::move(old));
    } catch (const std::exception &error) {
        ShowError(error);
    }
    InvalidateGrid();
    SelectCellAt(ColumnOfKind(ckSound), row);
}

void TWordsGrid::PasteText()
{
    if (!InTextCell())
        return;
    const uint8_t kind = ColumnKind(Col());
    QLineEdit *edit = OpenLineEdit();
    if (!edit)
        return;
    ClearUndo();
    // The part of speech takes the text in place of its selection; its change handling follows.
    if (kind == ckPartOfSpeech)
        edit->insert(QGuiApplication::clipboard()->text());
    else
        edit->paste();
}

void TWordsGrid::DeleteSelection()
{
    switch (SelectionMode()) {
    case TSelectionMode::Rows:
        DeleteSelectedRows();
        break;
    case TSelectionMode::EditorText:
        ClearUndo();
        if (ColumnKind(Col()) == ckPartOfSpeech)
            SuppressAutoComplete = true;
        OpenLineEdit()->del();
        break;
    case TSelectionMode::Sound: {
        EndEdit();
        const int index = Row() - 1;
        std::vector<TUndoEntry> old;
        old.emplace_back(*WordList->GetSound(index));
        StoreUndo(TUndoKind::DeleteSound, Row(), 1, std::move(old));
        WordList->SetSound(index, 0, 0);
        SelectCellAt(ColumnOfKind(ckSound), index + 1);
        InvalidateGrid();
        break;
    }
    case TSelectionMode::Nothing:
        break;
    }
}

void TWordsGrid::DeleteSelectedRows()
{
    const TGridRect selection = Selection();
    const int first = selection.Top - 1;
    const int last = std::min(selection.Bottom - 1, GetWordCount() - 1);
    if (first < 0 || last < first)
        return;
    const int count = last - first + 1;
    if (!StoreRecordings(first, count))
        return;
    EndEdit();
    std::vector<TUndoEntry> removed;
    removed.reserve(static_cast<size_t>(count));
    for (std::unique_ptr<TWord> &word : WordList->DeleteRange(first, count))
        removed.emplace_back(std::move(word));
    StoreUndo(TUndoKind::DeleteWords, first + 1, count, std::move(removed));
    SetRowCount(RowCount() - count);
    SetLeftCol(FixedCols());
    const int words = GetWordCount();
    if (UndoFirst > 1 && UndoFirst > words)
        SelectRows(words, false, true);
    else if (UndoFirst <= words)
        SelectRows(UndoFirst, false, true);
    else
        SelectCellAt(1, 1);
    InvalidateGrid();
    SendToTarget(WM_WORDCOUNTCHANGED, 0);
}

void TWordsGrid::SelectAll()
{
    if (!WordList)
        return;
    if (InTextCell()) {
        QLineEdit *editor = OpenLineEdit();
        if (editor && editor->isVisible() && editor->selectedText() != editor->text()) {
            editor->selectAll();
            return;
        }
    }
    if (GetWordCount() > 0)
        SelectRowRange(1, GetWordCount(), false);
}

void TWordsGrid::InsertRow()
{
    if (!CanInsert())
        return;
    if (ColumnKind(Col()) == ckSound)
        EndEdit();
    const int index = std::clamp((RowSelection ? Selection().Top : Row()) - 1, 0, GetWordCount());
    WordList->InsertEmpty(index);
    SetRowCount(RowCount() + 1);
    InvalidateGrid();
    SendToTarget(WM_WORDCOUNTCHANGED, 0);
    SelectCellAt(ColumnOfKind(ckForWord), index + 1);
    StoreUndo(TUndoKind::Insert, index + 1, 1);
}

void TWordsGrid::SetLesson(const std::string &lesson)
{
    if (!CanSetExercise())
        return;
    const auto [first, last] = TargetRows();
    std::vector<TUndoEntry> old;
    for (int row = first; row <= last; ++row) {
        old.emplace_back(TOldLesson{WordList->Word(row - 1).Lesson});
        WordList->SetLesson(row - 1, lesson);
    }
    StoreUndo(TUndoKind::Lesson, first, last - first + 1, std::move(old));
    InvalidateGrid();
}

void TWordsGrid::SetLevels(bool setDir1, bool setDir2, uint8_t level1, uint8_t level2)
{
    if ((!setDir1 && !setDir2) || !CanSetExercise())
        return;
    const auto [first, last] = TargetRows();
    std::vector<TUndoEntry> old;
    for (int row = first; row <= last; ++row) {
        const TWord &word = WordList->Word(row - 1);
        old.emplace_back(TOldLevel{word.Level1, word.Level2});
        if (setDir1)
            WordList->SetLevel1(row - 1, level1);
        if (setDir2)
            WordList->SetLevel2(row - 1, level2);
    }
    StoreUndo(TUndoKind::Levels, first, last - first + 1, std::move(old));
    InvalidateGrid();
}

void TWordsGrid::ResetScores()
{
    if (!CanSetExercise())
        return;
    const auto [first, last] = TargetRows();
    std::vector<TUndoEntry> old;
    for (int row = first; row <= last; ++row) {
        const TWord &word = WordList->Word(row - 1);
        old.emplace_back(TOldScore{word.Score1, word.Score2, word.Count1, word.Count2,
                                   word.History1, word.History2});
        WordList->SetScore1(row - 1, 0);
        WordList->SetScore2(row - 1, 0);
        WordList->SetCount1(row - 1, 0);
        WordList->SetCount2(row - 1, 0);
        WordList->SetHistory1(row - 1, 0);
        WordList->SetHistory2(row - 1, 0);
    }
    StoreUndo(TUndoKind::ScoreReset, first, last - first + 1, std::move(old));
    InvalidateGrid();
}
