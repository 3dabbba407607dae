#include "mainwindow/WordsGrid.h"

#include "core/BusyCursor.h"
#include "core/PrivateMessages.h"
#include "core/Texts.h"
#include "core/Unit_Constants.h"
#include "core/Unit_Constraints.h"
#include "core/Unit_FilesThread.h"
#include "core/Unit_GlobalSettings.h"
#include "core/Unit_LanguagePack.h"
#include "core/Unit_ThreadInterchange.h"
#include "core/Unit_Warnings.h"
#include "platform/CodePage.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <algorithm>
#include <exception>

namespace {

constexpr int RowHeaderWidth = 25;
constexpr int SoundWidth = 70;
constexpr int LevelWidth = 60;
constexpr int ScoreWidth = 60;
constexpr int PartOfSpeechComboHeight = 21;
constexpr int LessonEditHeight = 18;
constexpr int MinTextWidth = 8;
constexpr int MaxTextWidth = 4000;
constexpr int MaxRecentScore = 5;

// The widths the main window's description gives the ten columns before the settings apply.
constexpr std::array<int, TWordsGrid::ColumnCount> DescriptionWidths{25, 150, 150, 150, 40,
                                                                     70, 70,  60,  60,  60};

const QColor LevelGrey(128, 128, 128);
const QColor BarRed(255, 102, 102);
const QColor BarGreen(115, 230, 115);
const QColor MarkBlack(0, 0, 0);

bool IsTextKind(int kind)
{
    return kind >= ckForWord && kind <= ckLesson;
}

// The first three characters of a language name, as the level headers show it.
std::string Abbreviation(const std::string &language)
{
    return language.substr(0, 3);
}

// Rectangle outline with exclusive right and bottom edges, in the current pen and brush.
void OutlineRect(QPainter &painter, int left, int top, int right, int bottom)
{
    painter.drawRect(left, top, right - left - 1, bottom - top - 1);
}

// Vertical line whose end point is left out.
void VerticalLine(QPainter &painter, int x, int top, int bottom, const QColor &color)
{
    if (bottom <= top)
        return;
    painter.setPen(color);
    painter.drawLine(x, top, x, bottom - 1);
}

// Where the progress mark of a direction stands: how far its score is through the right answers
// its level needs. A level without a threshold (only in damaged data) puts it at the end.
int MarkX(int left, int width, int level, int score)
{
    const int threshold = LevelThreshold(level);
    if (threshold <= 0)
        return left + 4 + (width - 1);
    return left + 4 + (width - 1) * std::clamp(score, 0, threshold) / threshold;
}

} // namespace

TWordsGrid::TWordsGrid(QWidget *parent)
    : CellGrid(parent)
    , MeasureEdit(std::make_unique<QLineEdit>())
{
    setObjectName(QStringLiteral("WordsGrid"));
    setVisible(false);
    SetColCount(ColumnCount);
    SetRowCount(2);
    SetDefaultRowHeight(HeaderRowHeight);
    SetOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goColSizing
               | goRowMoving | goColMoving | goThumbTracking);
    for (int col = 0; col < ColumnCount; ++col) {
        const auto kind = static_cast<uint8_t>(col);
        Columns[static_cast<size_t>(col)] = {kind, !IsTextKind(kind)};
        SetColWidth(col, DescriptionWidths[static_cast<size_t>(col)]);
    }
    MeasureEdit->setFrame(false);
    ApplyFonts();
    FocusConnection = connect(qApp, &QApplication::focusChanged, this,
                              [this](QWidget *old, QWidget *now) { EditorExit(old, now); });
}

// The editors go with the viewport after this body; their focus changes must not reach the grid.
TWordsGrid::~TWordsGrid()
{
    disconnect(FocusConnection);
}

void TWordsGrid::SendToTarget(int message, intptr_t wParam)
{
    SendPrivateMessage(MessageTarget, message, wParam, 0);
}

void TWordsGrid::SetWordList(std::unique_ptr<TWordList> list)
{
    EndEdit();
    hide();
    ClearUndo();
    WordList = std::move(list);
    show();
    SetRowCount(GetWordCount() + 2);
    SendToTarget(WM_WORDCOUNTCHANGED, 0);
    ApplyFonts();
    SetTopRow(FixedRows());
    SetLeftCol(FixedCols());
    SelectCellAt(1, 1);
}

std::string TWordsGrid::GetListName() const
{
    return WordList ? WordList->GetListName() : std::string();
}

std::string TWordsGrid::GetFileName() const
{
    return WordList ? WordList->FileName : std::string();
}

