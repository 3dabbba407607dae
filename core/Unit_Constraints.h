#pragma once

#include <cstdint>
#include <string>

// The limits of every text and setting, in one place. Lengths count bytes. Routines that return a
// code give 0 for valid input; the caller maps a code to its message.

// The codes of the checks that answer one.
enum TNameCheck : int {
    ncValid = 0,
    ncEmpty = 1,
    ncTooLong = 2,
};
enum TFontCheck : int {
    fcValid = 0,
    fcEmpty = 1,
    fcNoFace = 2,
    fcNotInstalled = 3,
};
enum TRangeCheck : int {
    rcValid = 0,
    rcEmpty = 1,
    rcNotANumber = 2,
    rcOutOfRange = 3,
};
enum TThresholdCheck : int {
    tcValid = 0,
    tcQuickEmpty = 1,
    tcNormalEmpty = 2,
    tcIntensiveEmpty = 3,
    tcQuickNotANumber = 4,
    tcNormalNotANumber = 5,
    tcIntensiveNotANumber = 6,
    tcQuickTooLow = 7,
    tcNormalNotAbove = 8,
    tcIntensiveNotAbove = 9,
    tcIntensiveTooHigh = 10,
};

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
