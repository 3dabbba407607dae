#include "core/Unit_GlobalSettings.h"
#include "core/Unit_Sort.h"
#include "core/Unit_WordList.h"
#include "support/WordListFixtures.h"

#include "platform/CodePage.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <random>

namespace {

constexpr uint8_t AnsiCharset = 0;
constexpr uint8_t RussianCharset = 204;

// Every sort runs under the C locale, as containers and minimal systems have it, and under real
// ones, whatever the machine's is: the order must be the same under each.
class Sort : public ::testing::TestWithParam<const char *>
{
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QString::fromLatin1(GetParam()))); }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }

    std::vector<std::string> RefWords() const
    {
        std::vector<std::string> texts;
        for (int i = 0; i < List.Count(); ++i)
            texts.push_back(List.GetRefWord(i));
        return texts;
    }

    std::vector<std::string> ForWords() const
    {
        std::vector<std::string> texts;
        for (int i = 0; i < List.Count(); ++i)
            texts.push_back(List.GetForWord(i));
        return texts;
    }

    TWordList List;
    TListBuilder Add{List};
};

} // namespace

INSTANTIATE_TEST_SUITE_P(Locales, Sort, ::testing::Values("C", "nl_NL", "en_US"),
                         [](const auto &info) { return std::string(info.param); });

// More words than a quicksort orders by insertion, so an unstable sort would show.
TEST_P(Sort, EqualTextsKeepTheirOrderAndTheListIsUnsavedEvenWhenNothingMoved)
{
    std::vector<std::string> before;
    for (int i = 0; i < 200; ++i) {
        Add.Word("same", std::to_string(i));
        before.push_back(std::to_string(i));
    }
    List.Saved = true;
    List.Sort(CompareForWord);
    EXPECT_EQ(before, RefWords());
    EXPECT_FALSE(List.Saved);
    List.Sort(CompareLesson);
    EXPECT_EQ(before, RefWords());
}

TEST_P(Sort, EachTextColumnSortsByItsOwnField)
{
    for (const char *key : {"c", "a", "d", "b"})
        Add.Word("", key);
    const std::vector<std::string> texts{"c", "a", "d", "b"};
    // Each field holds a rotation of the keys, so sorting by the wrong one gives another order.
    for (int i = 0; i < 4; ++i) {
        TWord &word = List.Word(i);
        word.ForWord = texts[static_cast<size_t>((i + 1) % 4)];
        word.Context = texts[static_cast<size_t>((i + 2) % 4)];
        word.PartOfSpeech = texts[static_cast<size_t>((i + 3) % 4)];
        word.Lesson = texts[static_cast<size_t>(i)] + "x";
    }
    auto field = [&](auto get) {
        std::vector<std::string> values;
        for (int i = 0; i < List.Count(); ++i)
            values.push_back(get(List.Word(i)));
        return values;
    };
    const std::vector<std::string> sorted{"a", "b", "c", "d"};
    List.Sort(CompareRefWord);
    EXPECT_EQ(sorted, field([](const TWord &w) { return w.RefWord; }));
    List.Sort(CompareForWord);
    EXPECT_EQ(sorted, field([](const TWord &w) { return w.ForWord; }));
    List.Sort(CompareContext);
    EXPECT_EQ(sorted, field([](const TWord &w) { return w.Context; }));
    List.Sort(ComparePartOfSpeech);
    EXPECT_EQ(sorted, field([](const TWord &w) { return w.PartOfSpeech; }));
    List.Sort(CompareLesson);
    EXPECT_EQ((std::vector<std::string>{"ax", "bx", "cx", "dx"}),
              field([](const TWord &w) { return w.Lesson; }));
}

TEST_P(Sort, TextsFollowTheLocalesCollationNotTheirBytes)
{
    Add.Languages("Frans", AnsiCharset, "Nederlands", AnsiCharset)
            .Words({"b", "f", "10", "A", "\xE9t\xE9", "_x", "a", "B", "eta", "9", "ete", "Z"});
    List.Sort(CompareForWord);
    EXPECT_EQ((std::vector<std::string>{"_x", "10", "9", "a", "A", "b", "B", "eta", "ete",
                                        "\xE9t\xE9", "f", "Z"}),
              ForWords());
}

