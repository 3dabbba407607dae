#pragma once

#include "core/ListFont.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QBuffer;
class QIODevice;
struct TWordCompare;

// Where a word's pronunciation lies in the list's sound store. Offset and Size are both -1 while a
// fresh recording still lies in the recording file; a record of size 0 never exists.
struct TSoundRec
{
    int32_t Offset = -1;
    int32_t Size = -1;

    std::unique_ptr<TSoundRec> Clone() const { return std::make_unique<TSoundRec>(*this); }
};

struct TWord
{
    TWord(std::string forWord, std::string refWord, std::string lesson);

    std::unique_ptr<TWord> Clone() const;
    int RecentScore1() const;
    int RecentScore2() const;

    std::string ForWord;
    std::string RefWord;
    std::string PartOfSpeech;
    std::string Lesson;
    std::string Context;
    std::unique_ptr<TSoundRec> Sound;
    uint8_t Level1 = 0;
    int32_t Score1 = 0;
    int32_t Count1 = 0;
    uint32_t History1 = 0;
    uint8_t Level2 = 0;
    int32_t Score2 = 0;
    int32_t Count2 = 0;
    uint32_t History2 = 0;
    int32_t SortIndex = 0;
};

// Right answers a direction needs at its exercise level; 0 for a level that is off.
int LevelThreshold(int level);

// Columns and modes of TWordList::Find.
enum TFindColumn {
    FindForWord,
    FindRefWord,
    FindContext,
    FindPartOfSpeech,
    FindLesson
};
enum TFindMode {
    FindContains,
    FindEquals,
    FindBeginsWith
};

struct TFindResult
{
    int Row = -1;
    int Pos = -1;
};

// The trainer's word list: the words in display order, the two languages with their fonts, the
// foreign-characters string, and two temporary files: the recording file for a fresh recording
// and the sound store that holds the pronunciations of all words back to back.
class TWordList
{
public:
    // Creates both temporary files; throws EInOutError when one cannot be created.
    TWordList();
    ~TWordList();
    TWordList(const TWordList &) = delete;
    TWordList &operator=(const TWordList &) = delete;

    std::string FileName;
    std::string ForLanguage;
    std::unique_ptr<TListFont> ForFont;
    std::string RefLanguage;
    std::unique_ptr<TListFont> RefFont;
    std::string ForeignChars;
    std::string RecordTempFile;
    std::string SoundTempFile;
    bool Saved = false;

    int Count() const { return static_cast<int>(Words.size()); }
    TWord &Word(int index) { return *Words[static_cast<size_t>(index)]; }
    const TWord &Word(int index) const { return *Words[static_cast<size_t>(index)]; }

    void InitLanguages(const std::string &forLanguage, uint8_t forCharset,
                       const std::string &forFontName, int forSize, const std::string &refLanguage,
                       uint8_t refCharset, const std::string &refFontName, int refSize);

    const std::string &GetForWord(int index) const { return Word(index).ForWord; }
    const std::string &GetRefWord(int index) const { return Word(index).RefWord; }
    const std::string &GetPartOfSpeech(int index) const { return Word(index).PartOfSpeech; }
    const std::string &GetLesson(int index) const { return Word(index).Lesson; }
    const std::string &GetContext(int index) const { return Word(index).Context; }
    const TSoundRec *GetSound(int index) const { return Word(index).Sound.get(); }
    uint8_t GetLevel1(int index) const { return Word(index).Level1; }
    uint8_t GetLevel2(int index) const { return Word(index).Level2; }
    int32_t GetScore1(int index) const { return Word(index).Score1; }
    int32_t GetScore2(int index) const { return Word(index).Score2; }
    int32_t GetCount1(int index) const { return Word(index).Count1; }
    int32_t GetCount2(int index) const { return Word(index).Count2; }
    uint32_t GetHistory1(int index) const { return Word(index).History1; }
    uint32_t GetHistory2(int index) const { return Word(index).History2; }
    int GetRecentScore1(int index) const { return Word(index).RecentScore1(); }
    int GetRecentScore2(int index) const { return Word(index).RecentScore2(); }

