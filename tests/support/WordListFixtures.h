#pragma once

#include "core/LoadHooks.h"
#include "core/Unit_LanguagePack.h"
#include "core/Unit_WordList.h"
#include "platform/FontCatalog.h"

#include <cstdint>
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

    void ShowError(const std::string &text) override;
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

private:
    TLanguagePack Pack;
    TLanguagePack *Previous;
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
void SetRecords(TWord &word, const TRecord &one, const TRecord &two);

std::string WriteFile(const std::string &path, const std::string &bytes);
std::string ReadFile(const std::string &path);