std::string TWordsGrid::GetForLanguage() const
{
    return WordList ? WordList->ForLanguage : std::string();
}

void TWordsGrid::SetForLanguage(const std::string &language)
{
    if (!WordList)
        return;
    WordList->SetForLanguage(language);
    InvalidateGrid();
}

std::string TWordsGrid::GetRefLanguage() const
{
    return WordList ? WordList->RefLanguage : std::string();
}

void TWordsGrid::SetRefLanguage(const std::string &language)
{
    if (!WordList)
        return;
    WordList->SetRefLanguage(language);
    InvalidateGrid();
}

const TListFont *TWordsGrid::GetForFont() const
{
    return WordList ? WordList->ForFont.get() : nullptr;
}

void TWordsGrid::SetForFont(std::unique_ptr<TListFont> font)
{
    if (!WordList)
        return;
    WordList->SetForFont(std::move(font));
    ApplyFonts();
}

const TListFont *TWordsGrid::GetRefFont() const
{
    return WordList ? WordList->RefFont.get() : nullptr;
}

void TWordsGrid::SetRefFont(std::unique_ptr<TListFont> font)
{
    if (!WordList)
        return;
    WordList->SetRefFont(std::move(font));
    ApplyFonts();
}

int TWordsGrid::GetWordCount() const
{
    return WordList ? WordList->Count() : 0;
}

bool TWordsGrid::GetSaved() const
{
    return WordList && WordList->Saved;
}

const std::string *TWordsGrid::WordText(const TWord &word, uint8_t kind)
{
    switch (kind) {
    case ckForWord:
        return &word.ForWord;
    case ckRefWord:
        return &word.RefWord;
    case ckContext:
        return &word.Context;
    case ckPartOfSpeech:
        return &word.PartOfSpeech;
    case ckLesson:
        return &word.Lesson;
    default:
        return nullptr;
    }
}

int TWordsGrid::ColumnOfKind(int kind) const
{
    for (int col = 0; col < ColCount(); ++col)
        if (Columns[static_cast<size_t>(col)].Kind == kind)
            return col;
    return ColCount() - 1;
}

void TWordsGrid::ApplyColumnSettings()
{
    // The program writes only permutations that keep the two words in front; anything else
    // (edited by hand, damaged) would break the column groups, so it falls back to the default.
    std::array<uint8_t, 9> order = ColumnSettings.Order;
    std::array<uint8_t, 9> sorted = order;
    std::sort(sorted.begin(), sorted.end());
    const bool permutation = sorted == std::array<uint8_t, 9>{1, 2, 3, 4, 5, 6, 7, 8, 9};
    const bool wordsFirst = std::min(order[0], order[1]) == 1 && std::max(order[0], order[1]) == 2;
    if (!permutation || !wordsFirst)
        order = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    for (int col = 1; col < ColumnCount; ++col) {
        const uint8_t kind = order[static_cast<size_t>(col - 1)];
        Columns[static_cast<size_t>(col)] = {kind, !IsTextKind(kind)};
    }
    for (int kind = ckForWord; kind <= ckLesson; ++kind) {
        const int width = ColumnSettings.Widths[static_cast<size_t>(kind - 1)];
        SetColWidth(ColumnOfKind(kind), std::clamp(width, MinTextWidth, MaxTextWidth));
    }
    ResetFixedWidths();
}

void TWordsGrid::StoreColumnSettings() const
{
    for (int col = 1; col < ColumnCount; ++col)
        ColumnSettings.Order[static_cast<size_t>(col - 1)] = Columns[static_cast<size_t>(col)].Kind;
    for (int kind = ckForWord; kind <= ckLesson; ++kind)
        ColumnSettings.Widths[static_cast<size_t>(kind - 1)]
                = static_cast<int16_t>(std::clamp(ColWidth(ColumnOfKind(kind)), 0, 32767));
}

void TWordsGrid::ResetFixedWidths()
{
    SetColWidth(ColumnOfKind(ckRowHeader), RowHeaderWidth);
    SetColWidth(ColumnOfKind(ckSound), SoundWidth);
    SetColWidth(ColumnOfKind(ckLevel1), LevelWidth);
    SetColWidth(ColumnOfKind(ckLevel2), LevelWidth);
    SetColWidth(ColumnOfKind(ckScore), ScoreWidth);
}

void TWordsGrid::resizeEvent(QResizeEvent *event)
{
    CellGrid::resizeEvent(event);
    ResetFixedWidths();
}

