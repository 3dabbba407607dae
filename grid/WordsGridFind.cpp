#include "grid/WordsGrid.h"

#include "core/Texts.h"
#include "core/Unit_LanguagePack.h"
#include "core/Unit_Warnings.h"
#include "platform/Beep.h"
#include "platform/CodePage.h"

#include <algorithm>

// Find and replace in one text column, for the find window and the main window's Find next.
// The list's texts are bytes; an editor shows characters, so positions are counted in bytes for
// the search and in characters for the editor's selection.

namespace {

uint8_t KindOfColumn(uint8_t column)
{
    return static_cast<uint8_t>(column + ckForWord);
}

// The 1-based byte position in front of the character at index chars of the text.
int BytePosition(const QString &text, qsizetype chars, int codePage)
{
    std::string bytes;
    if (!CodePage::FromUnicode(text.left(chars), codePage, bytes))
        return 1;
    return static_cast<int>(bytes.size()) + 1;
}

// Case is ignored as the search ignores it: character by character, in the code page.
bool SameIgnoringCase(const QString &text, const std::string &wanted, int codePage)
{
    std::string bytes;
    return CodePage::FromUnicode(text, codePage, bytes)
            && CodePage::UpperCase(bytes, codePage) == CodePage::UpperCase(wanted, codePage);
}

} // namespace

int TWordsGrid::SearchCodePage(uint8_t column) const
{
    return KindCodePage(KindOfColumn(column));
}

void TWordsGrid::PrepareTargetRows()
{
    if (RowSelection) {
        TargetFirst = Selection().Top;
        TargetLast = Selection().Bottom;
    } else {
        TargetFirst = CanInsert() ? Row() : 1;
        TargetLast = GetWordCount();
    }
}

// The list may have lost words since the find window fixed its rows.
void TWordsGrid::ClampTargetRows(int &first, int &last) const
{
    first = std::max(TargetFirst, 1);
    last = std::min(TargetLast, GetWordCount());
}

void TWordsGrid::FindNext(uint8_t column, uint8_t mode, bool replace, bool inSelection,
                          const std::string &findText, const std::string &replaceText)
{
    if (!WordList || Busy || column > FindLesson)
        return;
    const uint8_t kind = KindOfColumn(column);
    const int codePage = KindCodePage(kind);
    int first = 0;
    int last = 0;
    ClampTargetRows(first, last);
    if (inSelection && first > last) {
        PlatformBeep(TBeepKind::Default);
        return;
    }
    TFindResult start{0, 1};
    QLineEdit *edit = OpenLineEdit();
    // An editor hidden without a change of cell still holds the cell's text and the last match;
    // one whose word has changed since holds nothing to go on from.
    const bool fromEditor
            = edit && (!edit->isHidden() || edit->text() == KindText(Row() - 1, kind));
    if (CanInsert() && !RowSelection && ColumnKind(Col()) == kind && fromEditor) {
        // On from the editor's selection: past the start of a selected match, which Replace
        // first replaces; the search then goes on after the replacement, never inside it.
        start.Row = Row() - 1;
        qsizetype next = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
        if (SameIgnoringCase(edit->selectedText(), findText, codePage)) {
            ++next;
            if (replace && ReplaceSelectedMatch(*edit, kind, replaceText))
                next = edit->cursorPosition();
        }
        start.Pos = BytePosition(edit->text(), next, codePage);
    } else if (CanInsert()) {
        start = {Selection().Top - 1, 1};
    }
    const TFindResult hit = WordList->Find(start, column, mode, findText);
    if (hit.Row < 0 || (inSelection && hit.Row >= last)) {
        PlatformBeep(TBeepKind::Default);
        return;
    }
    SelectMatch(kind, hit, findText.size());
}

