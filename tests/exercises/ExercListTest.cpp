#include "core/Unit_GlobalSettings.h"
#include "core/Unit_WordList.h"
#include "exercises/Unit_ExercList.h"
#include "support/WordListFixtures.h"
#include "support/gui/ScriptedRandom.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

class ExercListTest : public ::testing::Test
{
protected:
    ExercListTest() { SetDefaultSettings(); }
    ~ExercListTest() override { SetDefaultSettings(); }

    int Add(TRecord one, TRecord two = {}, const std::string &partOfSpeech = "zn",
            const std::string &lesson = "1")
    {
        return TListBuilder(List)
                .Words(1, "f#", "r#", lesson)
                .PartOfSpeech(partOfSpeech)
                .Records(one, two)
                .Last();
    }

    std::vector<int> Entries(const TExercList &list) const
    {
        std::vector<int> words;
        for (int i = 0; i < list.Count(); ++i)
            words.push_back(list.Item(i).WordIndex);
        return words;
    }

    // Learned at level 1 (threshold 2): two right answers, all five recent ones right.
    static constexpr TRecord Learned{1, 2, 5, 0x1F};
    static constexpr TRecord Fresh{1, 0, 0, 0};

    TWordList List;
};

TRecord Shown(const TDirectionRecord &record)
{
    return {record.Level(), record.Score(), record.Count(), record.History()};
}

CaseInsensitiveStringList Strings(std::initializer_list<const char *> texts)
{
    CaseInsensitiveStringList list;
    for (const char *text : texts)
        list.Add(text);
    return list;
}

} // namespace

TEST_F(ExercListTest, StatusOfAnExerciseAndATest)
{
    Add({}, {});
    Add({0, 30, 5, 0x1F}, {});
    uint8_t status = 9;
    EXPECT_EQ(0, TExercList(List, true, status).Count());
    EXPECT_EQ(1, status);
    status = 9;
    EXPECT_EQ(0, TExercList(List, false, status).Count());
    EXPECT_EQ(1, status);

    Add(Learned, {});
    Add({}, {3, 6, 5, 0x1F});
    status = 9;
    EXPECT_EQ(0, TExercList(List, true, status).Count());
    EXPECT_EQ(2, status);
    status = 9;
    TExercList test(List, false, status);
    EXPECT_EQ(0, status);
    EXPECT_EQ((std::vector<int>{2, 3}), Entries(test));

    // One direction still needing practice anywhere takes the word, and the status is 0.
    Add(Learned, {2, 3, 5, 0x1F});
    Add(Learned, {});
    status = 9;
    TExercList exercise(List, true, status);
    EXPECT_EQ(0, status);
    EXPECT_EQ((std::vector<int>{4}), Entries(exercise));
}

TEST_F(ExercListTest, ATestChangesNoTotals)
{
    Add({1, 1, 3, 0b101}, {2, 9, 5, 0x1F});
    uint8_t status = 9;
    const TExercList test(List, false, status);
    EXPECT_EQ(0, test.NumRight + test.NumAnswered + test.Progress + test.ProgressTotal);
}

TEST_F(ExercListTest, TotalsCountTheRecentAnswersOfEveryEnabledDirection)
{
    // Count 3 with bits 1, 0, 1 and stray bits above: 2 right out of 3.
    Add({2, 30, 3, 0b11111000u | 0b101}, {});
    uint8_t status = 9;
    TExercList one(List, true, status);
    EXPECT_EQ(2, one.NumRight);
    EXPECT_EQ(3, one.NumAnswered);
    // The level's threshold 4 caps the score of 30.
    EXPECT_EQ(4, one.Progress);
    EXPECT_EQ(4, one.ProgressTotal);

    // Learned words and a disabled direction: the learned word counts, the disabled one does not.
    Add(Learned, {0, 7, 5, 0x1F});
    Add({}, {3, 1, 2, 0b10});
    TExercList all(List, true, status);
    EXPECT_EQ(2 + 5 + 1, all.NumRight);
    EXPECT_EQ(3 + 5 + 2, all.NumAnswered);
    EXPECT_EQ(4 + 2 + 1, all.Progress);
    EXPECT_EQ(4 + 2 + 6, all.ProgressTotal);
    // The first word is learned too: a recent score of 5 * 2 / 3 = 3.
    EXPECT_EQ((std::vector<int>{2}), Entries(all));

    all.ApplyFilter(Strings({"ww"}), Strings({"1"}), false);
    EXPECT_EQ(0, all.Count());
    EXPECT_EQ(8, all.NumRight);
    EXPECT_EQ(12, all.ProgressTotal);
}