void TWordsGrid::ApplyFonts()
{
    const TListFont fallback = DefaultFont;
    const TListFont &forFont = GetForFont() ? *GetForFont() : fallback;
    const TListFont &refFont = GetRefFont() ? *GetRefFont() : fallback;
    const QFont forQFont = forFont.toQFont();
    const QFont refQFont = refFont.toQFont();
    MeasureEdit->setFont(forQFont);
    const int forHeight = MeasureEdit->sizeHint().height();
    MeasureEdit->setFont(refQFont);
    const int refHeight = MeasureEdit->sizeHint().height();
    for (TKBAwareEdit *edit : {ForWordEdit.data(), ContextEdit.data()}) {
        if (!edit)
            continue;
        edit->setFont(forQFont);
        edit->CodePage = CodePage::ForCharset(forFont.Charset);
        edit->resize(edit->width(), forHeight);
    }
    if (RefWordEdit) {
        RefWordEdit->setFont(refQFont);
        RefWordEdit->CodePage = CodePage::ForCharset(refFont.Charset);
        RefWordEdit->resize(RefWordEdit->width(), refHeight);
    }

    const int rowHeight = std::max(HeaderRowHeight, std::max(forHeight, refHeight) + 3);
    SetDefaultRowHeight(rowHeight);
    SetRowHeight(0, HeaderRowHeight);
    if (SoundPanel)
        SoundPanel->resize(SoundPanel->width(), rowHeight);

    HeaderFont = DefaultFont.toQFont();
    const int forCodePage = CodePage::ForCharset(forFont.Charset);
    const int defaultCodePage = CodePage::ForCharset(DefaultFont.Charset);
    KindFonts[ckForWord] = {forQFont, forCodePage, forHeight};
    KindFonts[ckRefWord] = {refQFont, CodePage::ForCharset(refFont.Charset), refHeight};
    KindFonts[ckContext] = {forQFont, forCodePage, forHeight};
    KindFonts[ckPartOfSpeech]
            = {HeaderFont, defaultCodePage,
               PartOfSpeechCombo ? PartOfSpeechCombo->height() : PartOfSpeechComboHeight};
    KindFonts[ckLesson]
            = {HeaderFont, defaultCodePage, LessonEdit ? LessonEdit->height() : LessonEditHeight};
    PlaceOpenControl();
    InvalidateGrid();
}

void TWordsGrid::SetBusy(bool endEditing)
{
    if (endEditing)
        EndEdit();
    Busy = true;
    SendToTarget(WM_GRIDBUSY, 1);
}

void TWordsGrid::ClearBusy()
{
    Busy = false;
    SendToTarget(WM_GRIDBUSY, 0);
}

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

void TWordsGrid::MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos)
{
    if (!Busy)
        CellGrid::MouseDown(button, modifiers, pos);
}

void TWordsGrid::MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos)
{
    if (!Busy)
        CellGrid::MouseUp(button, modifiers, pos);
}

bool TWordsGrid::CalcSizingState(QPoint pos, int &sizingCol) const
{
    return !Busy && CellGrid::CalcSizingState(pos, sizingCol);
}

