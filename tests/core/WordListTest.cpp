#include "core/Unit_GlobalSettings.h"
#include "core/Unit_WordList.h"
#include "platform/CodePage.h"
#include "platform/TempFile.h"
#include "support/WordListFixtures.h"

#include <QFileInfo>
#include <functional>
#include <gtest/gtest.h>
#include <random>

namespace {

bool Exists(const std::string &path)
{
    return QFileInfo::exists(QString::fromStdString(path));
}

std::string ForWords(const TWordList &list)
{
    std::string texts;
    for (int i = 0; i < list.Count(); ++i)
        texts += (i > 0 ? " " : "") + list.GetForWord(i);
    return texts;
}

// Words as a paste or an undo brings them back: stamped by an earlier sort, with a sound.
constexpr int32_t EarlierSortIndex = 7;

std::vector<std::unique_ptr<TWord>> Words(std::initializer_list<const char *> forWords)
{
    std::vector<std::unique_ptr<TWord>> words;
    for (const char *text : forWords) {
        words.push_back(std::make_unique<TWord>(text, "", ""));
        words.back()->SortIndex = EarlierSortIndex;
        words.back()->Sound = std::make_unique<TSoundRec>(TSoundRec{3, 4});
    }
    return words;
}

} // namespace

TEST(Word, RecentScoreCountsTheLastFiveAnswersScaledToFive)
{
    TWord word("a", "b", "c");
    word.Count1 = 3;
    word.History1 = 0b101;
    EXPECT_EQ(3, word.RecentScore1());
    word.Count1 = 5;
    word.History1 = 0b11111;
    EXPECT_EQ(5, word.RecentScore1());
    word.Count1 = 0;
    word.History1 = 0b11111;
    EXPECT_EQ(5, word.RecentScore1());
    word.Count2 = 4;
    word.History2 = 0b1110 | (0xFFu << 5);
    EXPECT_EQ(3, word.RecentScore2());
    word.Count2 = 3;
    word.History2 = 0b001;
    EXPECT_EQ(1, word.RecentScore2());
    EXPECT_EQ(0, TWord("", "", "").RecentScore2());
}

TEST(Word, CloneCopiesEverythingAndOwnsItsOwnSound)
{
    TWord word("for", "ref", "les");
    word.PartOfSpeech = "noun";
    word.Context = "ctx";
    word.Sound = std::make_unique<TSoundRec>(TSoundRec{10, 20});
    word.Level1 = 3;
    word.Score2 = 7;
    word.History1 = 0x1FF;
    word.SortIndex = 42;
    auto copy = word.Clone();
    word.Sound->Offset = 99;
    EXPECT_EQ("for", copy->ForWord);
    EXPECT_EQ("noun", copy->PartOfSpeech);
    EXPECT_EQ("ctx", copy->Context);
    ASSERT_TRUE(copy->Sound);
    EXPECT_EQ(10, copy->Sound->Offset);
    EXPECT_EQ(20, copy->Sound->Size);
    EXPECT_EQ(3, copy->Level1);
    EXPECT_EQ(7, copy->Score2);
    EXPECT_EQ(0x1FFu, copy->History1);
    EXPECT_EQ(42, copy->SortIndex);
    EXPECT_FALSE(TWord("", "", "").Clone()->Sound);
}

TEST(WordList, RecordAnswerSaturatesAndShiftsTheHistory)
{
    TWordList list;
    TListBuilder(list).Words({"a"});
    list.SetScore1(0, 30);
    list.SetCount1(0, 5);
    list.SetHistory1(0, 0b1);
    list.Saved = true;
    list.RecordAnswer1(0, true);
    EXPECT_EQ(30, list.GetScore1(0));
    EXPECT_EQ(5, list.GetCount1(0));
    EXPECT_EQ(0b11u, list.GetHistory1(0));
    EXPECT_FALSE(list.Saved);
    list.RecordAnswer1(0, false);
    EXPECT_EQ(30, list.GetScore1(0));
    EXPECT_EQ(0b110u, list.GetHistory1(0));

    list.RecordAnswer2(0, false);
    EXPECT_EQ(0, list.GetScore2(0));
    EXPECT_EQ(1, list.GetCount2(0));
    EXPECT_EQ(0u, list.GetHistory2(0));
    for (int i = 0; i < 40; ++i)
        list.RecordAnswer2(0, true);
    EXPECT_EQ(30, list.GetScore2(0));
    EXPECT_EQ(5, list.GetCount2(0));
    EXPECT_EQ(0xFFFFFFFFu, list.GetHistory2(0));
}

