#pragma once

#include "core/LoadHooks.h"
#include "core/Unit_LanguagePack.h"
#include "core/Unit_WordList.h"
#include "platform/FontCatalog.h"

#include <QString>
#include <cstdint>
#include <initializer_list>
#include <iosfwd>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

// A font catalogue that knows the faces a test gives it; a face supports every character set
// unless listed in NoFace with that set.
class TFakeFontCatalog : public IFontCatalog
{
public:
    TFakeFontCatalog();
    ~TFakeFontCatalog() override;

    std::vector<std::string> Families(int charset) const override;
    bool IsInstalled(const std::string &name) const override;
    bool Supports(const std::string &name, int charset) const override;

    std::set<std::string> Installed{"Arial", "Times New Roman"};
    // Faces that the catalogue resolves by a strong alias: installed, but not listed as families.
    std::set<std::string> Aliases;
    std::set<std::pair<std::string, int>> NoFace;

private:
    IFontCatalog *Previous;
};

// Load hooks that answer as told and record what they were asked.
class TRecordingHooks : public TLoadHooks
{
public:
    TRecordingHooks();
    ~TRecordingHooks() override;

    void ShowError(const QString &text) override;
    int WarnYesNo(const std::string &text) override;
    int ChangeFont(int &charsetIndex, std::string &fontName) override;
    int ConvertList(TWordList &list) override;

    std::vector<std::string> Errors;
    std::vector<std::string> Questions;
    int YesNoAnswer = 1;
    int ChangeFontResult = 2;
    std::string ChosenFont;
    int ChosenCharsetIndex = 0;
    int PresetCharsetIndex = -1;
    int ConvertResult = 1;
    int Conversions = 0;
};

// A language pack whose entry n reads "#n", installed for the lifetime of the object.
class TNumberedPack
{
public:
    TNumberedPack();
    ~TNumberedPack();
    void Set(int number, const std::string &text)
    {
        Pack.Entries[static_cast<size_t>(number)] = text;
    }
    void Set(TEntry entry, const std::string &text) { Set(static_cast<int>(entry), text); }

private:
    TLanguagePack Pack;
    TLanguagePack *Previous;
};

// What a window shows for an entry while the numbered pack is installed: "#" and its number.
std::string NumberedText(TEntry entry);
QString NumberedQText(TEntry entry);

// One of the language packs the program ships ("English", "Nederlands"), read from the source
// tree and installed for the lifetime of the object.
class TShippedPack
{
public:
    explicit TShippedPack(const std::string &name);
    ~TShippedPack();
    TShippedPack(const TShippedPack &) = delete;
    TShippedPack &operator=(const TShippedPack &) = delete;

    bool Loaded() const { return loaded; }

private:
    TLanguagePack Pack;
    TLanguagePack *Previous;
    bool loaded;
};

// Builds word-list bytes field by field.
class TListBytes
{
public:
    TListBytes &Str(const std::string &text);
    TListBytes &Int(int32_t value);
    TListBytes &Byte(uint8_t value);
    TListBytes &Raw(const std::string &bytes);
    // Signature and header of a list in the given format ("\r" separator included).
    TListBytes &Header(int format, const std::string &foreignChars = "ab|c");
    // A record in the layout of the format; sound is written for formats 2 and later.
    TListBytes &Record(int format, const std::string &forWord, const std::string &sound = {});

    std::string Bytes;
};

// One direction's learning record of a word.
struct TRecord
{
    uint8_t Level = 0;
    int32_t Score = 0;
    int32_t Count = 0;
    uint32_t History = 0;
    friend bool operator==(const TRecord &, const TRecord &) = default;
};
std::ostream &operator<<(std::ostream &out, const TRecord &record);
// The record of direction 1 or 2 of the word.
TRecord RecordOf(const TWord &word, int direction);
// The record after one more answer in a run: a right one scores (up to 30), every one counts (up
// to 5) and goes into the history.
TRecord Answered(TRecord before, bool right);

// Builds a word list word by word, in a list of its own that Take hands over or in one the test
// holds. PartOfSpeech, Context, Records and Levels shape every word the last Word or Words call
// added:
//
//   TListBuilder().Languages("Frans", 1, "Nederlands", 1).Words(3, "mot#", "woord").Take();
//   TListBuilder(List).Word("un", "een", "1").PartOfSpeech("zn").Records({1, 2, 5, 0x1F});
class TListBuilder
{
public:
    TListBuilder();
    explicit TListBuilder(TWordList &list);
    TListBuilder(const TListBuilder &) = delete;
    TListBuilder &operator=(const TListBuilder &) = delete;

    // Both languages with their character sets, each in Arial 10.
    TListBuilder &Languages(const std::string &forLanguage, uint8_t forCharset,
                            const std::string &refLanguage, uint8_t refCharset);
    TListBuilder &ForeignChars(const std::string &chars);
    TListBuilder &Word(const std::string &forWord, const std::string &refWord = "",
                       const std::string &lesson = "");
    // A "#" in a text stands for the index the word gets in the list.
    TListBuilder &Words(int count, const std::string &forWord, const std::string &refWord = "",
                        const std::string &lesson = "");
    // One word for each foreign word, with nothing else.
    TListBuilder &Words(std::initializer_list<std::string> forWords);
    TListBuilder &PartOfSpeech(const std::string &text);
    TListBuilder &Context(const std::string &text);
    TListBuilder &Records(const TRecord &one, const TRecord &two = {});
    // The exercise levels alone, of direction 1 and 2.
    TListBuilder &Levels(uint8_t one, uint8_t two = 0);

    TWordList &List() const { return *list; }
    // The index of the word added last.
    int Last() const { return list->Count() - 1; }
    std::unique_ptr<TWordList> Take();

private:
    template<typename Shape> TListBuilder &ShapeAdded(Shape shape);

    std::unique_ptr<TWordList> owned;
    TWordList *list;
    int firstAdded = 0;
};

// Words "mot0", "mot1"... meaning "woord", from French to Dutch.
std::unique_ptr<TWordList> FrenchList(int words, const std::string &foreignChars = "");

// Gives the word a sound whose bytes are appended to the list's store.
void GiveSound(TWordList &list, int index, const std::string &bytes);

std::string WriteFile(const std::string &path, const std::string &bytes);
std::string ReadFile(const std::string &path);
