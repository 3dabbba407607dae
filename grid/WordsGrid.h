#pragma once

#include "core/Unit_WordList.h"
#include "grid/FindTarget.h"
#include "grid/WordsGridKinds.h"
#include "sound/Mp3Playback.h"
#include "widgets/CellGrid.h"
#include "widgets/KBAwareComboBox.h"
#include "widgets/KBAwareEdit.h"

#include <QByteArray>

#include <QComboBox>
#include <QFont>
#include <QLineEdit>
#include <QMenu>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <variant>
#include <vector>

class IXaudioPlayer;
class TSoundPanel;

// Entries of the undo record, one per affected row.
struct TOldPartOfSpeech
{
    std::string PartOfSpeech;
};

struct TOldLesson
{
    std::string Lesson;
};

struct TOldLevel
{
    uint8_t Level1 = 0;
    uint8_t Level2 = 0;
};

struct TOldScore
{
    int32_t Score1 = 0;
    int32_t Score2 = 0;
    int32_t Count1 = 0;
    int32_t Count2 = 0;
    uint32_t History1 = 0;
    uint32_t History2 = 0;
};

// A replacement keeps the old text of each word it changed, with the word's index; the words
// it left alone need nothing.
struct TOldReplace
{
    uint8_t Kind = 1;
    int Index = 0;
    std::string OldText;
};

// A sort keeps the order of the words before it, the one entry of its record. The words
// themselves stay in the list: undoing the sort only moves them back.
struct TOldOrder
{
    std::vector<const TWord *> Words;
};

// Whole words are kept for deletes, sound records for sound changes.
using TUndoEntry = std::variant<TOldPartOfSpeech, TOldLesson, TOldLevel, TOldScore, TOldReplace,
                                std::unique_ptr<TWord>, TSoundRec, TOldOrder>;

// Column kinds: what a grid column shows.
enum TColumnKind : uint8_t {
    ckRowHeader = 0,
    ckForWord = 1,
    ckRefWord = 2,
    ckContext = 3,
    ckPartOfSpeech = 4,
    ckLesson = 5,
    ckSound = 6,
    ckLevel1 = 7,
    ckLevel2 = 8,
    ckScore = 9,
};

// The kinds whose cells hold a text of the word and open a text editor.
constexpr bool IsTextKind(int kind)
{
    return kind >= ckForWord && kind <= ckLesson;
}

struct TGridColumn
{
    uint8_t Kind = 0;
    bool FixedWidth = true;
};