void TWordsGrid::EndEdit()
{
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
    const bool tooLong = kind == ckContext ? ContextTooLong(text)
            : kind == ckLesson             ? LessonTooLong(text)
                                           : WordTooLong(text);
    if (!encoded || tooLong) {
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
                edit->setSelection(static_cast<int>(candidate.length()),
                                   static_cast<int>(typed.length() - candidate.length()));
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

QLineEdit *TWordsGrid::OpenLineEdit() const
{
    if (Col() < 0)
        return nullptr;
    const uint8_t kind = ColumnKind(Col());
    if (kind == ckPartOfSpeech)
        return PartOfSpeechCombo ? PartOfSpeechCombo->lineEdit() : nullptr;
    return TextEditorOfKind(kind);
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
        return;
    }
    if (!RowSelection && Row() > GetWordCount())
        FocusCell(1, std::max(1, GetWordCount()), true);
    scrollTo();
    RowSelection = true;
    SetOptions(Options() | goRangeSelect | goRowSelect);
    SetSelection({1, row, ColCount() - 1, row});
    RowAnchor = row;
}

void TWordsGrid::SelectRowRange(int first, int last, bool scroll)
{
    SelectRows(first, false, scroll);
    SelectRows(last, true, scroll);
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

bool TWordsGrid::InTextCell() const
{
    if (!WordList || Col() < 0 || Row() < 1)
        return false;
    const uint8_t kind = ColumnKind(Col());
    if (kind == ckForWord || kind == ckRefWord)
        return true;
    return IsTextKind(kind) && Row() <= GetWordCount();
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
        ShowError(error.what());
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
        ShowError(error.what());
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
        ShowError(error.what());
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

// The rows a lesson, level or score command changes: the selected rows, or the current word.
std::pair<int, int> TWordsGrid::TargetRows() const
{
    if (RowSelection)
        return {Selection().Top, std::min(Selection().Bottom, GetWordCount())};
    return {Row(), Row()};
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

void TWordsGrid::StoreCurrentRecording()
{
    if (ColumnKind(Col()) == ckSound && Row() >= 1 && Row() <= GetWordCount())
        WordList->StoreRecordedSound(Row() - 1);
}

// Every path leaves busy mode: a failed write is reported and answered with false, and the list
// keeps its old file name and its unsaved state.
bool TWordsGrid::SaveList(const std::string &fileName, bool synchronous)
{
    if (!WordList || Busy)
        return false;
    try {
        StoreCurrentRecording();
    } catch (const std::exception &error) {
        ShowError(error.what());
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
        ShowError(error.what());
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

void TWordsGrid::SetTextOfKind(int index, uint8_t kind, const std::string &text)
{
    switch (kind) {
    case ckForWord:
        WordList->SetForWord(index, text);
        break;
    case ckRefWord:
        WordList->SetRefWord(index, text);
        break;
    case ckContext:
        WordList->SetContext(index, text);
        break;
    case ckPartOfSpeech:
        WordList->SetPartOfSpeech(index, text);
        break;
    case ckLesson:
        WordList->SetLesson(index, text);
        break;
    default:
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
    std::vector<TUndoEntry> removed;
    for (int index = first; index <= last; ++index)
        removed.emplace_back(WordList->Delete(first));
    const int count = last - first + 1;
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

void TWordsGrid::DrawCell(QPainter &painter, int col, int row, const QRect &rect,
                          TGridDrawState state)
{
    const bool selected = RowSelection && state.Selected;
    const QPalette &colors = palette();
    const QPalette::ColorRole background = selected ? QPalette::Highlight
            : state.Fixed                           ? QPalette::Button
                                                    : QPalette::Base;
    painter.fillRect(rect, colors.color(background));
    if (WordList) {
        const uint8_t kind = ColumnKind(col);
        if (row == 0) {
            DrawHeader(painter, kind, rect);
        } else if (row <= WordList->Count()) {
            const TWord &word = WordList->Word(row - 1);
            if (IsTextKind(kind))
                DrawText(painter, kind, word, rect, selected);
            else if (kind == ckSound)
                DrawSound(painter, word, rect, selected);
            else if (kind == ckLevel1 || kind == ckLevel2)
                DrawLevel(painter, kind == ckLevel1 ? word.Level1 : word.Level2, rect, selected);
            else if (kind == ckScore)
                DrawScore(painter, word, row - 1, rect, selected);
        }
    }
    if (state.Fixed)
        DrawRaisedEdge(painter, rect);
}

void TWordsGrid::DrawHeader(QPainter &painter, uint8_t kind, const QRect &rect)
{
    QString text;
    switch (kind) {
    case ckForWord:
        text = DecodeText(WordList->ForLanguage);
        break;
    case ckRefWord:
        text = DecodeText(WordList->RefLanguage);
        break;
    case ckContext:
        text = PackText(TEntry::ContextHeader);
        break;
    case ckPartOfSpeech:
        text = PackText(TEntry::PartOfSpeechHeader);
        break;
    case ckLesson:
        text = PackText(TEntry::LessonHeader);
        break;
    case ckSound:
        text = PackText(TEntry::SoundHeader);
        break;
    case ckLevel1:
        text = DecodeText(Abbreviation(WordList->ForLanguage) + "->"
                          + Abbreviation(WordList->RefLanguage));
        break;
    case ckLevel2:
        text = DecodeText(Abbreviation(WordList->RefLanguage) + "->"
                          + Abbreviation(WordList->ForLanguage));
        break;
    case ckScore:
        text = PackText(TEntry::ScoreHeader);
        break;
    default:
        return;
    }
    painter.setFont(HeaderFont);
    painter.setPen(palette().color(QPalette::Text));
    const QRect area(rect.left() + 2, rect.top() + 2, rect.width(), rect.height());
    painter.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}

void TWordsGrid::DrawText(QPainter &painter, uint8_t kind, const TWord &word, const QRect &rect,
                          bool selected)
{
    const std::string *text = WordText(word, kind);
    if (!text || text->empty())
        return;
    const TKindFont &font = KindFonts[kind];
    // The text stands where the editor's text will stand when the cell is edited.
    const int top = rect.top() + 2 + (DefaultRowHeight() - font.EditorHeight) / 2;
    painter.setFont(font.Font);
    painter.setPen(palette().color(selected ? QPalette::HighlightedText : QPalette::Text));
    const QRect area(rect.left() + 2, top, rect.width(), rect.bottom() + 1 - top);
    painter.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                     DecodeText(*text, font.CodePage));
}

void TWordsGrid::DrawSound(QPainter &painter, const TWord &word, const QRect &rect, bool selected)
{
    if (!word.Sound)
        return;
    const QPixmap &bitmap = selected ? SoundInvBmp : SoundBmp;
    if (bitmap.isNull())
        return;
    painter.drawPixmap(rect.left() + (rect.width() - bitmap.width()) / 2,
                       rect.top() + (rect.height() - bitmap.height()) / 2, bitmap);
}

void TWordsGrid::DrawLevel(QPainter &painter, uint8_t level, const QRect &rect, bool selected)
{
    if (level == 0)
        return;
    const QColor color = selected ? palette().color(QPalette::HighlightedText) : LevelGrey;
    painter.setPen(color);
    painter.setBrush(color);
    const int top = rect.top() + (DefaultRowHeight() - 7) / 2;
    const int left = rect.left() + 16;
    for (int square = 0; square < 3; ++square) {
        if (square == level)
            painter.setBrush(Qt::NoBrush);
        OutlineRect(painter, left + 10 * square, top, left + 10 * square + 7, top + 7);
    }
    painter.setBrush(Qt::NoBrush);
}

void TWordsGrid::DrawScore(QPainter &painter, const TWord &word, int index, const QRect &rect,
                           bool selected)
{
    if (word.Level1 == 0 && word.Level2 == 0)
        return;
    const int left = rect.left();
    const int top = rect.top();
    const int right = rect.left() + rect.width();
    const int bottom = rect.top() + rect.height();
    const int w = rect.width() - 8;
    const int m = (rect.height() - 14) / 2;
    const int required = ExerciseOptions.RequiredScore;
    const QColor highlight = palette().color(QPalette::HighlightedText);
    const QColor mark = selected ? highlight : MarkBlack;
    auto barColor = [&](int recent) {
        return selected ? highlight : recent < required ? BarRed : BarGreen;
    };
    const int recent1 = std::clamp(WordList->GetRecentScore1(index), 0, MaxRecentScore);
    const int recent2 = std::clamp(WordList->GetRecentScore2(index), 0, MaxRecentScore);
    painter.setBrush(Qt::NoBrush);
    if (word.Level1 != 0 && word.Level2 != 0) {
        const bool bothReached = recent1 >= required && recent2 >= required;
        painter.setPen(selected ? highlight : bothReached ? BarGreen : BarRed);
        OutlineRect(painter, left + 4, top + m, left + 4 + w, bottom - m);
        painter.fillRect(QRect(left + 5, top + m + 1, (w - 2) * recent1 / MaxRecentScore, 6),
                         barColor(recent1));
        VerticalLine(painter, MarkX(left, w, word.Level1, word.Score1), top + m - 1, top + m + 7,
                     mark);
        painter.fillRect(QRect(left + 5, top + m + 8, (w - 2) * recent2 / MaxRecentScore,
                               bottom - m - 1 - (top + m + 8)),
                         barColor(recent2));
        VerticalLine(painter, MarkX(left, w, word.Level2, word.Score2), top + m + 8, bottom - m + 1,
                     mark);
        return;
    }
    const bool first = word.Level1 != 0;
    const int recent = first ? recent1 : recent2;
    const QColor color = barColor(recent);
    painter.setPen(color);
    OutlineRect(painter, left + 4, top + m, right - 4, bottom - m);
    painter.fillRect(QRect(left + 4, top + m, w * recent / MaxRecentScore, bottom - m - (top + m)),
                     color);
    VerticalLine(
            painter,
            MarkX(left, w, first ? word.Level1 : word.Level2, first ? word.Score1 : word.Score2),
            top + m - 1, bottom - m + 1, mark);
}

void TWordsGrid::DrawRaisedEdge(QPainter &painter, const QRect &rect)
{
    const int left = rect.left();
    const int top = rect.top();
    const int right = rect.left() + rect.width() - 1;
    const int bottom = rect.top() + rect.height() - 1;
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(left, top, right, top);
    painter.drawLine(left, top, left, bottom);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(left, bottom, right, bottom);
    painter.drawLine(right, top, right, bottom);
}