TEST_F(ExercListTest, CountsOutsideTheHistoryDoNotBreakTheTotals)
{
    Add({1, 0, 255, 0xFFFFFFFFu}, {});
    Add({1, 0, 32, 0x80000001u}, {});
    Add({1, 0, -3, 0xFFu}, {});
    uint8_t status = 9;
    TExercList list(List, true, status);
    EXPECT_EQ(32 + 2 + 0, list.NumRight);
    EXPECT_EQ(255 + 32 - 3, list.NumAnswered);
}

TEST_F(ExercListTest, NeedsPracticeAtTheBoundariesOfScoreAndRecentScore)
{
    ExerciseOptions.LevelThresholds = {0, 3, 5, 7};
    ExerciseOptions.RequiredScore = 3;
    const int belowThreshold = Add({2, 4, 5, 0x1F}, {3, 7, 5, 0x1F});
    const int belowRequired = Add({1, 3, 5, 0b00011}, {1, 3, 5, 0b00111});
    const int zeroRequired = Add({1, 3, 5, 0}, {});
    const int neverAnswered = Add({1, 3, 0, 0}, {0, 0, 0, 0});
    uint8_t status = 9;
    TExercList list(List, false, status);
    ASSERT_EQ(4, list.Count());
    using enum TDirection;
    auto needsPractice = [&list](int index, TDirection direction) {
        return list.Record(index, direction).NeedsPractice();
    };
    EXPECT_TRUE(needsPractice(belowThreshold, Foreign));
    EXPECT_FALSE(needsPractice(belowThreshold, Reference));
    EXPECT_TRUE(needsPractice(belowRequired, Foreign));
    EXPECT_FALSE(needsPractice(belowRequired, Reference));
    EXPECT_TRUE(needsPractice(zeroRequired, Foreign));
    EXPECT_FALSE(needsPractice(neverAnswered, Reference));
    EXPECT_TRUE(needsPractice(neverAnswered, Foreign));

    ExerciseOptions.RequiredScore = 0;
    EXPECT_FALSE(needsPractice(zeroRequired, Foreign));
    EXPECT_FALSE(needsPractice(neverAnswered, Foreign));
    // The thresholds are read at every call.
    ExerciseOptions.LevelThresholds[1] = 4;
    EXPECT_TRUE(needsPractice(zeroRequired, Foreign));
    EXPECT_EQ(4, list.Record(zeroRequired, Foreign).Threshold());
    EXPECT_EQ(0, list.Record(zeroRequired, Reference).Threshold());
}

TEST_F(ExercListTest, RecordingAnAnswerChangesTheWordAtOnce)
{
    Add(Fresh, {});
    const int word = Add({1, 1, 4, 0b0101}, {2, 0, 0, 0});
    uint8_t status = 9;
    TExercList list(List, true, status);
    List.Saved = true;
    list.BookAnswer(1, TDirection::Foreign, true);
    EXPECT_FALSE(List.Saved);
    EXPECT_EQ(2, List.GetScore1(word));
    EXPECT_EQ(5, List.GetCount1(word));
    EXPECT_EQ(0b01011u, List.GetHistory1(word));
    EXPECT_FALSE(list.Record(1, TDirection::Foreign).NeedsPractice());
    list.BookAnswer(1, TDirection::Reference, false);
    const TDirectionRecord reference = list.Record(1, TDirection::Reference);
    EXPECT_EQ(0, reference.Score());
    EXPECT_EQ(1, reference.Count());
    EXPECT_EQ(0u, reference.History());
}

