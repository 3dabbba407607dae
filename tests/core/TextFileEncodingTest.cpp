#include "core/Unit_WordList.h"
#include "support/LocaleCodeset.h"
#include "support/WordListFixtures.h"

#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <string>

namespace {

constexpr uint8_t Western = 0;
constexpr uint8_t Cyrillic = 204;

struct TFields
{
    std::string ForWord, RefWord, Context, PartOfSpeech, Lesson;
    bool operator==(const TFields &) const = default;
};

TFields Fields(const TWord &word)
{
    return {word.ForWord, word.RefWord, word.Context, word.PartOfSpeech, word.Lesson};
}

class TextFileEncoding : public ::testing::Test
{
protected:
    std::string Path(const std::string &name) const
    {
        return dir.filePath(QString::fromStdString(name)).toStdString();
    }

    // A list whose foreign column has the character set, the reference column Western.
    static std::unique_ptr<TWordList> List(uint8_t forCharset)
    {
        return TListBuilder().Languages("Vreemd", forCharset, "Nederlands", Western).Take();
    }

    QTemporaryDir dir;
    TFakeFontCatalog fonts;
    TRecordingHooks hooks;
    TNumberedPack pack;
};

} // namespace

TEST_F(TextFileEncoding, Utf8IsEncodedPerColumnAndOtherTextIsTakenAsBytes)
{
    const struct
    {
        const char *name;
        uint8_t forCharset;
        std::string file;
        int imported;
        TFields first;
    } cases[] = {
            {"UTF-8",
             Western,
             "le th\xC3\xA9\tde thee\r\nl\xE2\x80\x99"
             "eau\thet water\r\n",
             2,
             {"le th\xE9", "de thee", "", "", ""}},
            {"UTF-8 with a byte-order mark",
             Western,
             "\xEF\xBB\xBFth\xC3\xA9\tthee",
             1,
             {"th\xE9", "thee", "", "", ""}},
            {"only a byte-order mark before ASCII",
             Western,
             "\xEF\xBB\xBF"
             "a\tb",
             1,
             {"a", "b", "", "", ""}},
            {"Windows-1252 bytes",
             Western,
             "th\xE9\tthee\t\x93"
             "a\x94\r\n",
             1,
             {"th\xE9", "thee",
              "\x93"
              "a\x94",
              "", ""}},
            {"Cyrillic foreign column",
             Cyrillic,
             "\xD0\xB4\xD0\xBE\xD0\xBC\thuis\t\xD0\xB2 \xD0\xB4\xD0\xBE\xD0\xBC\xD0\xB5\tzn\t"
             "caf\xC3\xA9",
             1,
             {"\xE4\xEE\xEC", "huis", "\xE2 \xE4\xEE\xEC\xE5", "zn", "caf\xE9"}},
            {"Cyrillic bytes in a Cyrillic list",
             Cyrillic,
             "\xE4\xEE\xEC\thuis",
             1,
             {"\xE4\xEE\xEC", "huis", "", "", ""}},
    };
    for (const auto &test : cases) {
        SCOPED_TRACE(test.name);
        auto list = List(test.forCharset);
        const std::string path = WriteFile(Path("import.txt"), test.file);
        EXPECT_EQ(test.imported, list->ImportFile(0, path));
        ASSERT_EQ(test.imported, list->Count());
        EXPECT_EQ(test.first, Fields(list->Word(0)));
    }
}

TEST_F(TextFileEncoding, ACharacterTheColumnCannotHoldEndsTheImportAtItsRecord)
{
    const std::string good = "un\t\xC3\xA9\xC3\xA9n\r\n";
    const struct
    {
        const char *name;
        uint8_t forCharset;
        std::string line;
    } cases[] = {
            {"Cyrillic in a Western foreign column", Western, "\xD0\x96\tzh"},
            {"Cyrillic in the reference column", Cyrillic, "a\t\xD0\x96"},
            {"Cyrillic in a Western context", Western, "a\tb\t\xD0\x96"},
            {"Cyrillic in the part of speech", Cyrillic, "a\tb\tc\t\xD0\x96"},
            {"Greek in the lesson", Western, "a\tb\tc\td\t\xCE\xB1"},
    };
    for (const auto &test : cases) {
        SCOPED_TRACE(test.name);
        auto list = List(test.forCharset);
        const std::string path
                = WriteFile(Path("import.txt"), good + test.line + "\r\nnog\teen\r\n");
        EXPECT_EQ(1, list->ImportFile(0, path));
        ASSERT_EQ(1, list->Count());
        EXPECT_EQ("\xE9\xE9n", list->Word(0).RefWord);
    }
}

TEST_F(TextFileEncoding, LimitsCountTheColumnsBytesNotTheUtf8Ones)
{
    std::string e512, e513, zh1000;
    for (int i = 0; i < 512; ++i)
        e512 += "\xC3\xA9";
    e513 = e512 + "\xC3\xA9";
    for (int i = 0; i < 1000; ++i)
        zh1000 += "\xD0\x96";
    auto list = List(Cyrillic);
    const std::string path = WriteFile(Path("import.txt"),
                                       "a\t" + e512 + "\t" + zh1000 + "\r\nb\t" + e513 + "\r\n");
    EXPECT_EQ(1, list->ImportFile(0, path));
    ASSERT_EQ(1, list->Count());
    EXPECT_EQ(std::string(512, '\xE9'), list->Word(0).RefWord);
    EXPECT_EQ(std::string(1000, '\xC6'), list->Word(0).Context);
}

