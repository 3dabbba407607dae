#pragma once

#include "core/Unit_WordList.h"

#include <cstdint>
#include <string>

// The kinds of a printed column (TPrintColumn::Kind of the print settings); 5 marks an unused
// slot.
enum TPrintKind : uint8_t {
    pkForWord = 0,
    pkRefWord = 1,
    pkContext = 2,
    pkPartOfSpeech = 3,
    pkLesson = 4,
    pkUnused = 5,
};

constexpr int PrintKindCount = 5;

// The printable copy of a word: its texts as wrapped for the printed columns, lines separated by
// CR LF, in the code page of the column's font. Only the texts of the shown columns are filled.
struct TPrintWord
{
    std::string ForWord;
    std::string RefWord;
    std::string Context;
    std::string PartOfSpeech;
    std::string Lesson;

    // The text of a column kind (0..4).
    std::string &Text(int kind);
    const std::string &Text(int kind) const;
};

// The word's own text that a column of the kind (0..4) prints.
const std::string &PrintedText(const TWord &word, int kind);