// The user's own locale decides where it has rules of its own: Swedish puts a-umlaut after z.
TEST(SortLocale, TheUsersLocaleCollatesWhereItHasRulesOfItsOwn)
{
    TWordList list;
    list.InitLanguages("Zweeds", AnsiCharset, "Arial", 10, "Nederlands", AnsiCharset, "Arial", 10);
    for (const char *text : {"zon", "\xE4rm", "arm"})
        list.Add(std::make_unique<TWord>(text, "", ""));
    auto sorted = [&](const QLocale &locale) {
        QLocale::setDefault(locale);
        list.Sort(CompareForWord);
        std::vector<std::string> texts;
        for (int i = 0; i < list.Count(); ++i)
            texts.push_back(list.GetForWord(i));
        return texts;
    };
    EXPECT_EQ((std::vector<std::string>{"arm", "zon", "\xE4rm"}),
              sorted(QLocale(QLocale::Swedish)));
    EXPECT_EQ((std::vector<std::string>{"arm", "\xE4rm", "zon"}), sorted(QLocale::c()));
    EXPECT_EQ((std::vector<std::string>{"arm", "\xE4rm", "zon"}), sorted(QLocale(QLocale::Dutch)));
    QLocale::setDefault(QLocale::system());
}

TEST_P(Sort, TextsAreDecodedWithTheCodePageOfTheirColumnsFont)
{
    // E5 E6 B8 are Cyrillic e, zhe and io in the Russian code page; io sorts between the other
    // two although its byte is the smallest. In the Western code page they are a ring, ae and a
    // cedilla, which sorts first.
    Add.Languages("Frans", AnsiCharset, "Russisch", RussianCharset);
    for (const char *text : {"\xE6", "\xB8", "\xE5"})
        Add.Word(text, text);
    List.Sort(CompareRefWord);
    EXPECT_EQ((std::vector<std::string>{"\xE5", "\xB8", "\xE6"}), RefWords());
    List.Sort(CompareForWord);
    EXPECT_EQ((std::vector<std::string>{"\xB8", "\xE5", "\xE6"}), ForWords());
}

TEST_P(Sort, SoundsComeFirstAndEachGroupKeepsItsOrder)
{
    for (int i = 0; i < 60; ++i) {
        Add.Word(std::to_string(i));
        if (i % 3 == 0)
            List.SetSound(i, i * 10, 10);
    }
    List.Sort(CompareSound);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(std::to_string(3 * i), List.GetForWord(i));
    std::vector<std::string> rest;
    for (int i = 0; i < 60; ++i) {
        if (i % 3 != 0)
            rest.push_back(std::to_string(i));
    }
    const std::vector<std::string> after = ForWords();
    EXPECT_EQ(rest, std::vector<std::string>(after.begin() + 20, after.end()));
}

TEST_P(Sort, LevelsSortQuickNormalIntensiveThenOff)
{
    const uint8_t levels[] = {0, 3, 1, 2, 0, 1};
    for (int i = 0; i < 6; ++i)
        Add.Word(std::to_string(i)).Levels(levels[i], levels[5 - i]);
    List.Sort(CompareLevel1);
    EXPECT_EQ((std::vector<std::string>{"2", "5", "3", "1", "0", "4"}), ForWords());
    // Ties keep the order the previous sort left.
    List.Sort(CompareLevel2);
    EXPECT_EQ((std::vector<std::string>{"3", "0", "2", "4", "5", "1"}), ForWords());
}

TEST_P(Sort, ScoreOrdersByRecentScoreThenProgressWithWordsOffLast)
{
    ExerciseOptions.LevelThresholds = {0, 2, 4, 6};
    // Both directions off: last, whatever its answers.
    Add.Word("off").Records({0, 0, 0, 0});
    // Recent score 4 + 2 = 6 with no progress.
    Add.Word("recent 6").Records({1, 0, 5, 0b01111}, {1, 0, 5, 0b00011});
    // Recent score 2 + 2 = 4 with full progress (8 of 4 counted as 4 of 4).
    Add.Word("recent 4").Records({1, 4, 5, 0b00011}, {1, 4, 5, 0b00011});
    // Direction 2 off: its recent score is direction 1's doubled, 2 * 2 = 4; progress 1 of 2.
    Add.Word("half").Records({1, 1, 5, 0b00011}, {0, 0, 5, 0b11111});
    // Direction 1 off: 2 * 2 = 4 again; progress 3 of 4.
    Add.Word("three quarters").Records({0, 0, 5, 0b11111}, {2, 3, 5, 0b00011});
    // Equal to "half" but for the answers of its direction that is off: stays behind it.
    Add.Word("half twin").Records({1, 1, 5, 0b00011}, {0, 0, 5, 0b00000});

    List.Sort(CompareScore);
    EXPECT_EQ((std::vector<std::string>{"half", "half twin", "three quarters", "recent 4",
                                        "recent 6", "off"}),
              ForWords());
}

TEST_P(Sort, ScoreKeepsTheOrderOfWordsThatAreAllOff)
{
    for (int i = 0; i < 40; ++i)
        Add.Word(std::to_string(i)).Records({0, 40 - i, i % 6, static_cast<uint32_t>(i)});
    const std::vector<std::string> before = ForWords();
    List.Sort(CompareScore);
    EXPECT_EQ(before, ForWords());
}