// The list takes the new text from the editor's change, which also clears the undo record: the
// record of the replacement is stored after it.
bool TWordsGrid::ReplaceSelectedMatch(QLineEdit &edit, uint8_t kind, const std::string &replaceText)
{
    const int index = Row() - 1;
    const int codePage = KindCodePage(kind);
    const QString replacement = DecodeText(replaceText, codePage);
    QString text = edit.text();
    text.replace(edit.selectionStart(), edit.selectedText().length(), replacement);
    std::string bytes;
    if (kind == ckPartOfSpeech || index >= GetWordCount()
        || !CodePage::FromUnicode(text, codePage, bytes) || TextTooLong(kind, bytes)) {
        PlatformBeep(TBeepKind::Default);
        return false;
    }
    std::vector<TUndoEntry> old;
    old.emplace_back(TOldReplace{kind, index, *WordText(WordList->Word(index), kind)});
    edit.insert(replacement);
    StoreUndo(TUndoKind::Replace, Row(), 1, std::move(old));
    return true;
}

void TWordsGrid::SelectMatch(uint8_t kind, TFindResult hit, size_t length)
{
    SelectCellAt(ColumnOfKind(kind), hit.Row + 1);
    QLineEdit *edit = OpenLineEdit();
    if (!edit || edit->isHidden())
        return;
    const std::string &field = *WordText(WordList->Word(hit.Row), kind);
    const auto at = static_cast<size_t>(hit.Pos - 1);
    const int codePage = KindCodePage(kind);
    const auto from = static_cast<int>(DecodeText(field.substr(0, at), codePage).length());
    const auto chars = static_cast<int>(DecodeText(field.substr(at, length), codePage).length());
    edit->setSelection(from, chars);
}

// Every occurrence in the rows, each replaced once: the search goes on after a replacement, or
// after an occurrence that would have grown too long, so that no text can make it run forever.
// Equals and begins with match only at a text's start, so they go on with the next row.
void TWordsGrid::ReplaceAll(uint8_t column, uint8_t mode, const std::string &findText,
                            const std::string &replaceText)
{
    if (!WordList || Busy || column > FindLesson)
        return;
    int first = 0;
    int last = 0;
    ClampTargetRows(first, last);
    if (findText.empty() || first > last) {
        PlatformBeep(TBeepKind::Default);
        return;
    }
    // A word's old text goes into the undo record the first time the word changes, and its new
    // text takes its place without another copy.
    const uint8_t kind = KindOfColumn(column);
    std::vector<TUndoEntry> old;
    old.reserve(static_cast<size_t>(last - first + 1));
    int recorded = -1;
    bool failed = false;
    TFindResult position{first - 1, 1};
    for (;;) {
        const TFindResult hit = WordList->Find(position, column, mode, findText);
        if (hit.Row < 0 || hit.Row >= last)
            break;
        std::string &current = *WordText(WordList->Word(hit.Row), kind);
        // Made at its final size: a copy grown by the replacement would take two allocations.
        const auto at = static_cast<size_t>(hit.Pos - 1);
        std::string text;
        text.reserve(current.size() - findText.size() + replaceText.size());
        text.append(current, 0, at).append(replaceText).append(current, at + findText.size());
        const bool fits = !TextTooLong(kind, text);
        if (fits) {
            if (hit.Row != recorded)
                old.emplace_back(TOldReplace{kind, hit.Row, std::move(current)});
            recorded = hit.Row;
            SetTextOfKind(hit.Row, kind, std::move(text));
        } else {
            failed = true;
        }
        const size_t skipped = fits ? replaceText.size() : findText.size();
        position = mode == FindContains ? TFindResult{hit.Row, hit.Pos + static_cast<int>(skipped)}
                                        : TFindResult{hit.Row + 1, 1};
    }
    // The room was taken for a change in every row; the record keeps only what it holds.
    old.shrink_to_fit();
    StoreUndo(TUndoKind::Replace, first, last - first + 1, std::move(old));
    InvalidateGrid();
    if (InTextCell())
        SelectCellAt(Col(), Row());
    if (failed)
        ShowWarning(LanguageText(TEntry::NotAllReplaced));
}
