#include "grid/WordsGrid.h"

#include "core/PrivateMessages.h"
#include "core/Texts.h"
#include "core/Unit_Constraints.h"
#include "core/Unit_GlobalSettings.h"
#include "platform/CodePage.h"

#include <algorithm>

// Selection and the in-place controls: which cell opens which control, where it stands, and
// how a change made in it is stored.

bool TWordsGrid::SelectCell(int col, int row)
{
    if (Busy || !WordList)
        return false;
    EndEdit();
    if (IsEditableCell(col, row)) {
        SetOptions(Options() & ~(goRangeSelect | goRowSelect));
        ScrollIntoView(col, row);
        OpenControl(col, row);
        EditCol = col;
        EditRow = row;
    } else if (!(ColumnKind(col) != ckRowHeader && row >= 1 && row <= GetWordCount()
                 && RowSelection)) {
        EditCol = col;
        EditRow = row;
        RowSelection = false;
        SetOptions(Options() & ~(goRangeSelect | goRowSelect));
    }
    return true;
}

void TWordsGrid::SelectCellAt(int col, int row)
{
    if (Busy)
        return;
    RowSelection = false;
    SetOptions(Options() & ~(goRangeSelect | goRowSelect));
    SetSelection({col, row, col, row});
    SelectCell(col, row);
}

void TWordsGrid::SelectRows(int row, bool extend, bool scroll)
{
    if (Busy || row < FixedRows() || row >= RowCount())
        return;
    auto scrollTo = [this, scroll, row] {
        if (!scroll)
            return;
        if (row < TopRow())
            SetTopRow(row);
        if (row > TopRow() + VisibleRowCount() - 1)
            SetTopRow(row - VisibleRowCount() + 1);
    };
    if (extend) {
        const TGridRect current = Selection();
        SetSelection({current.Left, RowAnchor, current.Right, row});
        scrollTo();
    } else {
        if (!RowSelection && Row() > GetWordCount())
            FocusCell(1, std::max(1, GetWordCount()), true);
        scrollTo();
        RowSelection = true;
        SetOptions(Options() | goRangeSelect | goRowSelect);
        SetSelection({1, row, ColCount() - 1, row});
        RowAnchor = row;
    }
    // An editor left open over selected rows would take their keys, and after the rows change
    // it would show and store into whatever word moved under it: the grid takes the keys.
    if (OpenControlWidget())
        EndEdit();
}

void TWordsGrid::SelectRowRange(int first, int last, bool scroll)
{
    SelectRows(first, false, scroll);
    SelectRows(last, true, scroll);
}

bool TWordsGrid::IsEditableCell(int col, int row) const
{
    if (RowSelection || col < 0 || col >= ColCount())
        return false;
    const uint8_t kind = ColumnKind(col);
    if (kind == ckForWord || kind == ckRefWord)
        return row >= 1;
    return kind >= ckContext && kind <= ckLevel2 && row >= 1 && row <= GetWordCount();
}

// A column that cannot show itself whole still counts as one, so the loop always ends.
void TWordsGrid::ScrollIntoView(int col, int row)
{
    if (row < TopRow())
        SetTopRow(row);
    if (row > TopRow() + VisibleRowCount() - 1)
        SetTopRow(row - VisibleRowCount() + 1);
    if (col < LeftCol())
        SetLeftCol(col);
    while (col > LeftCol() + std::max(1, VisibleColCount()) - 1) {
        const int before = LeftCol();
        SetLeftCol(before + 1);
        if (LeftCol() == before)
            break;
    }
}

bool TWordsGrid::InTextCell() const
{
    if (!WordList || RowSelection || Col() < 0 || Row() < 1)
        return false;
    const uint8_t kind = ColumnKind(Col());
    if (kind == ckForWord || kind == ckRefWord)
        return true;
    return IsTextKind(kind) && Row() <= GetWordCount();
}

bool TWordsGrid::InSoundCell() const
{
    return WordList && Col() >= 0 && ColumnKind(Col()) == ckSound && Row() >= 1
            && Row() <= GetWordCount();
}

bool TWordsGrid::EditorActive() const
{
    if (InTextCell() || InSoundCell())
        return true;
    if (!WordList || Col() < 0)
        return false;
    const uint8_t kind = ColumnKind(Col());
    return (kind == ckLevel1 || kind == ckLevel2) && Row() >= 1 && Row() <= GetWordCount();
}

