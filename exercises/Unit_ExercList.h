#pragma once

#include "exercises/CaseInsensitiveStringList.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TWordList;
struct TListFont;

struct TExercItem
{
    int WordIndex = 0;
};

// The four alternatives of a multiple-choice question as word indexes, -1 for an empty slot;
// Choices[CorrectPos] is the word asked.
struct TChoices
{
    int CorrectPos = 0;
    std::array<int, 4> Choices{-1, -1, -1, -1};
};

// The words one exercise or test asks, by index into a word list that must not change meanwhile.
// Direction 1 asks the foreign word, direction 2 the reference word; a direction is enabled when
// its level gives a threshold of at least 1.
class TExercList
{
public:
    // Status 0: some word was taken; 1: no word has an enabled direction; 2 (exercise only): every
    // word with an enabled direction is learned in all of them.
    TExercList(TWordList &wordList, bool exercise, uint8_t &status);
    TExercList(const TExercList &) = delete;
    TExercList &operator=(const TExercList &) = delete;

    TWordList *WordList;
    bool Exercise;
    // Over every word with an enabled direction (also those not taken): right answers and answers
    // among each direction's recent ones, and the capped and full right answers its levels need.
    int NumRight = 0;
    int NumAnswered = 0;
    int Progress = 0;
    int ProgressTotal = 0;

    int Count() const { return static_cast<int>(Items.size()); }
    const TExercItem &Item(int index) const { return Items[static_cast<size_t>(index)]; }
    void AddWord(int wordIndex);
    void Delete(int index);

    // A new list of the same words in random order, with the same totals; this list is emptied.
    [[nodiscard]] std::unique_ptr<TExercList> Shuffle();

    int CountFiltered(const CaseInsensitiveStringList &partsOfSpeech,
                      const CaseInsensitiveStringList &lessons, bool onlyWithSound) const;
    void ApplyFilter(const CaseInsensitiveStringList &partsOfSpeech,
                     const CaseInsensitiveStringList &lessons, bool onlyWithSound);

    TChoices GetChoices(int index) const;

    // Copies the entry's sound into the word list's recording file and names it in fileName;
    // false, with fileName unchanged, when there is no sound to copy or the copy fails.
    bool ExtractSound(int index, std::string &fileName) const;

    bool NeedsPractice1(int index) const;
    bool NeedsPractice2(int index) const;
    void RecordAnswer1(int index, bool right);
    void RecordAnswer2(int index, bool right);

    CaseInsensitiveStringList PartsOfSpeechList() const;
    CaseInsensitiveStringList LessonsList() const;
    bool AnyWithSound() const;

    const std::string &GetForWord(int index) const;
    const std::string &GetRefWord(int index) const;
    const std::string &GetContext(int index) const;
    const std::string &GetPartOfSpeech(int index) const;
    const std::string &GetLesson(int index) const;
    bool HasSound(int index) const;
    int GetScore1(int index) const;
    int GetCount1(int index) const;
    uint32_t GetHistory1(int index) const;
    int GetRecentScore1(int index) const;
    int GetThreshold1(int index) const;
    int GetScore2(int index) const;
    int GetCount2(int index) const;
    uint32_t GetHistory2(int index) const;
    int GetRecentScore2(int index) const;
    int GetThreshold2(int index) const;

    const std::string &GetForLanguage() const;
    const std::string &GetRefLanguage() const;
    const TListFont *GetForFont() const;
    const TListFont *GetRefFont() const;
    TWordList *GetWordList() const { return WordList; }

private:
    TExercList(TWordList *wordList, bool exercise);

    int WordOf(int index) const { return Items[static_cast<size_t>(index)].WordIndex; }
    bool Passes(int index, const CaseInsensitiveStringList &partsOfSpeech,
                const CaseInsensitiveStringList &lessons, bool onlyWithSound) const;
    void StoreFreshRecordings();

    std::vector<TExercItem> Items;
    // A fresh recording that could not be moved into the sound store still lies in the recording
    // file, which extracting a sound would overwrite.
    bool RecordingKept = false;
};