TEST_F(ExercListTest, ShuffleDrawsOncePerEntryAndKeepsTheTotals)
{
    for (int i = 0; i < 5; ++i)
        Add({1, i % 2, 1, 1}, {});
    uint8_t status = 9;
    auto list = std::make_unique<TExercList>(List, true, status);
    TScriptedRandom random({2, 0, 2, 1, 0});
    auto shuffled = list->Shuffle();
    EXPECT_EQ((std::vector<int>{5, 4, 3, 2, 1}), random.Bounds);
    // 0 1 [2] 3 4 -> [0] 1 3 4 -> 1 3 [4] -> 1 [3] -> [1]
    EXPECT_EQ((std::vector<int>{2, 0, 4, 3, 1}), Entries(*shuffled));
    EXPECT_EQ(0, list->Count());
    EXPECT_EQ(list->NumRight, shuffled->NumRight);
    EXPECT_EQ(list->NumAnswered, shuffled->NumAnswered);
    EXPECT_EQ(list->Progress, shuffled->Progress);
    EXPECT_EQ(list->ProgressTotal, shuffled->ProgressTotal);
    EXPECT_TRUE(shuffled->Exercise);
    EXPECT_EQ(&List, shuffled->GetWordList());
}

TEST_F(ExercListTest, ShuffleOfALargeListMatchesDrawingFromAShrinkingList)
{
    std::deque<int> script;
    std::vector<int> expected;
    std::vector<int> remaining;
    for (int i = 0; i < 300; ++i) {
        Add(Fresh, {});
        remaining.push_back(i);
    }
    for (int left = 300; left > 0; --left) {
        const int j = (left * 7 + 3) % left;
        script.push_back(j);
        expected.push_back(remaining[static_cast<size_t>(j)]);
        remaining.erase(remaining.begin() + j);
    }
    uint8_t status = 9;
    TExercList list(List, false, status);
    TScriptedRandom random(script);
    EXPECT_EQ(expected, Entries(*list.Shuffle()));
}

TEST_F(ExercListTest, FilterByPartOfSpeechLessonAndSound)
{
    Add(Fresh, {}, "Noun", "Les 1");
    Add(Fresh, {}, "verb", "Les 2");
    Add(Fresh, {}, "", "Les 1");
    Add(Fresh, {}, "noun", "");
    Add(Fresh, {}, "NOUN", "les 1");
    List.SetSound(4, 0, 10);
    uint8_t status = 9;
    TExercList list(List, true, status);

    const auto nouns = Strings({"noun"});
    const auto lesson1 = Strings({"LES 1"});
    EXPECT_EQ(2, list.CountFiltered(nouns, lesson1, false));
    EXPECT_EQ(1, list.CountFiltered(nouns, lesson1, true));
    EXPECT_EQ(1, list.CountFiltered(Strings({""}), lesson1, false));
    EXPECT_EQ(0, list.CountFiltered(Strings({"Noun", "verb"}), Strings({"Les 1 "}), false));
    EXPECT_EQ(3, list.CountFiltered(Strings({"Noun", "verb"}), Strings({"Les 1", "Les 2"}), false));
    EXPECT_EQ(5, list.Count());

    const auto all = Strings({"", "verb", "noun"});
    const auto lessons = Strings({"", "les 1"});
    const int counted = list.CountFiltered(all, lessons, false);
    list.ApplyFilter(all, lessons, false);
    EXPECT_EQ(counted, list.Count());
    EXPECT_EQ((std::vector<int>{0, 2, 3, 4}), Entries(list));
}