TEST_F(TextFileEncoding, TheExportWritesTheLocalesEncoding)
{
    auto list = List(Cyrillic);
    TListBuilder(*list)
            .Word("\xE4\xEE\xEC", "th\xE9", "les \x80")
            .Context("\xE2 \xE4\xEE\xEC\xE5")
            .PartOfSpeech("zn");
    const std::string path = Path("export.txt");
    {
        TLocaleCodeset utf8("C.UTF-8");
        ASSERT_TRUE(utf8.ok);
        list->ExportTextFile(path);
    }
    EXPECT_EQ(
            "\xD0\xB4\xD0\xBE\xD0\xBC\tth\xC3\xA9\t\xD0\xB2 \xD0\xB4\xD0\xBE\xD0\xBC\xD0\xB5\tzn\t"
            "les \xE2\x82\xAC\r\n",
            ReadFile(path));
    // A locale of another character set gets the bytes as they are stored.
    {
        TLocaleCodeset ascii("C");
        ASSERT_TRUE(ascii.ok);
        list->ExportTextFile(path);
    }
    EXPECT_EQ("\xE4\xEE\xEC\tth\xE9\t\xE2 \xE4\xEE\xEC\xE5\tzn\tles \x80\r\n", ReadFile(path));
}

TEST_F(TextFileEncoding, AnExportInUtf8ImportsBackToTheSameBytes)
{
    TLocaleCodeset utf8("C.UTF-8");
    ASSERT_TRUE(utf8.ok);
    for (const uint8_t forCharset : {Western, Cyrillic, uint8_t{128}}) {
        SCOPED_TRACE(static_cast<int>(forCharset));
        auto list = List(forCharset);
        TListBuilder words(*list);
        // Every byte but the separators, the undefined ones included, in every column.
        for (int first = 0x20; first < 0x100; first += 16) {
            std::string bytes;
            for (int byte = first; byte < first + 16; ++byte)
                bytes += static_cast<char>(byte);
            // A Shift-JIS column holds its pairs: a lead byte with a trail byte.
            const std::string foreign
                    = forCharset == 128 ? std::string("\x93\xFA\x96{\x81\x40") + "ab" : bytes;
            words.Word(foreign, bytes, bytes.substr(0, 10)).Context(foreign).PartOfSpeech(bytes);
        }
        const std::string path = Path("export.txt");
        list->ExportTextFile(path);
        auto back = List(forCharset);
        ASSERT_EQ(list->Count(), back->ImportFile(0, path));
        for (int i = 0; i < list->Count(); ++i)
            EXPECT_EQ(Fields(list->Word(i)), Fields(back->Word(i))) << i;
    }
}

TEST_F(TextFileEncoding, OnlyWellFormedUtf8IsDecoded)
{
    const struct
    {
        const char *name;
        std::string file;
        std::string forWord;
    } cases[] = {
            {"overlong form", "\xC0\xA9t\xC3\xA9\tx", "\xC0\xA9t\xC3\xA9"},
            {"surrogate", "\xED\xA0\x80\xC3\xA9\tx", "\xED\xA0\x80\xC3\xA9"},
            {"past U+10FFFF", "\xF4\x90\x80\x80\xC3\xA9\tx", "\xF4\x90\x80\x80\xC3\xA9"},
            {"cut short at the end", "\xC3\xA9\tx\xC3", "\xC3\xA9"},
            {"four bytes", "\xF0\x9F\x98\x80\tx\r\n\xC3\xA9\tx", ""},
    };
    for (const auto &test : cases) {
        SCOPED_TRACE(test.name);
        auto list = List(Western);
        const int imported = list->ImportFile(0, WriteFile(Path("import.txt"), test.file));
        if (test.forWord.empty()) {
            // Well-formed, but the column has no such character.
            EXPECT_EQ(0, imported);
            continue;
        }
        ASSERT_EQ(1, imported);
        EXPECT_EQ(test.forWord, list->Word(0).ForWord);
    }

    // A character split between two read blocks of 256 KB is one character.
    std::string text;
    const std::string line = std::string(30, 'a') + "\t" + std::string(67, 'b') + "\r\n";
    while (text.size() + line.size() < 262142)
        text += line;
    text += std::string(262142 - text.size(), 'c') + "\t\xC3\xA9\r\n";
    ASSERT_EQ('\xC3', text[262143]);
    auto list = List(Western);
    const int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
    EXPECT_EQ(lines, list->ImportFile(0, WriteFile(Path("import.txt"), text + "z\tw")));
    ASSERT_EQ(lines, list->Count());
    EXPECT_EQ("\xE9", list->Word(lines - 2).RefWord);
}
