#include "core/Unit_Constraints.h"
#include "core/Unit_LanguagePack.h"

#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

// The two packs that ship beside the program, checked as the program will read them.

namespace {

using Placeholders = std::set<std::string>;
using PlaceholderTable = std::map<int, Placeholders>;

// Every placeholder the program replaces, by entry number; an entry not listed takes none.
const PlaceholderTable &SetupPlaceholders()
{
    static const PlaceholderTable table = {
            {11, {"%v%"}},
            {29, {"%dn%"}},
            {31, {"%f%"}},
    };
    return table;
}

const PlaceholderTable &MainPlaceholders()
{
    static const PlaceholderTable table = {
            {13, {"%cs%"}},
            {71, {"%fl%", "%tl%"}},
            {72, {"%fl%", "%tl%"}},
            {84, {"%n%"}},
            {85, {"%ln%"}},
            {105, {"%n%"}},
            {110, {"%min%", "%max%"}},
            {112, {"%n%"}},
            {117, {"%min%", "%max%"}},
            {133, {"%f%"}},
            {134, {"%f%"}},
            {135, {"%f%", "%cs%"}},
            {136, {"%f%", "%cs%"}},
            {140, {"%n%"}},
            {145, {"%n%"}},
            {166, {"%np%", "%nw%"}},
            {167, {"%np%", "%nw%"}},
            {168, {"%np%", "%nw%"}},
            {169, {"%np%", "%nw%"}},
            {182, {"%p%", "%ps%"}},
            {185, {"%fl%", "%tl%"}},
            {210, {"%fl%", "%tl%"}},
            {219, {"%m%"}},
            {222, {"%min%", "%max%"}},
            {223, {"%n%"}},
            {239, {"%a%"}},
            {240, {"%a%"}},
            {252, {"%m%"}},
            {255, {"%n%"}},
            {294, {"%n%"}},
            {295, {"%l%"}},
            {308, {"%n%"}},
            {333, {"%y%"}},
    };
    return table;
}

// Texts whose placeholder the program replaces at its first occurrence only.
const std::map<int, std::string> &FirstOccurrenceOnly()
{
    static const std::map<int, std::string> table = {{252, "%m%"}, {255, "%n%"}};
    return table;
}

// The dead-key table title is followed directly by the key's character.
constexpr int EndsInBlank = 329;

std::string PackPath(const std::string &language)
{
    return std::string(TARNWICK_SOURCE_DIR) + "/lang/" + language + ".lng";
}

std::string ReadBytes(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

// Every "%name%" in a text: a percent sign, lower-case letters, a percent sign.
Placeholders PlaceholdersIn(const std::string &text)
{
    Placeholders found;
    size_t start = text.find('%');
    while (start != std::string::npos) {
        size_t end = start + 1;
        while (end < text.size() && text[end] >= 'a' && text[end] <= 'z')
            ++end;
        if (end < text.size() && text[end] == '%' && end > start + 1) {
            found.insert(text.substr(start, end - start + 1));
            start = text.find('%', end + 1);
        } else {
            start = text.find('%', start + 1);
        }
    }
    return found;
}

size_t Occurrences(const std::string &text, const std::string &what)
{
    size_t count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

std::vector<std::string> Split(const std::string &text, char separator)
{
    std::vector<std::string> pieces;
    size_t start = 0;
    for (size_t at = text.find(separator); at != std::string::npos;
         at = text.find(separator, start)) {
        pieces.push_back(text.substr(start, at - start));
        start = at + 1;
    }
    pieces.push_back(text.substr(start));
    return pieces;
}

void ExpectPlaceholders(const std::vector<std::string> &entries, const PlaceholderTable &table,
                        const std::string &section)
{
    for (size_t n = 0; n < entries.size(); ++n) {
        const auto row = table.find(static_cast<int>(n));
        const Placeholders wanted = row == table.end() ? Placeholders{} : row->second;
        EXPECT_EQ(PlaceholdersIn(entries[n]), wanted)
                << section << " entry " << n << ": \"" << entries[n] << "\"";
    }
}

// No text is meant to be empty, and none may carry blanks the layout would show.
void ExpectNoEmptyOrPaddedText(const std::vector<std::string> &entries, const std::string &section,
                               int mayEndInBlank)
{
    for (size_t n = 0; n < entries.size(); ++n) {
        const std::string &text = entries[n];
        ASSERT_FALSE(text.empty()) << section << " entry " << n;
        EXPECT_NE(text.front(), ' ') << section << " entry " << n;
        EXPECT_EQ(text.back() == ' ', static_cast<int>(n) == mayEndInBlank)
                << section << " entry " << n << ": \"" << text << "\"";
    }
}

class ShippedPack : public ::testing::TestWithParam<const char *>
{
protected:
    void SetUp() override
    {
        path = PackPath(GetParam());
        ASSERT_TRUE(trainer.LoadFile(path)) << path;
        ASSERT_TRUE(installer.LoadSetupFile(path)) << path;
    }

    std::string path;
    TLanguagePack trainer;
    TLanguagePack installer;
};

TEST_P(ShippedPack, BothLoadersReadTheWholeSection)
{
    EXPECT_EQ(trainer.Entries.size(), 357u);
    EXPECT_EQ(installer.Entries.size(), 40u);
    EXPECT_TRUE(IsLanguagePack(path));
    EXPECT_TRUE(IsLanguagePackFile(path));
}

TEST_P(ShippedPack, EveryTextCarriesExactlyItsPlaceholders)
{
    ExpectPlaceholders(installer.Entries, SetupPlaceholders(), "setup");
    ExpectPlaceholders(trainer.Entries, MainPlaceholders(), "main");
    for (const auto &[n, placeholder] : FirstOccurrenceOnly())
        EXPECT_EQ(Occurrences(trainer.entry(n), placeholder), 1u) << "main entry " << n;
}

TEST_P(ShippedPack, NoTextIsEmptyOrPadded)
{
    ExpectNoEmptyOrPaddedText(installer.Entries, "setup", -1);
    ExpectNoEmptyOrPaddedText(trainer.Entries, "main", EndsInBlank);
}

TEST_P(ShippedPack, FileIsWindows1252WithCrLfLines)
{
    const std::string bytes = ReadBytes(path);
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(bytes.rfind("Tarnwick Language Pack\r\n2\r\n", 0), 0u);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte == '\r')
            EXPECT_EQ(bytes[i + 1], '\n') << "lone CR at byte " << i;
        else if (byte == '\n')
            EXPECT_TRUE(i > 0 && bytes[i - 1] == '\r') << "lone LF at byte " << i;
        else
            EXPECT_GE(byte, 0x20) << "control byte at " << i;
        // Bytes that Windows-1252 leaves undefined.
        EXPECT_TRUE(byte != 0x81 && byte != 0x8D && byte != 0x8F && byte != 0x90 && byte != 0x9D)
                << "byte " << i;
    }
}

TEST_P(ShippedPack, LineBreaksInTextsAreCrLf)
{
    auto onlyCrLf = [](const std::string &text) {
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))
                return false;
            if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
                return false;
        }
        return true;
    };
    for (const auto *entries : {&installer.Entries, &trainer.Entries})
        for (const std::string &text : *entries)
            EXPECT_TRUE(onlyCrLf(text)) << text;
    // The texts that the installer and the message boxes show on several lines.
    EXPECT_NE(installer.entry(13).find("\r\n"), std::string::npos);
    EXPECT_NE(trainer.entry(85).find("\r\n"), std::string::npos);
}

