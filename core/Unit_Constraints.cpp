#include "core/Unit_Constraints.h"

#include "core/Unit_GlobalSettings.h"
#include "platform/FontCatalog.h"

#include <algorithm>
#include <limits>
#include <string_view>

namespace {

constexpr size_t MaxLanguageName = 64;
constexpr size_t MaxForeignChars = 100;
constexpr size_t MaxWord = 512;
constexpr size_t MaxContext = 1000;
constexpr size_t MaxPartOfSpeech = 64;
constexpr size_t MaxLesson = 64;

bool OnlyDigits(const std::string &text)
{
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

// The value of an all-digit text; a value past the 32-bit range saturates, so it is simply out of
// every range the callers test.
int64_t DigitsValue(const std::string &text)
{
    constexpr int64_t Saturated = int64_t(std::numeric_limits<int32_t>::max()) + 1;
    int64_t value = 0;
    for (char c : text) {
        value = value * 10 + (c - '0');
        if (value >= Saturated)
            return Saturated;
    }
    return value;
}

// Whether the all-digit text a stands for a number not above b's, at any length.
bool DigitsNotAbove(const std::string &a, const std::string &b)
{
    const std::string_view x
            = std::string_view(a).substr(std::min(a.find_first_not_of('0'), a.size()));
    const std::string_view y
            = std::string_view(b).substr(std::min(b.find_first_not_of('0'), b.size()));
    if (x.size() != y.size())
        return x.size() < y.size();
    return x <= y;
}

} // namespace

int CheckLanguageName(const std::string &text)
{
    if (text.empty())
        return 1;
    if (text.size() > MaxLanguageName)
        return 2;
    return 0;
}

bool ForeignCharsTooLong(const std::string &text)
{
    return text.size() > MaxForeignChars;
}

bool WordTooLong(const std::string &text)
{
    return text.size() > MaxWord;
}

bool ContextTooLong(const std::string &text)
{
    return text.size() > MaxContext;
}

bool PartOfSpeechTooLong(const std::string &text)
{
    return text.size() > MaxPartOfSpeech;
}

bool LessonTooLong(const std::string &text)
{
    return text.size() > MaxLesson;
}

int CheckFontName(const std::string &fontName, int charset)
{
    if (fontName.empty())
        return 1;
    const IFontCatalog *catalog = FontCatalog();
    if (!catalog || !catalog->IsInstalled(fontName))
        return 3;
    if (!catalog->Supports(fontName, charset))
        return 2;
    return 0;
}

int CheckIntRange(const std::string &text, int min, int max)
{
    if (text.empty())
        return 1;
    if (!OnlyDigits(text))
        return 2;
    const int64_t value = DigitsValue(text);
    if (value < min || value > max)
        return 3;
    return 0;
}

int CheckLevelThresholds(const std::string &quick, const std::string &normal,
                         const std::string &intensive)
{
    if (quick.empty())
        return 1;
    if (!OnlyDigits(quick))
        return 4;
    if (normal.empty())
        return 2;
    if (!OnlyDigits(normal))
        return 5;
    if (intensive.empty())
        return 3;
    if (!OnlyDigits(intensive))
        return 6;
    // Thresholds are compared exactly, so two huge numbers still keep their order.
    if (DigitsValue(quick) < 1)
        return 7;
    if (DigitsNotAbove(normal, quick))
        return 8;
    if (DigitsNotAbove(intensive, normal))
        return 9;
    if (DigitsValue(intensive) > 30)
        return 10;
    return 0;
}

int CheckExerciseTime(const std::string &text)
{
    if (text.empty())
        return 1;
    if (!OnlyDigits(text))
        return 2;
    // The last digit decides the multiple of 5, so a huge number still gets its proper code.
    const char last = text.back();
    if (last != '0' && last != '5')
        return 4;
    const int64_t minutes = DigitsValue(text);
    if (minutes < 5 || minutes > 120)
        return 3;
    return 0;
}

bool NoiseLevelInvalid(uint8_t level)
{
    return level > 20;
}

bool PartsOfSpeechListValid(const std::string &text)
{
    if (text.find(';') != std::string::npos)
        return false;
    size_t start = 0;
    while (start < text.size()) {
        const size_t comma = text.find(',', start);
        if (comma == std::string::npos)
            return text.size() - start <= MaxPartOfSpeech;
        const size_t length = comma - start;
        if (length < 1 || length > MaxPartOfSpeech)
            return false;
        start = comma + 1;
    }
    return true;
}

bool PartsOfSpeechInvalid(const std::string &text)
{
    const size_t semicolon = text.find(';');
    if (semicolon == std::string::npos)
        return true;
    return !PartsOfSpeechListValid(text.substr(0, semicolon))
            || !PartsOfSpeechListValid(text.substr(semicolon + 1));
}

bool ExerciseOptionsInvalid()
{
    const auto &thresholds = ExerciseOptions.LevelThresholds;
    return CheckLevelThresholds(std::to_string(thresholds[1]), std::to_string(thresholds[2]),
                                std::to_string(thresholds[3]))
            != 0
            || ExerciseOptions.RequiredScore >= 6 || ExerciseOptions.NumQuestions > 100;
}
