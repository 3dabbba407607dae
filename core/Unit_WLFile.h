#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QIODevice;
class TStreamReader;
class TStreamWriter;
struct TWord;
class TWordList;

// The signatures that open a word-list file, one per format (1..5). They share their first 20
// bytes, a readable name and a line break, so no text importer takes a word list for text.
constexpr size_t SignatureLength = 21;
constexpr int LatestFormat = 5;
std::string Signature(int format);

// The eight bytes of a word's learning record: two levels, two scores, two counts and the low
// bytes of the two histories. False when the stream ends or a level is out of range.
constexpr size_t CountersBytes = 8;
bool ReadCounters(TStreamReader &in, TWord &word);
void WriteCounters(TStreamWriter &out, const TWord &word);

// Results of TWLFile::ReadBody and TWLFile::LoadList.
enum TReadResult {
    ReadOk = 0,
    ReadCancelled = 1,
    ReadNotAWordList = 2
};
enum TLoadResult {
    LoadUnchanged = 0,
    LoadChanged = 1,
    LoadCancelled = 2,
    LoadNotAWordList = 3
};

// The sound store that writing a list produced, and where each word's sound lies in it (-1 for a
// word without a sound). The list takes it over only after the file is safely written. An empty
// Path means the list's own store already held exactly its sounds in order and stays in use.
struct TWrittenStore
{
    std::string Path;
    std::vector<int32_t> Offsets;
};

// Reads word lists of every format from a device opened for reading, and writes format 5 to a
// device opened for writing. Failures of the file layer raise EInOutError.
class TWLFile
{
public:
    explicit TWLFile(QIODevice &device);
    ~TWLFile();
    TWLFile(const TWLFile &) = delete;
    TWLFile &operator=(const TWLFile &) = delete;

    // Fills an empty list: ReadOk, ReadCancelled (the user cancelled a conversion) or
    // ReadNotAWordList.
    int ReadBody(TWordList &list, bool &forFontInstalled, bool &forFontHasFace,
                 bool &refFontInstalled, bool &refFontHasFace, int &format);
    // ReadBody, then the questions about missing fonts: a TLoadResult.
    int LoadList(TWordList &list, int &format);
    // Writes the list, its live sounds copied from the list's store, and a new store holding
    // exactly those sounds back to back. Recordings must be stored first.
    TWrittenStore WriteList(const TWordList &list);

    // Text import and export; see Unit_TextFile.
    // Inserts the words of a word list of any format, or else of tab-separated text, at index;
    // the number inserted.
    int ImportList(int index, TWordList &list);
    void ExportText(const TWordList &list);
    // A TTextFieldEnd; text holds the bytes before the end.
    int ReadTextField(std::string &text);
    void WriteText(const std::string &text);
    void WriteTab();
    void WriteLineEnd();

private:
    int ImportWordList(int index, TWordList &target, TWordList &source);
    int ImportText(int index, TWordList &list);
    bool TextIsUtf8();
    bool RefillText();
    TStreamWriter &TextOut();

    QIODevice &Device;
    // The block of text being read, and the next byte to take from it.
    std::vector<char> TextBuffer;
    size_t TextNext = 0;
    size_t TextEnd = 0;
    // Bytes a text field may have before ReadTextField gives TextTooLong.
    size_t TextFieldLimit = 1000;
    std::unique_ptr<TStreamWriter> TextWriter;
};