TEST(WordList, LevelThresholdFollowsTheExerciseSettings)
{
    const auto saved = ExerciseOptions.LevelThresholds;
    ExerciseOptions.LevelThresholds = {9, 3, 5, 8};
    EXPECT_EQ(0, LevelThreshold(0));
    EXPECT_EQ(3, LevelThreshold(1));
    EXPECT_EQ(5, LevelThreshold(2));
    EXPECT_EQ(8, LevelThreshold(3));
    EXPECT_EQ(0, LevelThreshold(4));
    ExerciseOptions.LevelThresholds = saved;
}

TEST(WordList, StructuralChangesKeepOrderAndClearSaved)
{
    TWordList list;
    TListBuilder(list).Words({"a", "b", "c"});
    list.Saved = true;
    list.InsertEmpty(1);
    EXPECT_FALSE(list.Saved);
    EXPECT_EQ("", list.GetForWord(1));
    list.Move(0, 3);
    EXPECT_EQ("", list.GetForWord(0));
    EXPECT_EQ("a", list.GetForWord(3));
    list.Insert(0, std::make_unique<TWord>("z", "", ""));
    EXPECT_EQ("z", list.GetForWord(0));
    list.Saved = true;
    auto removed = list.Delete(0);
    EXPECT_FALSE(list.Saved);
    EXPECT_EQ("z", removed->ForWord);
    EXPECT_EQ(4, list.Count());
}

// Each bulk call against the run of single calls it stands for: the same order and Saved state,
// the very word objects moved with nothing about them changed, and an empty range changes nothing.
TEST(WordList, BulkInsertAndRemovalDoWhatRunsOfSingleCallsWould)
{
    TWordList bulk, single;
    TListBuilder(bulk).Words({"a", "b", "c", "d"});
    TListBuilder(single).Words({"a", "b", "c", "d"});
    auto insert = [&](int index, std::initializer_list<const char *> texts) {
        SCOPED_TRACE("insert at " + std::to_string(index));
        auto words = Words(texts);
        std::vector<const TWord *> objects;
        for (const auto &word : words)
            objects.push_back(word.get());
        bulk.Saved = single.Saved = true;
        bulk.InsertRange(index, std::move(words));
        int at = index;
        for (auto &word : Words(texts))
            single.Insert(at++, std::move(word));
        EXPECT_EQ(ForWords(single), ForWords(bulk));
        EXPECT_EQ(single.Saved, bulk.Saved);
        for (size_t i = 0; i < objects.size(); ++i)
            EXPECT_EQ(objects[i], &bulk.Word(index + static_cast<int>(i)));
    };
    auto remove = [&](int index, int count) {
        SCOPED_TRACE("remove at " + std::to_string(index));
        std::vector<const TWord *> objects;
        for (int i = 0; i < count; ++i)
            objects.push_back(&bulk.Word(index + i));
        bulk.Saved = single.Saved = true;
        const auto removed = bulk.DeleteRange(index, count);
        std::vector<std::unique_ptr<TWord>> singles;
        for (int i = 0; i < count; ++i)
            singles.push_back(single.Delete(index));
        EXPECT_EQ(ForWords(single), ForWords(bulk));
        EXPECT_EQ(single.Saved, bulk.Saved);
        ASSERT_EQ(singles.size(), removed.size());
        for (size_t i = 0; i < removed.size(); ++i) {
            EXPECT_EQ(objects[i], removed[i].get());
            EXPECT_EQ(singles[i]->ForWord, removed[i]->ForWord);
            EXPECT_EQ(singles[i]->SortIndex, removed[i]->SortIndex);
            EXPECT_EQ(singles[i]->Sound != nullptr, removed[i]->Sound != nullptr);
        }
    };
    insert(0, {"x", "y"});
    insert(bulk.Count(), {"z"});
    insert(3, {"p", "q", "r"});
    insert(2, {});
    EXPECT_EQ("x y a p q r b c d z", ForWords(bulk));
    remove(2, 3);
    remove(0, 1);
    remove(bulk.Count() - 2, 2);
    remove(1, 0);
    EXPECT_EQ("y r b c", ForWords(bulk));
    EXPECT_EQ(EarlierSortIndex, bulk.Word(0).SortIndex);
    EXPECT_EQ(3, bulk.GetSound(0)->Offset);
}

