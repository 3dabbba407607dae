#pragma once

#include "grid/WordsGridKinds.h"

#include <QKeySequence>
#include <QString>
#include <cstdint>
#include <string>

// Every command and menu item of the main window, for the rules that enable them.
enum class TCommand {
    New,
    Open,
    Save,
    SaveAs,
    Import,
    Export,
    PrinterSetup,
    Print,
    Exit,
    Undo,
    Cut,
    Copy,
    Paste,
    Delete,
    SelectAll,
    KeyboardLayout,
    Options,
    InsertNewWord,
    SetLesson,
    BatchRec,
    InsertSound,
    Find,
    FindNext,
    WordlistSettings,
    SetWords,
    ResetScore,
    StartExercise,
    StartTest,
    Help,
    Homepage,
    About,
    SetLevel,
    LevelSubmenu,
};

// What the rules ask: the grid's answers, the window's busy flag and its active control.
struct TCommandState
{
    bool Busy = false;
    bool List = false;
    bool Saved = false;
    int WordCount = 0;
    TSelectionMode Mode = TSelectionMode::Nothing;
    bool Targets = false;
    bool CanInsert = false;
    bool CanInsertSound = false;
    bool CanPaste = false;
    bool CanSelectAll = false;
    TUndoKind UndoKind = TUndoKind::None;
    // The active control is the foreign-word, reference-word or context editor.
    bool TextEditorActive = false;
    bool FindButtonEnabled = false;
    bool MainWindowActive = false;
};

bool CommandEnabled(TCommand command, const TCommandState &state);

// Del belongs to the delete command only where no editor needs the key for itself.
QKeySequence DeleteShortcut(const TCommandState &state);

// The captions of the one-direction level items and the set-words boxes: foreign to
// reference, and reference to foreign.
std::string ForToRefCaption(const std::string &text, const std::string &forLanguage,
                            const std::string &refLanguage);
std::string RefToForCaption(const std::string &text, const std::string &forLanguage,
                            const std::string &refLanguage);

// One direction of the set-words dialog: whether its levels change, and to which level. A
// level list holding more items than the three levels above off never gives more than 3, and
// one with nothing chosen gives off.
struct TLevelChoice
{
    bool Change = false;
    uint8_t Level = 0;
};
TLevelChoice LevelChoice(bool checked, bool on, int itemIndex);
