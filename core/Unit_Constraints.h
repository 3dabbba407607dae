#pragma once

#include <cstdint>
#include <string>

// The limits of every text and setting, in one place. Lengths count bytes. Routines that return a
// code give 0 for valid input; the caller maps a code to its message.

int CheckLanguageName(const std::string &text);
bool ForeignCharsTooLong(const std::string &text);
bool WordTooLong(const std::string &text);
bool ContextTooLong(const std::string &text);
bool PartOfSpeechTooLong(const std::string &text);
bool LessonTooLong(const std::string &text);

int CheckFontName(const std::string &fontName, int charset);
int CheckIntRange(const std::string &text, int min, int max);
int CheckLevelThresholds(const std::string &quick, const std::string &normal,
                         const std::string &intensive);
int CheckExerciseTime(const std::string &text);
bool NoiseLevelInvalid(uint8_t level);
bool PartsOfSpeechListValid(const std::string &text);
bool PartsOfSpeechInvalid(const std::string &text);
bool ExerciseOptionsInvalid();
