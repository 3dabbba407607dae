#include "core/Unit_GlobalSettings.h"
#include "core/Unit_Sort.h"
#include "core/Unit_WordList.h"
#include "support/WordListFixtures.h"

#include <QLocale>
#include <gtest/gtest.h>

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