TEST(WordList, ARemovedWordOutlivesTheListAndTheTemporaryFilesGo)
{
    std::unique_ptr<TWord> removed;
    std::string recording, store;
    {
        TWordList list;
        recording = list.RecordTempFile;
        store = list.SoundTempFile;
        EXPECT_TRUE(Exists(recording));
        EXPECT_TRUE(Exists(store));
        EXPECT_NE(std::string::npos, recording.find("/ZRW"));
        EXPECT_NE(std::string::npos, store.find("/ZRS"));
        TListBuilder(list).Words({"keep", "other"});
        removed = list.Delete(0);
    }
    EXPECT_EQ("keep", removed->ForWord);
    EXPECT_FALSE(Exists(recording));
    EXPECT_FALSE(Exists(store));
}

TEST(WordList, SetSoundWithSizeZeroRemovesTheSound)
{
    TWordList list;
    TListBuilder(list).Words({"a"});
    list.SetSound(0, 5, 7);
    ASSERT_TRUE(list.GetSound(0));
    EXPECT_EQ(5, list.GetSound(0)->Offset);
    list.SetSound(0, -1, -1);
    EXPECT_EQ(-1, list.GetSound(0)->Size);
    list.Saved = true;
    list.SetSound(0, 3, 0);
    EXPECT_EQ(nullptr, list.GetSound(0));
    EXPECT_FALSE(list.Saved);
}

TEST(WordList, StoreRecordedSoundAppendsOnlyFreshRecordings)
{
    TWordList list;
    TListBuilder(list).Words({"stored", "fresh", "empty", "none"});
    WriteFile(list.SoundTempFile, "0123456789");
    list.SetSound(0, 2, 3);
    list.SetSound(1, -1, -1);
    list.SetSound(2, -1, -1);

    WriteFile(list.RecordTempFile, "NEW");
    list.StoreRecordedSound(0);
    EXPECT_EQ(2, list.GetSound(0)->Offset);
    EXPECT_EQ("0123456789", ReadFile(list.SoundTempFile));
    list.StoreRecordedSound(3);
    EXPECT_EQ(nullptr, list.GetSound(3));

    list.Saved = true;
    list.StoreRecordedSound(1);
    ASSERT_TRUE(list.GetSound(1));
    EXPECT_EQ(10, list.GetSound(1)->Offset);
    EXPECT_EQ(3, list.GetSound(1)->Size);
    EXPECT_EQ("0123456789NEW", ReadFile(list.SoundTempFile));
    EXPECT_FALSE(list.Saved);

    WriteFile(list.RecordTempFile, "");
    list.StoreRecordedSound(2);
    EXPECT_EQ(nullptr, list.GetSound(2));
    EXPECT_EQ("0123456789NEW", ReadFile(list.SoundTempFile));
}

TEST(WordList, AFailedStoreLeavesTheWordAFreshRecording)
{
    TWordList list;
    TListBuilder(list).Words({"fresh"});
    list.SetSound(0, -1, -1);
    const std::string store = list.SoundTempFile;
    list.SoundTempFile = "/nonexistent-folder/store.tmp";
    EXPECT_THROW(list.StoreRecordedSound(0), EInOutError);
    ASSERT_TRUE(list.GetSound(0));
    EXPECT_EQ(-1, list.GetSound(0)->Offset);
    list.SoundTempFile = store;
}

class WordListFind : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TListBuilder(list)
                .Languages("Frans", 0, "Nederlands", 0)
                .Words({"huis", "boom", "HUIS", "huisje", "", "huis", "thuis huis"});
    }
    TWordList list;
};