    void SetForWord(int index, std::string text);
    void SetRefWord(int index, std::string text);
    void SetPartOfSpeech(int index, std::string text);
    void SetLesson(int index, std::string text);
    void SetContext(int index, std::string text);
    // Size 0 removes the word's sound.
    void SetSound(int index, int32_t offset, int32_t size);
    void SetLevel1(int index, uint8_t level);
    void SetLevel2(int index, uint8_t level);
    void SetScore1(int index, int32_t score);
    void SetScore2(int index, int32_t score);
    void SetCount1(int index, int32_t count);
    void SetCount2(int index, int32_t count);
    void SetHistory1(int index, uint32_t history);
    void SetHistory2(int index, uint32_t history);

    void SetForLanguage(const std::string &text);
    void SetRefLanguage(const std::string &text);
    void SetForeignChars(const std::string &text);
    void SetForFont(std::unique_ptr<TListFont> font);
    void SetRefFont(std::unique_ptr<TListFont> font);

    void Add(std::unique_ptr<TWord> word);
    void Insert(int index, std::unique_ptr<TWord> word);
    void InsertEmpty(int index);
    // Takes the word out of the list and hands it to the caller.
    [[nodiscard]] std::unique_ptr<TWord> Delete(int index);
    // Pasting, undoing and deleting many rows: the rows after the range move once, not once per
    // word. InsertRange puts the words before index in their order; DeleteRange takes count words
    // from index on out and hands them over in list order. Each leaves the words as they are and
    // the list as the single calls would; an empty range changes nothing.
    void InsertRange(int index, std::vector<std::unique_ptr<TWord>> words);
    [[nodiscard]] std::vector<std::unique_ptr<TWord>> DeleteRange(int index, int count);
    void Move(int from, int to);
    // Moves the count words from first on so that the first of them stands at index to, as the
    // run of single moves that drags the block there would, but in one pass over the words between.
    void Move(int first, int count, int to);

    void RecordAnswer1(int index, bool right);
    void RecordAnswer2(int index, bool right);

    // Appends a fresh recording to the sound store and points the word at it; any other word is
    // left alone. The store is extended before the word is, so a failed append (EInOutError)
    // leaves the word marked as a fresh recording.
    void StoreRecordedSound(int index);

    TFindResult Find(TFindResult start, int column, int mode, const std::string &text) const;
    // The file name without folder and extension, or the pack's name of a list without a file.
    QString GetListName() const;

    // Clipboard payloads of whole words and of one sound; see Unit_Clipboard. Fresh recordings
    // of the words copied are stored first. Failures of the sound store raise EInOutError; a
    // paste that raises leaves the list and the store as they were.
    [[nodiscard]] std::unique_ptr<QBuffer> CopyToStream(int first, int last);
    int PasteFromStream(QIODevice &stream, int index);
    [[nodiscard]] std::unique_ptr<QBuffer> CopySoundToStream(int index);
    void PasteSoundFromStream(QIODevice &stream, int index);

    // Reorders the whole list by one column; see Unit_Sort. Afterwards each word's SortIndex is
    // its position before the sort.
    void Sort(const TWordCompare &compare);
    // The words in their present order: what undoing a sort needs to give them their order back.
    std::vector<const TWord *> Order() const;
    // Puts the words back in the order before the last sort, as Order gave it then. Answers false
    // and changes nothing unless the list still holds exactly those words in that sort's order.
    bool RestoreOrder(const std::vector<const TWord *> &before);

    // Reading and writing word-list files; see Unit_WLFile.
    void LoadFromFile(const std::string &fileName, bool &ok, int &format);
    // Throws EInOutError when the file cannot be written; the list, its store and the file that
    // was there before are then unchanged.
    void SaveToFile(const std::string &fileName);

    // Text import and export; see Unit_TextFile.
    // Inserts at index the words of a word list of any format or, failing that, of tab-separated
    // text, and gives their number: 0 when the file does not exist. Throws EInOutError when the
    // file cannot be read or the sounds cannot be stored; nothing is inserted then.
    int ImportFile(int index, const std::string &fileName);
    // Throws EInOutError when the file cannot be written; a file that was there is then unchanged.
    void ExportTextFile(const std::string &fileName);

private:
    int FindCodePage(int column) const;

    std::vector<std::unique_ptr<TWord>> Words;
};
