#include "core/Unit_Constraints.h"
#include "core/Unit_GlobalSettings.h"
#include "platform/FontCatalog.h"

#include <QString>
#include <gtest/gtest.h>
#include <set>

namespace {

const std::string Huge = "99999999999";

TEST(ConstraintsTest, LengthLimitsAreInclusive)
{
    EXPECT_EQ(CheckLanguageName(""), 1);
    EXPECT_EQ(CheckLanguageName(std::string(64, 'n')), 0);
    EXPECT_EQ(CheckLanguageName(std::string(65, 'n')), 2);
    EXPECT_FALSE(ForeignCharsTooLong(std::string(100, 'x')));
    EXPECT_TRUE(ForeignCharsTooLong(std::string(101, 'x')));
    EXPECT_FALSE(WordTooLong(std::string(512, 'w')));
    EXPECT_TRUE(WordTooLong(std::string(513, 'w')));
    EXPECT_FALSE(ContextTooLong(std::string(1000, 'c')));
    EXPECT_TRUE(ContextTooLong(std::string(1001, 'c')));
    EXPECT_FALSE(PartOfSpeechTooLong(std::string(64, 'p')));
    EXPECT_TRUE(PartOfSpeechTooLong(std::string(65, 'p')));
    EXPECT_FALSE(LessonTooLong(std::string(64, 'l')));
    EXPECT_TRUE(LessonTooLong(std::string(65, 'l')));
    // Lengths count bytes, not characters of some code page.
    EXPECT_EQ(CheckLanguageName(std::string(32, '\xE9') + std::string(33, 'a')), 2);
}

TEST(ConstraintsTest, CheckIntRangeTestsEmptyThenDigitsThenRange)
{
    EXPECT_EQ(CheckIntRange("", 1, 127), 1);
    EXPECT_EQ(CheckIntRange("007", 1, 127), 0);
    EXPECT_EQ(CheckIntRange("-5", 1, 127), 2);
    EXPECT_EQ(CheckIntRange("+5", 1, 127), 2);
    EXPECT_EQ(CheckIntRange(" 5", 1, 127), 2);
    EXPECT_EQ(CheckIntRange("5a", 1, 127), 2);
    EXPECT_EQ(CheckIntRange("128", 1, 127), 3);
    EXPECT_EQ(CheckIntRange("0", 1, 127), 3);
    EXPECT_EQ(CheckIntRange("127", 1, 127), 0);
    EXPECT_EQ(CheckIntRange("1", 1, 127), 0);
    EXPECT_EQ(CheckIntRange(Huge, 1, 127), 3);
    EXPECT_EQ(CheckIntRange("2147483647", 0, 2147483647), 0);
    EXPECT_EQ(CheckIntRange("2147483648", 0, 2147483647), 3);
    EXPECT_EQ(CheckIntRange("4294967297", 0, 10), 3);
    EXPECT_EQ(CheckIntRange(std::string(1000, '9'), 0, 2147483647), 3);
    EXPECT_EQ(CheckIntRange("000000000000000000042", 1, 127), 0);
}

TEST(ConstraintsTest, CheckLevelThresholdsGivesTheFirstFailingTest)
{
    EXPECT_EQ(CheckLevelThresholds("2", "4", "6"), 0);
    EXPECT_EQ(CheckLevelThresholds("", "", ""), 1);
    EXPECT_EQ(CheckLevelThresholds("a", "", ""), 4);
    EXPECT_EQ(CheckLevelThresholds("2", "", "x"), 2);
    EXPECT_EQ(CheckLevelThresholds("2", "-4", ""), 5);
    EXPECT_EQ(CheckLevelThresholds("2", "4", ""), 3);
    EXPECT_EQ(CheckLevelThresholds("2", "4", "6 "), 6);
    EXPECT_EQ(CheckLevelThresholds("0", "4", "6"), 7);
    EXPECT_EQ(CheckLevelThresholds("0", "0", "0"), 7);
    EXPECT_EQ(CheckLevelThresholds("2", "2", "6"), 8);
    EXPECT_EQ(CheckLevelThresholds("5", "4", "31"), 8);
    EXPECT_EQ(CheckLevelThresholds("2", "4", "4"), 9);
    EXPECT_EQ(CheckLevelThresholds("2", "4", "31"), 10);
    EXPECT_EQ(CheckLevelThresholds("1", "29", "30"), 0);
    EXPECT_EQ(CheckLevelThresholds("02", "04", "06"), 0);
}

TEST(ConstraintsTest, HugeThresholdsKeepTheirOrder)
{
    EXPECT_EQ(CheckLevelThresholds(Huge, "4", "6"), 8);
    EXPECT_EQ(CheckLevelThresholds("2", Huge, "6"), 9);
    EXPECT_EQ(CheckLevelThresholds("2", "4", Huge), 10);
    EXPECT_EQ(CheckLevelThresholds(Huge, Huge + "0", Huge + "00"), 10);
    EXPECT_EQ(CheckLevelThresholds(Huge + "0", Huge, "6"), 8);
    EXPECT_EQ(CheckLevelThresholds("2", Huge + "1", Huge + "0"), 9);
    EXPECT_EQ(CheckLevelThresholds("2", "0" + Huge, Huge), 9);
}

TEST(ConstraintsTest, CheckExerciseTimeTestsTheStepBeforeTheRange)
{
    EXPECT_EQ(CheckExerciseTime(""), 1);
    EXPECT_EQ(CheckExerciseTime("3O"), 2);
    EXPECT_EQ(CheckExerciseTime("-5"), 2);
    EXPECT_EQ(CheckExerciseTime("0"), 3);
    EXPECT_EQ(CheckExerciseTime("7"), 4);
    EXPECT_EQ(CheckExerciseTime("125"), 3);
    EXPECT_EQ(CheckExerciseTime("120"), 0);
    EXPECT_EQ(CheckExerciseTime("5"), 0);
    EXPECT_EQ(CheckExerciseTime("005"), 0);
    EXPECT_EQ(CheckExerciseTime(Huge), 4);
    EXPECT_EQ(CheckExerciseTime("99999999993"), 4);
    EXPECT_EQ(CheckExerciseTime("99999999995"), 3);
    EXPECT_EQ(CheckExerciseTime("4294967300"), 3);
}

TEST(ConstraintsTest, NoiseLevelAbove20IsInvalid)
{
    EXPECT_FALSE(NoiseLevelInvalid(0));
    EXPECT_FALSE(NoiseLevelInvalid(20));
    EXPECT_TRUE(NoiseLevelInvalid(21));
    EXPECT_TRUE(NoiseLevelInvalid(255));
}

TEST(ConstraintsTest, PartsOfSpeechListsNeedNonEmptyItemsBeforeEachComma)
{
    EXPECT_TRUE(PartsOfSpeechListValid(""));
    EXPECT_TRUE(PartsOfSpeechListValid("noun,verb"));
    EXPECT_TRUE(PartsOfSpeechListValid("noun,"));
    EXPECT_TRUE(PartsOfSpeechListValid(" , "));
    EXPECT_FALSE(PartsOfSpeechListValid(",noun"));
    EXPECT_FALSE(PartsOfSpeechListValid("noun,,verb"));
    EXPECT_FALSE(PartsOfSpeechListValid("noun;verb"));
    EXPECT_TRUE(PartsOfSpeechListValid(std::string(64, 'a') + "," + std::string(64, 'b')));
    EXPECT_FALSE(PartsOfSpeechListValid(std::string(65, 'a') + ",b"));
    EXPECT_FALSE(PartsOfSpeechListValid("b," + std::string(65, 'a')));
}

TEST(ConstraintsTest, PartsOfSpeechSettingIsUsedListSemicolonAvailableList)
{
    EXPECT_FALSE(PartsOfSpeechInvalid("noun,verb;adjective"));
    EXPECT_FALSE(PartsOfSpeechInvalid(";"));
    EXPECT_FALSE(PartsOfSpeechInvalid("noun;"));
    EXPECT_TRUE(PartsOfSpeechInvalid("noun,verb"));
    EXPECT_TRUE(PartsOfSpeechInvalid("noun;;"));
    EXPECT_TRUE(PartsOfSpeechInvalid(""));
    EXPECT_TRUE(PartsOfSpeechInvalid(",noun;verb"));
    EXPECT_TRUE(PartsOfSpeechInvalid("noun;verb,,adjective"));
}

class ExerciseOptionsTest : public ::testing::Test
{
protected:
    void TearDown() override { ExerciseOptions = TExerciseOptions(); }
};

TEST_F(ExerciseOptionsTest, ThresholdsScoreAndQuestionCountAreChecked)
{
    ExerciseOptions = TExerciseOptions();
    EXPECT_FALSE(ExerciseOptionsInvalid());
    ExerciseOptions.LevelThresholds = {0, 3, 3, 6};
    EXPECT_TRUE(ExerciseOptionsInvalid());
    ExerciseOptions.LevelThresholds = {0, 1, 29, 30};
    EXPECT_FALSE(ExerciseOptionsInvalid());
    ExerciseOptions.LevelThresholds = {0, 2, 4, 255};
    EXPECT_TRUE(ExerciseOptionsInvalid());
    ExerciseOptions = TExerciseOptions();
    ExerciseOptions.RequiredScore = 5;
    EXPECT_FALSE(ExerciseOptionsInvalid());
    ExerciseOptions.RequiredScore = 6;
    EXPECT_TRUE(ExerciseOptionsInvalid());
    ExerciseOptions = TExerciseOptions();
    ExerciseOptions.NumQuestions = 100;
    EXPECT_FALSE(ExerciseOptionsInvalid());
    ExerciseOptions.NumQuestions = 101;
    EXPECT_TRUE(ExerciseOptionsInvalid());
    // Index 0 of the thresholds is not a threshold.
    ExerciseOptions = TExerciseOptions();
    ExerciseOptions.LevelThresholds[0] = 99;
    EXPECT_FALSE(ExerciseOptionsInvalid());
}

// Arial is installed for the Western and default character sets only; names compare without case.
class FakeCatalog : public IFontCatalog
{
public:
    std::vector<std::string> Families(int) const override { return {"Arial"}; }
    bool IsInstalled(const std::string &name) const override
    {
        return QString::fromLatin1(name).compare("Arial", Qt::CaseInsensitive) == 0;
    }
    bool Supports(const std::string &name, int charset) const override
    {
        return IsInstalled(name) && (charset == 0 || charset == 1);
    }
};

class FontNameTest : public ::testing::Test
{
protected:
    void SetUp() override { SetFontCatalog(&catalog); }
    void TearDown() override { SetFontCatalog(nullptr); }
    FakeCatalog catalog;
};

TEST_F(FontNameTest, EmptyThenNotInstalledThenCharset)
{
    EXPECT_EQ(CheckFontName("", 204), 1);
    EXPECT_EQ(CheckFontName("Arial", 0), 0);
    EXPECT_EQ(CheckFontName("aRIAL", 1), 0);
    EXPECT_EQ(CheckFontName("Arial", 204), 2);
    for (int charset : {0, 1, 204, 128, 255})
        EXPECT_EQ(CheckFontName("Nowhere Sans", charset), 3) << charset;
    // Without a catalogue of its own the program asks the system's.
    SetFontCatalog(nullptr);
    EXPECT_EQ(CheckFontName("Nowhere Sans Zq", 0), 3);
}

} // namespace