TEST_P(ShippedPack, DefaultPartsOfSpeechAreAValidSetting)
{
    const std::string &parts = trainer.entry(307);
    EXPECT_FALSE(PartsOfSpeechInvalid(parts)) << parts;
    const size_t semicolon = parts.find(';');
    ASSERT_NE(semicolon, std::string::npos);
    EXPECT_GT(semicolon, 0u) << "the grid would offer no part of speech";
}

TEST_P(ShippedPack, FileFiltersComeInDescriptionPatternPairs)
{
    for (int n = 127; n <= 131; ++n) {
        const std::vector<std::string> pieces = Split(trainer.entry(n), '|');
        ASSERT_EQ(pieces.size() % 2, 0u) << "entry " << n;
        for (size_t i = 0; i < pieces.size(); i += 2) {
            EXPECT_FALSE(pieces[i].empty()) << "entry " << n;
            for (const std::string &pattern : Split(pieces[i + 1], ';'))
                EXPECT_EQ(pattern.rfind("*.", 0), 0u) << "entry " << n << ": " << pattern;
        }
    }
}

TEST_P(ShippedPack, InstallerAndTrainerAgreeOnSharedNames)
{
    // The trainer rewrites the file association whenever its name differs from the installer's.
    EXPECT_EQ(installer.entry(35), trainer.entry(353));
    // The installer's help shortcut points at the trainer's help file.
    EXPECT_EQ(installer.entry(36), trainer.entry(356));
}

TEST_P(ShippedPack, ShortcutNamesAreUsableFileNames)
{
    for (int n : {36, 37, 38, 39}) {
        const std::string &name = installer.entry(n);
        EXPECT_EQ(name.find_first_of("\\/:*?\"<>|"), std::string::npos) << "setup entry " << n;
        EXPECT_NE(name.back(), '.') << "setup entry " << n;
    }
}

INSTANTIATE_TEST_SUITE_P(Packs, ShippedPack, ::testing::Values("Nederlands", "English"));

// The proposed own language of a new list and the decimal mark of a test result.
TEST(ShippedPacks, EachSpeaksItsOwnLanguage)
{
    TLanguagePack dutch;
    TLanguagePack english;
    ASSERT_TRUE(dutch.LoadFile(PackPath("Nederlands")));
    ASSERT_TRUE(english.LoadFile(PackPath("English")));
    EXPECT_EQ(dutch.entry(98), "Nederlands");
    EXPECT_EQ(english.entry(98), "English");
    EXPECT_EQ(dutch.entry(261), ",");
    EXPECT_EQ(english.entry(261), ".");
}

} // namespace