void TWordsGrid::EndEdit()
{
    StopSoundPlayer();
    if (Busy || !isVisible())
        return;
    setFocus();
    for (QWidget *control :
         std::initializer_list<QWidget *>{ForWordEdit, RefWordEdit, ContextEdit, PartOfSpeechCombo,
                                          LessonEdit, SoundPanel, LevelCombo})
        if (control)
            control->hide();
}

void TWordsGrid::SetForWordEdit(TKBAwareEdit *edit)
{
    ForWordEdit = edit;
    BindEdit(edit, ckForWord);
}

void TWordsGrid::SetRefWordEdit(TKBAwareEdit *edit)
{
    RefWordEdit = edit;
    BindEdit(edit, ckRefWord);
}

void TWordsGrid::SetContextEdit(TKBAwareEdit *edit)
{
    ContextEdit = edit;
    BindEdit(edit, ckContext);
}

void TWordsGrid::SetLessonEdit(TKBAwareEdit *edit)
{
    LessonEdit = edit;
    BindEdit(edit, ckLesson);
}

void TWordsGrid::SetPartOfSpeechCombo(TKBAwareComboBox *combo)
{
    PartOfSpeechCombo = combo;
    if (!combo)
        return;
    BindControl(combo, ColWidth(ColumnOfKind(ckPartOfSpeech)));
    combo->resize(combo->width(), PartOfSpeechHeight);
    combo->OnKeyDown = [this](QKeyEvent &event) { return EditorKeyDown(event); };
    if (QLineEdit *edit = combo->lineEdit())
        edit->installEventFilter(this);
    connect(combo, &QComboBox::editTextChanged, this, [this] { PartOfSpeechChanged(); });
}

void TWordsGrid::SetLevelCombo(TKBAwareComboBox *combo)
{
    LevelCombo = combo;
    if (!combo)
        return;
    BindControl(combo, LevelWidth);
    combo->OnKeyDown = [this](QKeyEvent &event) { return EditorKeyDown(event); };
    connect(combo, &QComboBox::activated, this, [this](int index) { LevelChanged(index); });
}

void TWordsGrid::SetSoundPanel(QWidget *panel)
{
    SoundPanel = panel;
    if (panel)
        BindControl(panel, SoundWidth);
}

// The controls live in the viewport, so they clip and scroll with their cell.
void TWordsGrid::BindControl(QWidget *control, int width)
{
    control->setParent(viewport());
    control->resize(width, DefaultRowHeight());
    control->installEventFilter(this);
    control->hide();
}

void TWordsGrid::BindEdit(TKBAwareEdit *edit, uint8_t kind)
{
    if (!edit)
        return;
    BindControl(edit, ColWidth(ColumnOfKind(kind)) - 2);
    edit->OnKeyDown = [this](QKeyEvent &event) { return EditorKeyDown(event); };
    connect(edit, &QLineEdit::textChanged, this, [this, kind] { EditorTextChanged(kind); });
}

TKBAwareEdit *TWordsGrid::TextEditorOfKind(uint8_t kind) const
{
    switch (kind) {
    case ckForWord:
        return ForWordEdit;
    case ckRefWord:
        return RefWordEdit;
    case ckContext:
        return ContextEdit;
    case ckLesson:
        return LessonEdit;
    default:
        return nullptr;
    }
}

QLineEdit *TWordsGrid::OpenLineEdit() const
{
    if (Col() < 0)
        return nullptr;
    const uint8_t kind = ColumnKind(Col());
    if (kind == ckPartOfSpeech)
        return PartOfSpeechCombo ? PartOfSpeechCombo->lineEdit() : nullptr;
    return TextEditorOfKind(kind);
}

int TWordsGrid::KindCodePage(uint8_t kind) const
{
    return kind >= ckForWord && kind <= ckLesson ? KindFonts[kind].CodePage : CodePage::Default;
}

QString TWordsGrid::KindText(int index, uint8_t kind) const
{
    if (index < 0 || index >= GetWordCount())
        return {};
    const std::string *text = WordText(WordList->Word(index), kind);
    return text ? DecodeText(*text, KindCodePage(kind)) : QString();
}

