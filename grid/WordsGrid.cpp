#include "grid/WordsGrid.h"

#include "core/PrivateMessages.h"
#include "core/Texts.h"
#include "core/Unit_Constants.h"
#include "core/Unit_Constraints.h"
#include "core/Unit_GlobalSettings.h"
#include "platform/CodePage.h"
#include "sound/Unit_Sound.h"

#include <QApplication>
#include <algorithm>
#include <utility>

// Construction, the shown list, its fonts, the columns and busy mode.

namespace {

constexpr int RowHeaderWidth = 25;
constexpr int ScoreWidth = 60;
constexpr int LessonEditHeight = 18;
constexpr int MinTextWidth = 8;
constexpr int MaxTextWidth = 4000;

// The widths the main window's description gives the ten columns before the settings apply.
constexpr std::array<int, TWordsGrid::ColumnCount> DescriptionWidths{25, 150, 150, 150, 40,
                                                                     70, 70,  60,  60,  60};

} // namespace

TWordsGrid::TWordsGrid(QWidget *parent)
    : CellGrid(parent)
    , MeasureEdit(std::make_unique<QLineEdit>())
{
    setObjectName(QStringLiteral("WordsGrid"));
    setVisible(false);
    // The right button opens the grid's own menu; no other menu may open over it.
    setContextMenuPolicy(Qt::PreventContextMenu);
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
// A recording of the grid's is dropped and its playback stopped: no notice may come back to it.
TWordsGrid::~TWordsGrid()
{
    disconnect(FocusConnection);
    if (RecordTimer.isActive())
        AbortRecording();
    RecordTimer.stop();
    if (Busy && ColumnKind(EditCol) == ckSound)
        Playback.Abandon();
    else
        Playback.SetPlayer(nullptr);
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
    // The find window's rows belonged to the list that goes.
    TargetFirst = 0;
    TargetLast = 0;
    WordList = std::move(list);
    show();
    SetRowCount(GetWordCount() + 2);
    SendToTarget(WM_WORDCOUNTCHANGED, 0);
    ApplyFonts();
    SetTopRow(FixedRows());
    SetLeftCol(FixedCols());
    SelectCellAt(1, 1);
}

QString TWordsGrid::GetListName() const
{
    return WordList ? WordList->GetListName() : QString();
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

std::string *TWordsGrid::WordText(TWord &word, uint8_t kind)
{
    return const_cast<std::string *>(WordText(std::as_const(word), kind));
}

bool TWordsGrid::TextTooLong(uint8_t kind, const std::string &text)
{
    switch (kind) {
    case ckContext:
        return ContextTooLong(text);
    case ckPartOfSpeech:
        return PartOfSpeechTooLong(text);
    case ckLesson:
        return LessonTooLong(text);
    default:
        return WordTooLong(text);
    }
}

void TWordsGrid::SetTextOfKind(int index, uint8_t kind, std::string text)
{
    switch (kind) {
    case ckForWord:
        WordList->SetForWord(index, std::move(text));
        break;
    case ckRefWord:
        WordList->SetRefWord(index, std::move(text));
        break;
    case ckContext:
        WordList->SetContext(index, std::move(text));
        break;
    case ckPartOfSpeech:
        WordList->SetPartOfSpeech(index, std::move(text));
        break;
    case ckLesson:
        WordList->SetLesson(index, std::move(text));
        break;
    default:
        break;
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
               PartOfSpeechCombo ? PartOfSpeechCombo->height() : PartOfSpeechHeight};
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