TEST_F(ExercListTest, DistinctPartsOfSpeechAndLessonsKeepTheFirstSpelling)
{
    Add(Fresh, {}, "noun", "b");
    Add(Fresh, {}, "Verb", "");
    Add(Fresh, {}, "NOUN", "B");
    Add(Fresh, {}, "adj", "a");
    Add({}, {}, "zzz", "zzz");
    uint8_t status = 9;
    const TExercList list(List, false, status);
    const auto parts = list.PartsOfSpeechList();
    ASSERT_EQ(3, parts.Count());
    EXPECT_EQ("adj", parts[0]);
    EXPECT_EQ("noun", parts[1]);
    EXPECT_EQ("Verb", parts[2]);
    const auto lessons = list.LessonsList();
    ASSERT_EQ(3, lessons.Count());
    EXPECT_EQ("", lessons[0]);
    EXPECT_EQ("a", lessons[1]);
    EXPECT_EQ("b", lessons[2]);
    EXPECT_FALSE(list.AnyWithSound());
    List.SetSound(3, 0, 4);
    EXPECT_TRUE(list.AnyWithSound());
    EXPECT_TRUE(list.HasSound(3));
    EXPECT_FALSE(list.HasSound(2));
}

TEST_F(ExercListTest, ChoicesWithoutCandidatesHoldOnlyTheWordAsked)
{
    Add(Fresh, {});
    Add({}, {});
    uint8_t status = 9;
    const TExercList list(List, true, status);
    TScriptedRandom random({3});
    const TChoices choices = list.GetChoices(0);
    EXPECT_EQ((std::vector<int>{4}), random.Bounds);
    EXPECT_EQ(0, choices.CorrectPos);
    EXPECT_EQ((std::array<int, 4>{0, -1, -1, -1}), choices.Choices);
}

TEST_F(ExercListTest, ChoicesComeFromTheBucketsInOrder)
{
    const int asked = Add(Fresh, {}, "zn", "1");
    const int otherLesson = Add({}, {2, 0, 0, 0}, "zn", "2");
    Add(Fresh, {}, "ww", "2");
    const int otherPart = Add(Fresh, {}, "Zn", "1");
    const int same = Add(Learned, {}, "zn", "1");
    Add({}, {}, "zn", "1");
    Add(Fresh, {}, "ww", "3");
    uint8_t status = 9;
    // A word outside the list (learned) is a candidate too.
    const TExercList list(List, true, status);
    ASSERT_EQ(asked, list.Item(0).WordIndex);
    TScriptedRandom random({2});
    const TChoices choices = list.GetChoices(0);
    // Buckets of one make no draw; the fourth bucket is never reached.
    EXPECT_EQ((std::vector<int>{4}), random.Bounds);
    EXPECT_EQ(2, choices.CorrectPos);
    EXPECT_EQ((std::array<int, 4>{same, otherLesson, asked, otherPart}), choices.Choices);
}

TEST_F(ExercListTest, ChoicesDrawWithinABucketAndPlaceTheAnswer)
{
    const int asked = Add(Fresh, {}, "zn", "1");
    std::vector<int> same;
    for (int i = 0; i < 5; ++i)
        same.push_back(Add(Fresh, {}, "zn", "1"));
    // Duplicated texts are not left out.
    List.SetRefWord(2, List.GetRefWord(1));
    uint8_t status = 9;
    const TExercList list(List, false, status);
    for (int correctDraw = 0; correctDraw < 4; ++correctDraw) {
        TScriptedRandom random({4, 0, 1, correctDraw});
        const TChoices choices = list.GetChoices(0);
        EXPECT_EQ((std::vector<int>{5, 4, 3, 4}), random.Bounds);
        // [1 2 3 4 5]: take 5, then [1 2 3 4]: take 1, then [2 3 4]: take 3.
        std::vector<int> expected{same[4], same[0], same[2]};
        expected.insert(expected.begin() + correctDraw, asked);
        EXPECT_EQ(correctDraw, choices.CorrectPos);
        EXPECT_EQ(expected, std::vector<int>(choices.Choices.begin(), choices.Choices.end()));
    }
}