namespace {

// Texts that share long beginnings, differ in letter case or accents only, repeat exactly, hold
// bytes above 127 (some undefined in the code page) or are empty.
std::string RandomText(std::mt19937 &random, const std::vector<std::string> &earlier)
{
    static const std::vector<std::string> Pieces{"a",
                                                 "A",
                                                 "b",
                                                 "B",
                                                 "e",
                                                 "E",
                                                 "\xE9",
                                                 "\xC9",
                                                 "\xE8",
                                                 "\xDF",
                                                 "ss",
                                                 "\xE6",
                                                 "ae",
                                                 "\xC6",
                                                 "-",
                                                 "'",
                                                 " ",
                                                 "0",
                                                 "9",
                                                 "10",
                                                 "_",
                                                 ".",
                                                 "z",
                                                 "Z",
                                                 "\xE4",
                                                 "\xF6",
                                                 "o",
                                                 "le mot fran\xE7"
                                                 "ais ",
                                                 "woord ",
                                                 "\x81",
                                                 "\x9D",
                                                 "\xFF",
                                                 "\x80"};
    const unsigned choice = random() % 10;
    if (choice == 0 || (choice == 1 && !earlier.empty()))
        return choice == 0 || earlier.empty() ? std::string() : earlier[random() % earlier.size()];
    std::string text;
    for (unsigned n = random() % 9; n > 0; --n)
        text += Pieces[random() % Pieces.size()];
    if (choice == 2)
        text += static_cast<char>(0x80 + random() % 0x80);
    return text;
}

// The order the collation gives, written out plainly: the user's collation through Qt, a stable
// sort, so that equal texts keep their positions.
std::vector<int> CollatedOrder(const std::vector<std::string> &texts, int codePage)
{
    QCollator collator(SortCollationLocale());
    collator.setCaseSensitivity(Qt::CaseSensitive);
    std::vector<QCollatorSortKey> keys;
    for (const std::string &text : texts)
        keys.push_back(collator.sortKey(CodePage::ToUnicode(text, codePage)));
    std::vector<int> order(texts.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return keys[static_cast<size_t>(a)].compare(keys[static_cast<size_t>(b)]) < 0;
    });
    return order;
}

// What the list holds after sorting must be the words of before in the order expected.
void ExpectOrder(const TWordList &list, const std::vector<const TWord *> &before,
                 const std::vector<int> &expected, const char *column)
{
    const std::vector<const TWord *> after = list.Order();
    ASSERT_EQ(after.size(), expected.size());
    size_t wrong = 0;
    for (size_t i = 0; i < after.size(); ++i)
        wrong += after[i] != before[static_cast<size_t>(expected[i])] ? 1 : 0;
    EXPECT_EQ(wrong, 0u) << "positions out of order, sorted by " << column;
}

} // namespace

// Enough words that the keys are built on several threads, each of which meets more distinct
// texts than it remembers, and repeats of texts it no longer remembers; each text column is
// checked against the collation itself on texts full of ties, case pairs and bytes above 127, in
// code pages of one and two bytes.
TEST_P(Sort, EveryTextColumnOrdersAsTheCollationWithTiesInTheirOldOrder)
{
    constexpr int Words = 40000;
    constexpr uint8_t ChineseCharset = 134;
    Add.Languages("Frans", AnsiCharset, "Chinees", ChineseCharset);
    std::mt19937 random(1234);
    std::vector<std::string> earlier;
    for (int i = 0; i < Words; ++i) {
        TWord &word = Add.Word(RandomText(random, earlier)).List().Word(i);
        earlier.push_back(word.ForWord);
        word.RefWord = RandomText(random, earlier);
        word.Context = RandomText(random, earlier);
        word.PartOfSpeech = RandomText(random, earlier).substr(0, 4);
        word.Lesson = RandomText(random, earlier).substr(0, 2);
    }
    const struct
    {
        const TWordCompare &Compare;
        std::string TWord::*Text;
        int CodePage;
        const char *Name;
    } columns[]{{CompareRefWord, &TWord::RefWord, CodePage::ForCharset(ChineseCharset), "ref"},
                {CompareForWord, &TWord::ForWord, CodePage::Default, "foreign"},
                {CompareContext, &TWord::Context, CodePage::Default, "context"},
                {ComparePartOfSpeech, &TWord::PartOfSpeech, CodePage::Default, "part of speech"},
                {CompareLesson, &TWord::Lesson, CodePage::Default, "lesson"}};
    for (const auto &column : columns) {
        const std::vector<const TWord *> before = List.Order();
        std::vector<std::string> texts;
        for (const TWord *word : before)
            texts.push_back(word->*column.Text);
        List.Sort(column.Compare);
        ExpectOrder(List, before, CollatedOrder(texts, column.CodePage), column.Name);
    }
}