TEST_F(WordListFind, ContainsGoesOnFromThePositionAndIgnoresCase)
{
    auto hit = list.Find({0, 1}, FindForWord, FindContains, "Uis");
    EXPECT_EQ(0, hit.Row);
    EXPECT_EQ(2, hit.Pos);
    hit = list.Find({0, hit.Pos + 1}, FindForWord, FindContains, "uis");
    EXPECT_EQ(2, hit.Row);
    EXPECT_EQ(2, hit.Pos);
    hit = list.Find({6, 3}, FindForWord, FindContains, "uis");
    EXPECT_EQ(6, hit.Row);
    EXPECT_EQ(3, hit.Pos);
    hit = list.Find({6, 4}, FindForWord, FindContains, "uis");
    EXPECT_EQ(6, hit.Row);
    EXPECT_EQ(8, hit.Pos);
    hit = list.Find({6, 9}, FindForWord, FindContains, "uis");
    EXPECT_EQ(-1, hit.Row);
    EXPECT_EQ(-1, hit.Pos);
}

TEST_F(WordListFind, EqualsAndBeginsWithTestARowOnlyFromItsFirstPosition)
{
    auto hit = list.Find({0, 1}, FindForWord, FindEquals, "huis");
    EXPECT_EQ(0, hit.Row);
    hit = list.Find({0, 2}, FindForWord, FindEquals, "huis");
    EXPECT_EQ(2, hit.Row);
    EXPECT_EQ(1, hit.Pos);
    hit = list.Find({4, 2}, FindForWord, FindEquals, "huis");
    EXPECT_EQ(5, hit.Row);
    hit = list.Find({1, 1}, FindForWord, FindBeginsWith, "HUIS");
    EXPECT_EQ(2, hit.Row);
    hit = list.Find({2, 2}, FindForWord, FindBeginsWith, "huis");
    EXPECT_EQ(3, hit.Row);
    hit = list.Find({6, 1}, FindForWord, FindBeginsWith, "huis");
    EXPECT_EQ(-1, hit.Row);
}

TEST_F(WordListFind, AnEmptyTextOnlyEqualsAnEmptyField)
{
    EXPECT_EQ(-1, list.Find({0, 1}, FindForWord, FindContains, "").Row);
    EXPECT_EQ(-1, list.Find({0, 1}, FindForWord, FindBeginsWith, "").Row);
    EXPECT_EQ(4, list.Find({0, 1}, FindForWord, FindEquals, "").Row);
}

TEST_F(WordListFind, SearchesTheChosenColumn)
{
    list.SetRefWord(1, "tree");
    list.SetContext(3, "a small house");
    list.SetPartOfSpeech(5, "noun");
    list.SetLesson(6, "les 2");
    EXPECT_EQ(1, list.Find({0, 1}, FindRefWord, FindEquals, "TREE").Row);
    EXPECT_EQ(3, list.Find({0, 1}, FindContext, FindContains, "HOUSE").Row);
    EXPECT_EQ(5, list.Find({0, 1}, FindPartOfSpeech, FindBeginsWith, "no").Row);
    EXPECT_EQ(6, list.Find({0, 1}, FindLesson, FindContains, "2").Row);
}

TEST(WordListFindCodePages, AccentsMatchInTheirUpperCaseForm)
{
    TWordList list;
    TListBuilder(list).Languages("Frans", 0, "Nederlands", 0).Words({"caf\xE9"});
    const auto hit = list.Find({0, 1}, FindForWord, FindContains, "\xC9");
    EXPECT_EQ(0, hit.Row);
    EXPECT_EQ(4, hit.Pos);
}

TEST(WordListFindCodePages, ATrailByteOfADoubleByteCharacterIsNoHit)
{
    TWordList list;
    list.InitLanguages("Japans", 128, "Gothic", 10, "Nederlands", 0, "Arial", 10);
    TListBuilder(list).Words({"\x83\x41",
                              "\x83\x41"
                              "A"});
    const auto hit = list.Find({0, 1}, FindForWord, FindContains, "A");
    EXPECT_EQ(1, hit.Row);
    EXPECT_EQ(3, hit.Pos);
    EXPECT_EQ(-1, list.Find({1, 2}, FindForWord, FindContains, "\x41\x41").Row);
}