TEST_F(ExercListTest, ChoicesWithFewCandidatesLeaveTheLastSlotsEmpty)
{
    Add(Fresh, {}, "zn", "1");
    const int a = Add(Fresh, {}, "ww", "9");
    const int b = Add(Fresh, {}, "ww", "8");
    uint8_t status = 9;
    const TExercList list(List, true, status);
    struct TCase
    {
        int Draw;
        int CorrectPos;
        std::array<int, 4> Choices;
    };
    const TCase cases[] = {
            {0, 0, {0, b, a, -1}},
            {1, 1, {b, 0, a, -1}},
            {2, 2, {b, a, 0, -1}},
            {3, 2, {b, a, 0, -1}},
    };
    for (const TCase &c : cases) {
        TScriptedRandom random({1, c.Draw});
        const TChoices choices = list.GetChoices(0);
        EXPECT_EQ((std::vector<int>{2, 4}), random.Bounds);
        EXPECT_EQ(c.CorrectPos, choices.CorrectPos) << c.Draw;
        EXPECT_EQ(c.Choices, choices.Choices) << c.Draw;
    }

    TWordList small;
    TListBuilder(small).Words(2, "x", "y").Levels(0, 1);
    const TExercList two(small, false, status);
    for (int draw = 0; draw < 4; ++draw) {
        TScriptedRandom random({draw});
        const TChoices choices = two.GetChoices(1);
        EXPECT_EQ(std::min(draw, 1), choices.CorrectPos);
        EXPECT_EQ(1, choices.Choices[static_cast<size_t>(choices.CorrectPos)]);
        EXPECT_EQ(0, choices.Choices[static_cast<size_t>(1 - choices.CorrectPos)]);
        EXPECT_EQ(-1, choices.Choices[2]);
        EXPECT_EQ(-1, choices.Choices[3]);
    }
}

TEST_F(ExercListTest, ExtractSoundCopiesExactlyTheWordsBytes)
{
    WriteFile(List.SoundTempFile, "0123456789abcdefghij");
    Add(Fresh, {});
    Add(Fresh, {});
    Add(Fresh, {});
    Add(Fresh, {});
    List.SetSound(0, 2, 12);
    List.SetSound(1, 15, 3);
    List.SetSound(3, 18, 9);
    uint8_t status = 9;
    const TExercList list(List, true, status);
    std::string fileName = "unchanged";
    ASSERT_TRUE(list.ExtractSound(0, fileName));
    EXPECT_EQ(List.RecordTempFile, fileName);
    EXPECT_EQ("23456789abcd", ReadFile(fileName));
    ASSERT_TRUE(list.ExtractSound(1, fileName));
    EXPECT_EQ("fgh", ReadFile(fileName));

    fileName = "unchanged";
    EXPECT_FALSE(list.ExtractSound(2, fileName));
    // A sound beyond the end of the store is not read.
    EXPECT_FALSE(list.ExtractSound(3, fileName));
    EXPECT_EQ("unchanged", fileName);
}

TEST_F(ExercListTest, AFreshRecordingReachesTheStoreBeforeTheRun)
{
    WriteFile(List.SoundTempFile, "stored");
    WriteFile(List.RecordTempFile, "recording");
    Add(Fresh, {});
    Add(Fresh, {});
    List.SetSound(0, 0, 6);
    List.SetSound(1, -1, -1);
    uint8_t status = 9;
    const TExercList list(List, true, status);
    ASSERT_NE(nullptr, List.GetSound(1));
    EXPECT_EQ(6, List.GetSound(1)->Offset);
    EXPECT_EQ(9, List.GetSound(1)->Size);
    std::string fileName;
    ASSERT_TRUE(list.ExtractSound(0, fileName));
    EXPECT_EQ("stored", ReadFile(fileName));
    ASSERT_TRUE(list.ExtractSound(1, fileName));
    EXPECT_EQ("recording", ReadFile(fileName));
}