// The other columns against their rules written out as comparisons, on words with every level,
// sound or none, and answers that give equal recent scores and equal shares of progress; enough
// of them that the score is sorted on several threads.
TEST_P(Sort, SoundLevelAndScoreOrderAsTheirRulesWithTiesInTheirOldOrder)
{
    ExerciseOptions.LevelThresholds = {0, 2, 4, 6};
    std::mt19937 random(99);
    for (int i = 0; i < 25000; ++i) {
        TWord &word = Add.Word(std::to_string(i)).List().Word(i);
        word.Level1 = static_cast<uint8_t>(random() % 4);
        word.Level2 = static_cast<uint8_t>(random() % 4);
        word.Score1 = static_cast<int32_t>(random() % 8);
        word.Score2 = static_cast<int32_t>(random() % 8);
        word.Count1 = static_cast<int32_t>(random() % 6);
        word.Count2 = static_cast<int32_t>(random() % 6);
        word.History1 = static_cast<uint32_t>(random() % 32);
        word.History2 = static_cast<uint32_t>(random() % 32);
        if (random() % 3 == 0)
            word.Sound = std::make_unique<TSoundRec>(TSoundRec{i, 1});
    }
    const auto levelRank = [](uint8_t level) { return level == 0 ? 4 : int{level}; };
    const auto need = [](const TWord &word) {
        const int64_t needed = LevelThreshold(word.Level1) + LevelThreshold(word.Level2);
        const int64_t progress = std::min<int64_t>(needed, int64_t{word.Score1} + word.Score2);
        const int recent = word.Level1 == 0 ? 2 * word.RecentScore2()
                : word.Level2 == 0          ? 2 * word.RecentScore1()
                                            : word.RecentScore1() + word.RecentScore2();
        return std::tuple{needed, progress, recent};
    };
    using TLess = std::function<bool(const TWord &, const TWord &)>;
    const struct
    {
        const TWordCompare &Compare;
        TLess Less;
        const char *Name;
    } columns[]{{CompareSound, [](const TWord &a, const TWord &b) { return a.Sound && !b.Sound; },
                 "sound"},
                {CompareLevel1,
                 [&](const TWord &a, const TWord &b) {
                     return levelRank(a.Level1) < levelRank(b.Level1);
                 },
                 "level 1"},
                {CompareLevel2,
                 [&](const TWord &a, const TWord &b) {
                     return levelRank(a.Level2) < levelRank(b.Level2);
                 },
                 "level 2"},
                {CompareScore,
                 [&](const TWord &a, const TWord &b) {
                     const auto [neededA, progressA, recentA] = need(a);
                     const auto [neededB, progressB, recentB] = need(b);
                     if (neededA == 0 || neededB == 0)
                         return neededB == 0 && neededA > 0;
                     if (recentA != recentB)
                         return recentA < recentB;
                     return progressA * neededB < progressB * neededA;
                 },
                 "score"}};
    for (const auto &column : columns) {
        const std::vector<const TWord *> before = List.Order();
        std::vector<int> expected(before.size());
        for (size_t i = 0; i < expected.size(); ++i)
            expected[i] = static_cast<int>(i);
        std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) {
            return column.Less(*before[static_cast<size_t>(a)], *before[static_cast<size_t>(b)]);
        });
        List.Sort(column.Compare);
        ExpectOrder(List, before, expected, column.Name);
    }
}

TEST(SortOrder, RestoringTakesBackTheOrderBeforeTheLastSortOnlyWhileTheListHoldsItsWords)
{
    TWordList list;
    TListBuilder(list).Words({"c", "a", "b"});
    const std::vector<const TWord *> before = list.Order();
    list.Sort(CompareForWord);
    list.RecordAnswer1(0, true);
    list.Saved = true;
    ASSERT_TRUE(list.RestoreOrder(before));
    EXPECT_EQ(list.Order(), before);
    EXPECT_EQ(list.GetScore1(1), 1) << "the word keeps what it got after the sort";
    EXPECT_FALSE(list.Saved);

    list.Sort(CompareForWord);
    const std::vector<const TWord *> sorted = list.Order();
    EXPECT_FALSE(list.RestoreOrder({before[0], before[1]})) << "a word too few";
    std::vector<const TWord *> other = before;
    std::swap(other[0], other[2]);
    EXPECT_FALSE(list.RestoreOrder(other)) << "not the order of the last sort";
    list.Add(std::make_unique<TWord>("d", "", ""));
    std::vector<const TWord *> withNew = before;
    withNew.push_back(&list.Word(3));
    EXPECT_FALSE(list.RestoreOrder(withNew)) << "a word the sort did not see";
    list.Delete(3).reset();
    EXPECT_EQ(list.Order(), sorted);
}