TEST(WordList, ListNameIsTheFileNameWithoutFolderAndExtension)
{
    TNumberedPack pack;
    TWordList list;
    EXPECT_EQ(NumberedQText(TEntry::NewListName), list.GetListName());
    list.FileName = "/data/lists/a.b.wdl";
    EXPECT_EQ("a.b", list.GetListName());
    list.FileName = "/data/French 1.wdl";
    EXPECT_EQ("French 1", list.GetListName());
}

TEST(WordList, SettersClearSaved)
{
    TWordList list;
    TListBuilder(list).Words({"a"});
    const std::vector<std::function<void()>> changes{
            [&] { list.SetForWord(0, "x"); },
            [&] { list.SetRefWord(0, "x"); },
            [&] { list.SetPartOfSpeech(0, "x"); },
            [&] { list.SetLesson(0, "x"); },
            [&] { list.SetContext(0, "x"); },
            [&] { list.SetLevel1(0, 2); },
            [&] { list.SetLevel2(0, 2); },
            [&] { list.SetScore1(0, 2); },
            [&] { list.SetScore2(0, 2); },
            [&] { list.SetCount1(0, 2); },
            [&] { list.SetCount2(0, 2); },
            [&] { list.SetHistory1(0, 2); },
            [&] { list.SetHistory2(0, 2); },
            [&] { list.SetForLanguage("x"); },
            [&] { list.SetRefLanguage("x"); },
            [&] { list.SetForeignChars("x"); },
            [&] { list.SetForFont(std::make_unique<TListFont>()); },
            [&] { list.SetRefFont(std::make_unique<TListFont>()); },
            [&] { list.InitLanguages("a", 0, "b", 1, "c", 0, "d", 1); },
    };
    for (size_t i = 0; i < changes.size(); ++i) {
        list.Saved = true;
        changes[i]();
        EXPECT_FALSE(list.Saved) << "change " << i;
    }
}

// The search compares byte by byte through each code page's upper case; it must find exactly
// what searching an upper-case copy of every text finds, in every mode and from every position.
TEST(WordListFindCodePages, EverySingleByteCodePageFindsWhatItsUpperCaseCopiesHold)
{
    std::mt19937 random(5);
    const std::string letters = "aAbB\xE0\xC0\xE9\xC9\xFF\xDF\xB5\xE6\xC6\x9A\x8A xX";
    for (const uint8_t charset : {uint8_t{0}, uint8_t{204}, uint8_t{161}, uint8_t{238}}) {
        TWordList list;
        list.InitLanguages("Een", charset, "Arial", 10, "Twee", 0, "Arial", 10);
        const int codePage = CodePage::ForCharset(charset);
        for (int i = 0; i < 300; ++i) {
            std::string text;
            for (unsigned n = random() % 7; n > 0; --n)
                text += letters[random() % letters.size()];
            list.Add(std::make_unique<TWord>(text, "", ""));
        }
        for (int round = 0; round < 200; ++round) {
            std::string wanted;
            for (unsigned n = 1 + random() % 2; n > 0; --n)
                wanted += letters[random() % letters.size()];
            const int mode = static_cast<int>(random() % 3);
            const TFindResult start{static_cast<int>(random() % 300),
                                    1 + static_cast<int>(random() % 4)};
            // The search written out plainly over upper-case copies.
            const std::string upper = CodePage::UpperCase(wanted, codePage);
            TFindResult expected;
            for (int row = start.Row, pos = start.Pos; row < list.Count() && expected.Row < 0;
                 ++row, pos = 1) {
                const std::string text = CodePage::UpperCase(list.GetForWord(row), codePage);
                if (mode == FindContains && static_cast<size_t>(pos - 1) <= text.size()) {
                    const size_t hit = text.find(upper, static_cast<size_t>(pos - 1));
                    if (hit != std::string::npos)
                        expected = {row, static_cast<int>(hit) + 1};
                } else if (pos == 1 && mode == FindEquals && text == upper) {
                    expected = {row, 1};
                } else if (pos == 1 && mode == FindBeginsWith && text.starts_with(upper)) {
                    expected = {row, 1};
                }
            }
            const TFindResult hit = list.Find(start, FindForWord, mode, wanted);
            EXPECT_EQ(hit.Row, expected.Row) << "code page " << codePage << " mode " << mode;
            EXPECT_EQ(hit.Pos, expected.Pos) << "code page " << codePage << " mode " << mode;
        }
    }
}