void TWordsGrid::FillEdit(QLineEdit &edit, const QString &text)
{
    Filling = true;
    edit.setText(text);
    Filling = false;
}

void TWordsGrid::OpenControl(int col, int row)
{
    const uint8_t kind = ColumnKind(col);
    QWidget *control = nullptr;
    switch (kind) {
    case ckForWord:
    case ckRefWord:
    case ckContext:
    case ckLesson:
        if (TKBAwareEdit *edit = TextEditorOfKind(kind)) {
            FillEdit(*edit, KindText(row - 1, kind));
            edit->selectAll();
            control = edit;
        }
        break;
    case ckPartOfSpeech:
        if (PartOfSpeechCombo) {
            Filling = true;
            PartOfSpeechCombo->setEditText(KindText(row - 1, kind));
            Filling = false;
            if (QLineEdit *edit = PartOfSpeechCombo->lineEdit())
                edit->selectAll();
            control = PartOfSpeechCombo;
        }
        break;
    case ckSound:
        SoundPanelEnter(row);
        control = SoundPanel;
        break;
    case ckLevel1:
    case ckLevel2:
        if (LevelCombo) {
            const TWord &word = WordList->Word(row - 1);
            Filling = true;
            LevelCombo->setCurrentIndex(kind == ckLevel1 ? word.Level1 : word.Level2);
            Filling = false;
            control = LevelCombo;
        }
        break;
    default:
        break;
    }
    if (!control)
        return;
    PlaceControl(*control, col, row);
    control->show();
    control->setFocus();
}

QWidget *TWordsGrid::OpenControlWidget() const
{
    for (QWidget *control :
         std::initializer_list<QWidget *>{ForWordEdit, RefWordEdit, ContextEdit, PartOfSpeechCombo,
                                          LessonEdit, SoundPanel, LevelCombo})
        if (control && control->isVisible())
            return control;
    return nullptr;
}

// Viewport coordinates: the text of an editor stands where the cell draws it.
void TWordsGrid::PlaceControl(QWidget &control, int col, int row)
{
    const QRect cell = CellRect(col, row);
    const bool visible = row >= TopRow() && row < TopRow() + VisibleRowCount() && !cell.isEmpty();
    const int d = DefaultRowHeight();
    const int h = control.height();
    if (!visible) {
        // Scrolled out of view, the control keeps the focus but shows nothing.
        control.move(control.x(), -h - 1);
        return;
    }
    if (&control == PartOfSpeechCombo.data()) {
        control.setGeometry(cell.left(), cell.top() + (d - h) / 2, ColWidth(col), h);
    } else if (&control == SoundPanel.data()) {
        control.setGeometry(cell.left(), cell.top(), ColWidth(col), control.height());
    } else if (&control == LevelCombo.data()) {
        control.move(cell.left(), cell.top() + (d - h) / 2);
    } else {
        control.setGeometry(cell.left() + 2, cell.top() + 2 + (d - h) / 2, ColWidth(col) - 2, h);
    }
}

void TWordsGrid::PlaceOpenControl()
{
    if (QWidget *control = OpenControlWidget())
        PlaceControl(*control, EditCol, EditRow);
}

void TWordsGrid::TopLeftChanged()
{
    PlaceOpenControl();
}

void TWordsGrid::ColWidthsChanged()
{
    PlaceOpenControl();
}

// The typed text is stored at once; a text that is too long, or that the field's code page
// cannot hold (pasted), is refused and the stored text shows again.
void TWordsGrid::EditorTextChanged(uint8_t kind)
{
    TKBAwareEdit *edit = TextEditorOfKind(kind);
    if (Filling || !WordList || !edit || EditRow < 1 || ColumnKind(EditCol) != kind)
        return;
    const int count = GetWordCount();
    const bool appendRow = EditRow > count;
    if (appendRow && kind != ckForWord && kind != ckRefWord)
        return;
    std::string text;
    const bool encoded = CodePage::FromUnicode(edit->text(), KindCodePage(kind), text);
    if (!encoded || TextTooLong(kind, text)) {
        FillEdit(*edit, appendRow ? QString() : KindText(EditRow - 1, kind));
        return;
    }
    ClearUndo();
    if (appendRow) {
        if (text.empty())
            return;
        WordList->Add(kind == ckForWord ? std::make_unique<TWord>(text, "", "")
                                        : std::make_unique<TWord>("", text, ""));
        SetRowCount(RowCount() + 1);
        InvalidateRow(EditRow);
        SendToTarget(WM_WORDCOUNTCHANGED, 0);
        return;
    }
    std::string stored;
    (void)CodePage::FromUnicode(KindText(EditRow - 1, kind), KindCodePage(kind), stored);
    if (text != stored) {
        SetTextOfKind(EditRow - 1, kind, text);
        InvalidateCell(EditCol, EditRow);
    }
}