// The grid that shows and edits the current word list: a header row, one row per word and the
// append row after the last word. It owns the list and a one-level undo record.
class TWordsGrid
    : public CellGrid
    , public IFindTarget
{
    Q_OBJECT

public:
    static constexpr int ColumnCount = 10;
    static constexpr int HeaderRowHeight = 18;
    static constexpr const char *WordsClipboardFormat = "application/x-tarnwick-words";
    static constexpr const char *SoundClipboardFormat = "application/x-tarnwick-sound";

    explicit TWordsGrid(QWidget *parent = nullptr);
    ~TWordsGrid() override;

    // Where the grid's messages (WM_GRIDBUSY, WM_WORDCOUNTCHANGED) go.
    void SetMessageTarget(QObject *target) { MessageTarget = target; }

    // Puts a list on show; the grid owns it from then on and frees the one it replaces.
    void SetWordList(std::unique_ptr<TWordList> list);
    TWordList *GetWordList() const { return WordList.get(); }

    QString GetListName() const;
    std::string GetFileName() const;
    std::string GetForLanguage() const;
    void SetForLanguage(const std::string &language);
    std::string GetRefLanguage() const;
    void SetRefLanguage(const std::string &language);
    const TListFont *GetForFont() const;
    void SetForFont(std::unique_ptr<TListFont> font);
    const TListFont *GetRefFont() const;
    void SetRefFont(std::unique_ptr<TListFont> font);
    int GetWordCount() const;
    bool GetSaved() const;

    // The in-place controls: the grid places, fills, shows and hides them over the current cell
    // and stores what is typed into the list at once.
    void SetForWordEdit(TKBAwareEdit *edit);
    void SetRefWordEdit(TKBAwareEdit *edit);
    void SetContextEdit(TKBAwareEdit *edit);
    void SetPartOfSpeechCombo(TKBAwareComboBox *combo);
    void SetLessonEdit(TKBAwareEdit *edit);
    void SetLevelCombo(TKBAwareComboBox *combo);
    void SetSoundPanel(QWidget *panel);
    void SetSoundBmp(const QPixmap &bitmap) { SoundBmp = bitmap; }
    void SetSoundInvBmp(const QPixmap &bitmap) { SoundInvBmp = bitmap; }
    // The menu that the right button opens over a cell.
    void SetContextMenu(QMenu *menu) { ContextMenu = menu; }

    int ColumnOfKind(int kind) const;
    uint8_t ColumnKind(int col) const { return Columns[static_cast<size_t>(col)].Kind; }
    bool ColumnFixedWidth(int col) const { return Columns[static_cast<size_t>(col)].FixedWidth; }
    void ApplyColumnSettings();
    void StoreColumnSettings() const;
    void ApplyFonts();

    void SetBusy(bool endEditing);
    void ClearBusy();
    bool IsBusy() const { return Busy; }
    bool IsRowSelection() const { return RowSelection; }
    int GetRowAnchor() const { return RowAnchor; }

    void SaveSelection();
    void RestoreSelection();
    void SelectCellAt(int col, int row);
    void SelectRows(int row, bool extend, bool scroll);
    void EndEdit();

    // Replaces the undo record; an empty record is TUndoKind::None.
    void StoreUndo(TUndoKind kind, int first, int count, std::vector<TUndoEntry> entries = {});
    void ClearUndo();
    TUndoKind GetUndoKind() const;
    void Undo();

    // Whether the current cell is a text cell with an in-place editor.
    bool InTextCell() const;
    bool InSoundCell() const;
    // A text cell, the sound cell or a level cell of a word is current.
    bool EditorActive() const;
    TSelectionMode SelectionMode() const;
    int GetEditCol() const { return EditCol; }
    int GetEditRow() const { return EditRow; }

    // What the main window's commands ask before they are offered.
    bool CanInsert() const;
    bool CanSetExercise() const;
    bool CanActOnOneWord() const;
    bool CanPaste() const;
    bool CanSelectAll() const;

    // Word commands of the main window; each stores its undo record first.
    // Copy answers false when the words or the sound could not be read from the sound store.
    bool Copy();
    void Cut();
    void Paste();
    void DeleteSelection();
    void SelectAll();
    void InsertRow();
    void SetLesson(const std::string &lesson);
    void SetLevels(bool setDir1, bool setDir2, uint8_t level1, uint8_t level2);
    void ResetScores();

    // Sorts the whole list by the column kind (a header click), with undo.
    void SortByKind(uint8_t kind);
    // Find and replace in one text column: column is a TFindColumn, mode a TFindMode, and the
    // texts are bytes of the column's code page (SearchCodePage). The find window fixes the rows
    // it searches with PrepareTargetRows when it is shown; every request keeps them within the
    // list as it is then.
    void PrepareTargetRows() override;
    int GetTargetFirst() const { return TargetFirst; }
    int GetTargetLast() const { return TargetLast; }
    int SearchCodePage(uint8_t column) const;
    void FindNext(uint8_t column, uint8_t mode, bool replace, bool inSelection,
                  const std::string &findText, const std::string &replaceText) override;
    void ReplaceAll(uint8_t column, uint8_t mode, const std::string &findText,
                    const std::string &replaceText) override;

    // The sound cell (WordsGridSound.cpp): its panel, the player it plays with and how long a
    // recording may last.
    void BindSoundPanel(TSoundPanel *panel);
    void SetXAPlayer(IXaudioPlayer *player);
    void SetRecordLimit(int ms) { RecordLimit = ms; }
    // Gives the current word the sound of a WAV file (converted) or an MP3 file (stored as it is).
    void InsertSoundFile(const std::string &fileName);
    // Records the selected words, or the words from the current one on, in one take through the
    // batch-recording window; their new sounds share one undo record.
    void BatchRecord();

    // File operations on the shown list. A threaded one runs after the command has returned and
    // keeps the grid busy until its WM_FILESTHREADDONE; a finished save goes on to the message
    // target. SaveList answers false when the synchronous save failed.
    bool SaveList(const std::string &fileName, bool synchronous);
    void ImportFile(const std::string &fileName);
    void ExportText(const std::string &fileName);
    // Shows the print preview of the selected rows, or of every word; answers its modal result.
    int Print();

protected:
    void DrawCell(QPainter &painter, int col, int row, const QRect &rect,
                  TGridDrawState state) override;
    bool SelectCell(int col, int row) override;
    bool CanFocusOnPress() const override { return !Busy; }
    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos) override;
    void MouseMove(Qt::KeyboardModifiers modifiers, QPoint pos) override;
    void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos) override;
    void KeyDown(QKeyEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    bool CalcSizingState(QPoint pos, int &sizingCol) const override;
    bool BeginColumnDrag(int &origin, int &destination, QPoint pos) override;
    bool CheckColumnDrag(int &origin, int &destination, QPoint pos) override;
    bool EndColumnDrag(int origin, int destination, QPoint pos) override;
    void ColumnMoved(int from, int to) override;
    bool BeginRowDrag(int &origin, int &destination, QPoint pos) override;
    bool CheckRowDrag(int &origin, int &destination, QPoint pos) override;
    bool EndRowDrag(int origin, int destination, QPoint pos) override;
    void RowMoved(int from, int to) override;
    void resizeEvent(QResizeEvent *event) override;
    bool event(QEvent *event) override;
    void TopLeftChanged() override;
    void ColWidthsChanged() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Fixed widths that the columns and the controls over them share.
    static constexpr int SoundWidth = 70;
    static constexpr int LevelWidth = 60;
    // The part-of-speech combo keeps one height, whatever the rows' height, and stands centred
    // on its row.
    static constexpr int PartOfSpeechHeight = 21;

    // The list and its columns.
    void SendToTarget(int message, intptr_t wParam);
    void ResetFixedWidths();
    // The text that a column of a text kind shows of a word; nullptr for the other kinds.
    static const std::string *WordText(const TWord &word, uint8_t kind);
    static std::string *WordText(TWord &word, uint8_t kind);
    void SetTextOfKind(int index, uint8_t kind, std::string text);
    // Whether a text exceeds the limit of the column kind that holds it.
    static bool TextTooLong(uint8_t kind, const std::string &text);

    // Selection and the in-place controls.
    void SelectRowRange(int first, int last, bool scroll);
    bool IsEditableCell(int col, int row) const;
    void ScrollIntoView(int col, int row);
    void BindControl(QWidget *control, int width);
    void BindEdit(TKBAwareEdit *edit, uint8_t kind);
    TKBAwareEdit *TextEditorOfKind(uint8_t kind) const;
    QLineEdit *OpenLineEdit() const;
    int KindCodePage(uint8_t kind) const;
    QString KindText(int index, uint8_t kind) const;
    void FillEdit(QLineEdit &edit, const QString &text);
    void OpenControl(int col, int row);
    QWidget *OpenControlWidget() const;
    void PlaceControl(QWidget &control, int col, int row);
    void PlaceOpenControl();
    void EditorTextChanged(uint8_t kind);
    void PartOfSpeechChanged();
    void LevelChanged(int index);
    void EditorExit(QWidget *old, QWidget *now);

    // The editor keys, by group; each answers whether it handled the key.
    struct TEditorKey;
    TEditorKey ReadEditorKey(const QKeyEvent &event) const;
    bool EditorKeyDown(QKeyEvent &event);
    bool RowKeyDown(const TEditorKey &key);
    bool PageKeyDown(const TEditorKey &key);
    bool RowSelectionKeyDown(const TEditorKey &key);
    bool ColumnKeyDown(const TEditorKey &key);
    bool CaretKeyDown(const TEditorKey &key);
    void DeletingKeyDown(const TEditorKey &key);
    bool IsEditableColumn(int col) const;
    int LastRow() const;
    int PageStep() const;
    bool CaretAtStart() const;
    bool CaretAtEnd() const;

    // Clipboard and word commands.
    // The current cell lies on the list: a text cell in a valid row, or a word's sound or level
    // cell.
    bool CellOnList() const;
    bool CellOnWord() const;
    std::pair<int, int> TargetRows() const;
    void StoreCurrentRecording();
    // The number of words pasted.
    int PasteWords(const QByteArray &block);
    void PasteSound(const QByteArray &block);
    void PasteText();
    // Removes the selected rows' words into a record of deleted words.
    void DeleteSelectedRows();
    // Fresh recordings of the words go into the sound store before the words are cloned or
    // moved; false, after the failure was shown, when one could not be stored.
    bool StoreRecordings(int first, int count);

    // The mouse: cells that a press scrolls into view, and text cells, which show the I-beam.
    bool IsLiveCell(int col, int row) const;
    bool IsTextCellAt(int col, int row) const;
    void ScrollPressedCellIntoView(int col, int row);
    // The grid's keys while rows are selected: Shift moves the selection's free end.
    void ExtendRowSelection(int step);

    // Find and replace.
    void ClampTargetRows(int &first, int &last) const;
    // Replaces the editor's selected match, beeping where the column refuses the new text.
    bool ReplaceSelectedMatch(QLineEdit &edit, uint8_t kind, const std::string &replaceText);
    void SelectMatch(uint8_t kind, TFindResult hit, size_t length);

    // The sound cell.
    static constexpr int RecordLimitMs = 10000;
    void SetSoundButtons(bool play, bool playDown, bool stop, bool record, bool recordDown);
    bool WordHasSound(int row) const;
    void SoundPanelEnter(int row);
    void SoundPanelExit();
    void StopSoundPlayer();
    void StoreSoundUndo(int row);
    void PlayButtonClick();
    void StopButtonClick();
    void RecordButtonClick();
    void FinishRecording();
    void BindPlayback();
    void XANotifyNack(uint8_t command);
    void FinishImport();

    // File operations.
    void StartFileOperation(const std::string &fileName, uint8_t action);
    void WMFilesThreadDone(intptr_t action);

    // Undo, one function per kind of record: first is the list index of the record's first row,
    // rows the number of its entries that count.
    void UndoPartOfSpeech(int first, int rows);
    void UndoLesson(int first, int rows);
    void UndoLevels(int first, int rows);
    void UndoScoreReset(int first, int rows);
    void UndoDeleteWords(int first, int rows);
    void UndoDeleteSound(int first, int rows);
    void UndoInsert();
    void UndoSoundChange(int first, int rows);
    void UndoSort();
    void UndoReplace();
    // Selects the record's rows again and shows them.
    void SelectUndoneRows();

    // Painting.
    void DrawHeader(QPainter &painter, uint8_t kind, const QRect &rect);
    void DrawText(QPainter &painter, uint8_t kind, const TWord &word, const QRect &rect,
                  bool selected);
    void DrawSound(QPainter &painter, const TWord &word, const QRect &rect, bool selected);
    void DrawLevel(QPainter &painter, uint8_t level, const QRect &rect, bool selected);
    void DrawScore(QPainter &painter, const TWord &word, int index, const QRect &rect,
                   bool selected);
    void DrawRaisedEdge(QPainter &painter, const QRect &rect);

    std::unique_ptr<TWordList> WordList;
    std::array<TGridColumn, ColumnCount> Columns;
    std::unique_ptr<QLineEdit> MeasureEdit;
    QPointer<TKBAwareEdit> ForWordEdit;
    QPointer<TKBAwareEdit> RefWordEdit;
    QPointer<TKBAwareEdit> ContextEdit;
    QPointer<TKBAwareComboBox> PartOfSpeechCombo;
    QPointer<TKBAwareEdit> LessonEdit;
    QPointer<QWidget> SoundPanel;
    QPointer<TKBAwareComboBox> LevelCombo;
    QPixmap SoundBmp;
    QPixmap SoundInvBmp;
    QPointer<QObject> MessageTarget;
    QPointer<QMenu> ContextMenu;
    bool Busy = false;
    bool RowSelection = false;
    int RowAnchor = 1;
    TUndoKind UndoKind = TUndoKind::None;
    int UndoFirst = 0;
    int UndoCount = 0;
    std::vector<TUndoEntry> UndoList;
    bool SavedRowSelection = false;
    int SavedTop = 1;
    int SavedBottom = 1;
    uint8_t SavedKind = 1;
    QPointer<QObject> FilesThread;
    int EditCol = 1;
    int EditRow = 1;
    int MouseDownCol = 0;
    int MouseDownRow = 0;
    // The block of rows being dragged.
    int DragTop = 1;
    int DragBottom = 1;
    // The rows the find window works in, 1-based.
    int TargetFirst = 0;
    int TargetLast = 0;
    bool SuppressAutoComplete = false;
    // Set while the grid itself fills an editor: such changes are not the user's.
    bool Filling = false;
    QMetaObject::Connection FocusConnection;
    QPointer<TSoundPanel> SoundButtons;
    IXaudioPlayer *XAPlayer = nullptr;
    TMp3Playback Playback;
    // Why the open cell's sound could not be put in the working file; said when it is played.
    QString SoundCopyFailure;
    QTimer RecordTimer;
    int RecordLimit = RecordLimitMs;
    // The row whose sound plays or records, and the row an inserted file goes to.
    int SoundRow = 0;
    bool ImportingSound = false;
    std::string ImportSoundFile;
    bool ImportFromSoundCell = false;
    int ImportRow = 0;

    // What painting needs of the fonts, refreshed by ApplyFonts.
    struct TKindFont
    {
        QFont Font;
        int CodePage = 0;
        int EditorHeight = 0;
    };
    std::array<TKindFont, 6> KindFonts;
    QFont HeaderFont;
};
