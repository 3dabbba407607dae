#pragma once

#include "exercises/CaseInsensitiveStringList.h"
#include "exercises/DirectionRecord.h"

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

// The words one exercise or test asks, by index into a word list that must not change meanwhile,
// and the arithmetic of a run over them. A direction is enabled when its level gives a threshold
// of at least 1.
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

    // The learning record of the entry's word in one direction.
    TDirectionRecord Record(int index, TDirection direction) const;
    // The direction to ask the entry in: one that needs practice in an exercise, one that is
    // enabled in a test; a draw decides when both directions qualify.
    TDirection ChooseDirection(int index) const;
    // Books an exercise answer: the totals over the newest answers, then the word's record.
    void BookAnswer(int index, TDirection direction, bool right);
    // No enabled direction of the entry's word needs practice.
    bool Learned(int index) const;
    // Ends the entry's turn after an answer: a right answer that left the word learned takes the
    // entry out of the list. Gives the index of the entry to ask next (Count() after the last).
    int EndTurn(int index, bool right);

    CaseInsensitiveStringList PartsOfSpeechList() const;
    CaseInsensitiveStringList LessonsList() const;
    bool AnyWithSound() const;

    const std::string &GetForWord(int index) const;
    const std::string &GetRefWord(int index) const;
    const std::string &GetContext(int index) const;
    const std::string &GetPartOfSpeech(int index) const;
    const std::string &GetLesson(int index) const;
    bool HasSound(int index) const;

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