void TWordsGrid::PartOfSpeechChanged()
{
    TKBAwareComboBox *combo = PartOfSpeechCombo;
    if (Filling || !WordList || !combo || ColumnKind(EditCol) != ckPartOfSpeech || EditRow < 1
        || EditRow > GetWordCount())
        return;
    const int index = EditRow - 1;
    QLineEdit *edit = combo->lineEdit();
    const QString typed = combo->currentText();
    std::string text;
    if (!CodePage::FromUnicode(typed, CodePage::Default, text) || PartOfSpeechTooLong(text)) {
        Filling = true;
        combo->setEditText(KindText(index, ckPartOfSpeech));
        Filling = false;
        SuppressAutoComplete = false;
        return;
    }
    const std::string stored = WordList->GetPartOfSpeech(index);
    if (text != stored) {
        // A record of another row is no use here: each row's change can be taken back.
        if (UndoKind != TUndoKind::PartOfSpeech || UndoFirst != EditRow) {
            std::vector<TUndoEntry> entries;
            entries.emplace_back(TOldPartOfSpeech{stored});
            StoreUndo(TUndoKind::PartOfSpeech, EditRow, 1, std::move(entries));
        }
        const int caret = edit
                ? (edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition())
                : 0;
        if (EditOptions.AutoComplete && !SuppressAutoComplete && !typed.isEmpty() && edit
            && caret == typed.length()) {
            for (int item = 0; item < combo->count(); ++item) {
                const QString candidate = combo->itemText(item);
                if (!candidate.startsWith(typed, Qt::CaseSensitive))
                    continue;
                Filling = true;
                combo->setCurrentIndex(item);
                combo->setEditText(candidate);
                // Selected from the typed part on, so that the caret ends after the completion
                // and the next key replaces it.
                edit->setSelection(static_cast<int>(typed.length()),
                                   static_cast<int>(candidate.length() - typed.length()));
                Filling = false;
                text.clear();
                (void)CodePage::FromUnicode(candidate, CodePage::Default, text);
                break;
            }
        }
        WordList->SetPartOfSpeech(index, text);
        InvalidateCell(EditCol, EditRow);
    }
    SuppressAutoComplete = false;
}

void TWordsGrid::LevelChanged(int index)
{
    if (Filling || !WordList || index < 0 || index > 3)
        return;
    const int row = Selection().Top;
    const uint8_t kind = ColumnKind(Col());
    if (row < 1 || row > GetWordCount() || (kind != ckLevel1 && kind != ckLevel2))
        return;
    const TWord &word = WordList->Word(row - 1);
    std::vector<TUndoEntry> entries;
    entries.emplace_back(TOldLevel{word.Level1, word.Level2});
    StoreUndo(TUndoKind::Levels, row, 1, std::move(entries));
    if (kind == ckLevel1)
        WordList->SetLevel1(row - 1, static_cast<uint8_t>(index));
    else
        WordList->SetLevel2(row - 1, static_cast<uint8_t>(index));
    InvalidateCell(Col(), row);
    InvalidateCell(ColumnOfKind(ckScore), row);
}

// Only a move to another control of the main window closes the editor: a modal or modeless
// window, a context menu or a combo's list leave it open, as it was.
void TWordsGrid::EditorExit(QWidget *old, QWidget *now)
{
    if (!old || !now || now->window() != window())
        return;
    for (QWidget *control :
         std::initializer_list<QWidget *>{ForWordEdit, RefWordEdit, ContextEdit, PartOfSpeechCombo,
                                          LessonEdit, SoundPanel, LevelCombo}) {
        if (!control || (old != control && !control->isAncestorOf(old)))
            continue;
        if (now != control && !control->isAncestorOf(now))
            control->hide();
    }
}