TEST_F(ExercListTest, ARecordingThatCannotBeStoredIsNeverOverwritten)
{
    WriteFile(List.RecordTempFile, "recording");
    Add(Fresh, {});
    Add(Fresh, {});
    List.SetSound(1, -1, -1);
    // The store cannot be opened: the recording stays where it is.
    const QString store = QString::fromStdString(List.SoundTempFile);
    ASSERT_TRUE(QFile::remove(store));
    ASSERT_TRUE(QDir().mkdir(store));
    List.SetSound(0, 0, 1);
    uint8_t status = 9;
    const TExercList list(List, true, status);
    std::string fileName = "unchanged";
    EXPECT_FALSE(list.ExtractSound(0, fileName));
    EXPECT_FALSE(list.ExtractSound(1, fileName));
    EXPECT_EQ("unchanged", fileName);
    EXPECT_EQ("recording", ReadFile(List.RecordTempFile));
    EXPECT_EQ(-1, List.GetSound(1)->Offset);
    QDir().rmdir(store);
}

TEST_F(ExercListTest, TheTotalsFollowTheWindowOfTheFiveNewestAnswers)
{
    struct TCase
    {
        TRecord Before;
        bool Right;
        int RightChange;
        int AnsweredChange;
        int ProgressChange;
    };
    // Level 2 needs four right answers. Below five answers each one counts; at five the oldest
    // (bit 4) leaves as the new one enters.
    const TCase cases[] = {
            {{2, 1, 4, 0b1111}, true, 1, 1, 1},   {{2, 1, 4, 0b1111}, false, 0, 1, 0},
            {{2, 0, 0, 0}, true, 1, 1, 1},        {{2, 3, 5, 0b10000}, true, 0, 0, 1},
            {{2, 3, 5, 0b01111}, true, 1, 0, 1},  {{2, 3, 5, 0b10000}, false, -1, 0, 0},
            {{2, 3, 5, 0b01111}, false, 0, 0, 0}, {{2, 4, 5, 0b11111}, true, 0, 0, 0},
            {{2, 9, 5, 0b00000}, true, 1, 0, 0},
    };
    for (const TCase &c : cases) {
        TWordList words;
        // The other direction is counted in the totals but never touched.
        TListBuilder(words).Word("f", "r", "").Records({1, 0, 3, 0b110}, c.Before);
        uint8_t status = 9;
        TExercList list(words, true, status);
        ASSERT_EQ(1, list.Count());
        const int right = list.NumRight;
        const int answered = list.NumAnswered;
        const int progress = list.Progress;
        const int total = list.ProgressTotal;
        list.BookAnswer(0, TDirection::Reference, c.Right);
        SCOPED_TRACE(testing::Message() << "count " << c.Before.Count << " history "
                                        << c.Before.History << (c.Right ? " right" : " wrong"));
        EXPECT_EQ(right + c.RightChange, list.NumRight);
        EXPECT_EQ(answered + c.AnsweredChange, list.NumAnswered);
        EXPECT_EQ(progress + c.ProgressChange, list.Progress);
        EXPECT_EQ(total, list.ProgressTotal);
        EXPECT_EQ((TRecord{1, 0, 3, 0b110}), Shown(list.Record(0, TDirection::Foreign)));
        const TRecord after{2, c.Before.Score + (c.Right ? 1 : 0), std::min(c.Before.Count + 1, 5),
                            c.Before.History * 2 + (c.Right ? 1U : 0U)};
        EXPECT_EQ(after, Shown(list.Record(0, TDirection::Reference)));
    }
}

