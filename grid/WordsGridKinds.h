#pragma once

#include <cstdint>

// What the grid's one-level undo record takes back. The numbers are those the program has
// always given the kinds.
enum class TUndoKind : uint8_t {
    None = 0,
    PartOfSpeech = 1,
    Lesson = 2,
    Levels = 3,
    ScoreReset = 4,
    DeleteWords = 5,
    DeleteSound = 6,
    // Inserted, pasted or imported words.
    Insert = 7,
    SoundChange = 8,
    Sort = 9,
    // Never stored: the answer while an in-place text editor can undo its own typing.
    EditorTyping = 10,
    Replace = 11,
};

// What Cut, Copy and Delete act on.
enum class TSelectionMode : uint8_t {
    // The selected rows.
    Rows = 0,
    // The selected text of the current cell's editor.
    EditorText = 1,
    // The current word's sound.
    Sound = 2,
    Nothing = 3,
};