TEST_F(ExercListTest, TheDirectionAskedAndTheEndOfATurn)
{
    // Both directions need practice; only the reference one; both enabled but learned.
    Add(Fresh, Fresh);
    Add(Learned, Fresh);
    Add(Learned, Learned);
    uint8_t status = 9;
    const TExercList test(List, false, status);
    TExercList exercise(List, true, status);
    ASSERT_EQ(3, test.Count());
    ASSERT_EQ(2, exercise.Count());

    TScriptedRandom random({1, 0, 1, 0});
    EXPECT_EQ(TDirection::Foreign, exercise.ChooseDirection(0));
    EXPECT_EQ(TDirection::Reference, exercise.ChooseDirection(0));
    EXPECT_EQ(TDirection::Reference, exercise.ChooseDirection(1));
    // A test asks any enabled direction, learned or not.
    EXPECT_EQ(TDirection::Foreign, test.ChooseDirection(2));
    EXPECT_EQ(TDirection::Reference, test.ChooseDirection(1));
    EXPECT_EQ((std::vector<int>{2, 2, 2, 2}), random.Bounds);
    EXPECT_TRUE(random.Script.empty());

    // One right answer learns the second word's reference direction (threshold 2, score 1, all
    // recent answers right): it leaves the list and the same index asks the next entry.
    List.SetScore2(1, 1);
    List.SetCount2(1, 4);
    List.SetHistory2(1, 0b1111);
    EXPECT_FALSE(exercise.Learned(1));
    EXPECT_EQ(2, exercise.EndTurn(1, true));
    exercise.BookAnswer(1, TDirection::Reference, true);
    EXPECT_TRUE(exercise.Learned(1));
    EXPECT_EQ(2, exercise.EndTurn(1, false));
    EXPECT_EQ(1, exercise.EndTurn(1, true));
    EXPECT_EQ((std::vector<int>{0}), Entries(exercise));
    EXPECT_EQ(1, exercise.EndTurn(0, true));

    // A level whose threshold is 0 practises nothing, yet its word offers alternatives.
    TWord word("f", "r", "");
    EXPECT_FALSE(HasAnyLevel(word));
    word.Level2 = 1;
    ExerciseOptions.LevelThresholds[1] = 0;
    EXPECT_TRUE(HasAnyLevel(word));
    EXPECT_FALSE(TDirectionRecord(word, TDirection::Reference).Enabled());
    EXPECT_FALSE(TDirectionRecord(word, TDirection::Reference).NeedsPractice());
}

TEST_F(ExercListTest, AWholeRunKeepsTheTotalsOfAFreshCount)
{
    ExerciseOptions.LevelThresholds = {0, 2, 3, 5};
    Add({1, 0, 0, 0}, {2, 1, 2, 0b10});
    Add({0}, {3, 4, 5, 0b10111});
    Add({2, 2, 5, 0b11110}, {1, 2, 5, 0b11011});
    Add({3, 1, 3, 0b001}, {0});
    Add({0}, {0});
    Add(Learned, {});
    uint8_t status = 9;
    auto list = std::make_unique<TExercList>(List, true, status);
    ASSERT_EQ(0, status);

    // Every fourth answer wrong.
    TCountingRandom random;
    int index = 0;
    int answers = 0;
    while (answers < 100) {
        const TDirection direction = list->ChooseDirection(index);
        EXPECT_TRUE(list->Record(index, direction).NeedsPractice());
        const bool right = answers % 4 != 3;
        list->BookAnswer(index, direction, right);
        ++answers;
        index = list->EndTurn(index, right);

        const TExercList fresh(List, true, status);
        SCOPED_TRACE(testing::Message() << "answer " << answers);
        EXPECT_EQ(fresh.NumRight, list->NumRight);
        EXPECT_EQ(fresh.NumAnswered, list->NumAnswered);
        EXPECT_EQ(fresh.Progress, list->Progress);
        EXPECT_EQ(fresh.ProgressTotal, list->ProgressTotal);
        EXPECT_EQ(fresh.Count(), list->Count());
        if (index < list->Count())
            continue;
        if (list->Count() == 0)
            break;
        list = list->Shuffle();
        index = 0;
    }
    EXPECT_EQ(0, list->Count());
    EXPECT_LT(answers, 100);
    EXPECT_EQ(list->ProgressTotal, list->Progress);
    EXPECT_EQ(0, TExercList(List, true, status).Count());
    EXPECT_EQ(2, status);
}
