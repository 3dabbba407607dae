#include "core/Unit_TextFile.h"
#include "core/Unit_WLFile.h"
#include "core/Unit_WordList.h"
#include "platform/TempFile.h"
#include "support/FileSizeLimit.h"
#include "support/LocaleCodeset.h"
#include "support/WordListFixtures.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct TTexts
{
    std::string ForWord, RefWord, Context, PartOfSpeech, Lesson;
    bool operator==(const TTexts &) const = default;
};

TTexts Texts(const TWord &word)
{
    return {word.ForWord, word.RefWord, word.Context, word.PartOfSpeech, word.Lesson};
}

std::vector<TTexts> AllTexts(const TWordList &list)
{
    std::vector<TTexts> texts;
    for (int i = 0; i < list.Count(); ++i)
        texts.push_back(Texts(list.Word(i)));
    return texts;
}

std::string StoreBytes(const TWordList &list, const TSoundRec &sound)
{
    return ReadFile(list.SoundTempFile)
            .substr(static_cast<size_t>(sound.Offset), static_cast<size_t>(sound.Size));
}

class TextFile : public ::testing::Test
{
protected:
    std::string Path(const std::string &name) const
    {
        return dir.filePath(QString::fromStdString(name)).toStdString();
    }

    int Import(TWordList &list, const std::string &bytes, int index = 0)
    {
        return list.ImportFile(index, WriteFile(Path("import.txt"), bytes));
    }

    int ImportIntoNew(const std::string &bytes)
    {
        TWordList list;
        return Import(list, bytes);
    }

    QTemporaryDir dir;
    TFakeFontCatalog fonts;
    TRecordingHooks hooks;
    TNumberedPack pack;
};

TEST_F(TextFile, TwoAndFiveFieldsImportAndALineWithoutTabStops)
{
    TWordList list;
    EXPECT_EQ(2,
              Import(list,
                     "un\tone\r\ndeux\ttwo\tcontext\tnoun\tles 2\r\nthree\r\nquatre\tfour\r\n"));
    ASSERT_EQ(2, list.Count());
    EXPECT_EQ((TTexts{"un", "one", "", "", ""}), Texts(list.Word(0)));
    EXPECT_EQ((TTexts{"deux", "two", "context", "noun", "les 2"}), Texts(list.Word(1)));
    const TWord &word = list.Word(0);
    EXPECT_EQ(nullptr, word.Sound);
    EXPECT_EQ(0, word.Level1 + word.Level2 + word.Score1 + word.Score2 + word.Count1 + word.Count2);
    EXPECT_EQ(0u, word.History1 + word.History2);
    EXPECT_FALSE(list.Saved);
    EXPECT_TRUE(hooks.Errors.empty());
}

TEST_F(TextFile, TheLastLineNeedsNoLineEnd)
{
    EXPECT_EQ(2, ImportIntoNew("a\tb\r\nc\td"));
    EXPECT_EQ(1, ImportIntoNew("a\tb\tc\td\te"));
    EXPECT_EQ(1, ImportIntoNew("a\t"));
    // A final line end leaves an empty last record, which ends the import without harm.
    EXPECT_EQ(2, ImportIntoNew("a\tb\nc\td\n"));
}

TEST_F(TextFile, TheFirstBrokenRecordStopsTheImportAndKeepsTheOnesBefore)
{
    const std::string good = "a\tb\r\n";
    const std::string after = "\r\nz\ty\r\n";
    const struct
    {
        const char *name;
        std::string line;
        int imported;
    } cases[] = {
            {"empty line", "", 1},
            {"one field", "only", 1},
            {"six fields", "a\tb\tc\td\te\tf", 1},
            {"ForWord of 512", std::string(512, 'f') + "\tb", 3},
            {"ForWord of 513", std::string(513, 'f') + "\tb", 1},
            {"RefWord of 512", "a\t" + std::string(512, 'r'), 3},
            {"RefWord of 513", "a\t" + std::string(513, 'r'), 1},
            {"RefWord of 1001", "a\t" + std::string(1001, 'r'), 1},
            {"Context of 1000", "a\tb\t" + std::string(1000, 'c'), 3},
            {"Context of 1001", "a\tb\t" + std::string(1001, 'c'), 1},
            {"Context of 1001 then more fields", "a\tb\t" + std::string(1001, 'c') + "\tp\tl", 1},
            {"PartOfSpeech of 64", "a\tb\tc\t" + std::string(64, 'p'), 3},
            {"PartOfSpeech of 65", "a\tb\tc\t" + std::string(65, 'p'), 1},
            {"Lesson of 64", "a\tb\tc\tp\t" + std::string(64, 'l'), 3},
            {"Lesson of 65", "a\tb\tc\tp\t" + std::string(65, 'l'), 1},
            {"0 byte in ForWord", std::string("a\0b\tb", 5), 1},
            {"0 byte in RefWord", std::string("a\tb\0", 4), 1},
            {"0 byte in Context", std::string("a\tb\t\0", 5), 1},
            {"0 byte in PartOfSpeech", std::string("a\tb\tc\t\0", 7), 1},
            {"0 byte in Lesson", std::string("a\tb\tc\tp\t\0", 9), 1},
    };
    for (const auto &test : cases) {
        SCOPED_TRACE(test.name);
        TWordList list;
        EXPECT_EQ(test.imported, Import(list, good + test.line + after));
        EXPECT_EQ(test.imported, list.Count());
        EXPECT_EQ("a", list.GetForWord(0));
    }
}

TEST_F(TextFile, CrLfAndCrAndLfEndLinesAlike)
{
    std::vector<TTexts> expected;
    for (const char *lineEnd : {"\r\n", "\r", "\n"}) {
        SCOPED_TRACE(testing::PrintToString(lineEnd));
        TWordList list;
        const std::string end = lineEnd;
        EXPECT_EQ(3, Import(list, "a\tb\tc" + end + "d\te" + end + "f\tg\th\ti\tj" + end));
        if (expected.empty())
            expected = AllTexts(list);
        EXPECT_EQ(expected, AllTexts(list));
    }
    EXPECT_EQ("d", expected[1].ForWord);
    // CR CR LF is a line end followed by an empty line.
    EXPECT_EQ(1, ImportIntoNew("a\tb\r\r\nc\td\r\n"));
}

TEST_F(TextFile, LineEndsAcrossReadBlocksAreFound)
{
    // Lines of 100 bytes after a first line of 45, so that a CR is the last byte of the first
    // 256 KB block and its LF the first of the next.
    const std::string line = std::string(10, 'x') + "\t" + std::string(87, 'y') + "\r\n";
    std::string text = std::string(41, 'p') + "\tq\r\n";
    while (text.size() < 262144 + 1000)
        text += line;
    ASSERT_EQ("\r\n", text.substr(262143, 2));
    TWordList list;
    const int lines = 1 + static_cast<int>((text.size() - 45) / line.size());
    EXPECT_EQ(lines, Import(list, text));
    ASSERT_EQ(lines, list.Count());
    for (int i = 1; i < list.Count(); ++i)
        ASSERT_EQ(std::string(10, 'x'), list.GetForWord(i)) << i;
}

TEST_F(TextFile, ImportedWordsGoInAtTheIndexInFileOrder)
{
    TWordList list;
    TListBuilder(list).Words({"w0", "w1", "w2"});
    list.Saved = true;
    EXPECT_EQ(2, Import(list, "a\tb\r\nc\td\r\n", 1));
    std::vector<std::string> order;
    for (int i = 0; i < list.Count(); ++i)
        order.push_back(list.GetForWord(i));
    EXPECT_EQ((std::vector<std::string>{"w0", "a", "c", "w1", "w2"}), order);
    EXPECT_FALSE(list.Saved);
}

TEST_F(TextFile, NothingImportedLeavesTheListAlone)
{
    TWordList list;
    TListBuilder(list).Word("keep");
    list.Saved = true;
    EXPECT_EQ(0, list.ImportFile(0, Path("missing.txt")));
    EXPECT_EQ(0, Import(list, ""));
    EXPECT_EQ(0, Import(list, "no tab here\r\n"));
    // A file of 16-bit characters has a 0 byte in its first field.
    EXPECT_EQ(0,
              Import(list,
                     std::string("\xFF\xFE"
                                 "a\0\t\0b\0\r\0\n\0",
                                 12)));
    EXPECT_EQ(1, list.Count());
    EXPECT_TRUE(list.Saved);
    EXPECT_TRUE(hooks.Errors.empty());
    EXPECT_THROW(list.ImportFile(0, dir.path().toStdString()), EInOutError);
}

TEST_F(TextFile, ExportWritesFiveTabbedFieldsAndCrLfPerWordAsStored)
{
    TWordList list;
    TListBuilder(list)
            .Word("\xE9t\xE9", "zomer", "les 1")
            .Context("en \xE9t\xE9")
            .PartOfSpeech("zn")
            .Records({3, 7})
            .Word("");
    list.Word(0).Sound = std::make_unique<TSoundRec>(TSoundRec{0, 5});
    list.Saved = true;
    const std::string path = Path("export.txt");
    // A locale whose character set is not UTF-8 gets the bytes as stored.
    const TLocaleCodeset ascii("C");
    ASSERT_TRUE(ascii.ok);
    list.ExportTextFile(path);
    EXPECT_EQ("\xE9t\xE9\tzomer\ten \xE9t\xE9\tzn\tles 1\r\n\t\t\t\t\r\n", ReadFile(path));
    EXPECT_TRUE(list.Saved);

    TWordList empty;
    empty.ExportTextFile(path);
    EXPECT_EQ("", ReadFile(path));
}

TEST_F(TextFile, AnExportReadsBackToTheSameTexts)
{
    TWordList list;
    TListBuilder words(list);
    for (int i = 0; i < 50; ++i)
        words.Word("for " + std::to_string(i), std::string(512, 'r'),
                   std::string(i % 3 ? 64 : 0, 'l'))
                .Context(std::string(static_cast<size_t>(i) * 20, static_cast<char>(0x80 + i)))
                .PartOfSpeech(i % 2 ? std::string(64, 'p') : "");
    const std::string path = Path("export.txt");
    list.ExportTextFile(path);
    TWordList back;
    EXPECT_EQ(50, back.ImportFile(0, path));
    EXPECT_EQ(AllTexts(list), AllTexts(back));
}

TEST_F(TextFile, AFailedExportKeepsTheFileThatWasThere)
{
    TWordList list;
    TListBuilder(list).Words(2000, std::string(500, 'f'), "r");
    const std::string path = WriteFile(Path("export.txt"), "previous");
    {
        TFileSizeLimit limit(256 * 1024);
        EXPECT_THROW(list.ExportTextFile(path), EInOutError);
    }
    EXPECT_EQ("previous", ReadFile(path));
    EXPECT_EQ(QStringList{"export.txt"}, QDir(dir.path()).entryList(QDir::Files));
    EXPECT_THROW(list.ExportTextFile(Path("no/such/folder/export.txt")), EInOutError);
    EXPECT_THROW(list.ExportTextFile(dir.path().toStdString()), EInOutError);
}

TEST_F(TextFile, AWordListImportBringsItsSoundsAndRecordsButNotItsLanguages)
{
    TWordList list;
    list.InitLanguages("Duits", 0, "Arial", 9, "Engels", 0, "Arial", 11);
    list.SetForeignChars("\xDF");
    WriteFile(list.SoundTempFile, "OLD");
    TListBuilder(list).Words({"alt", "letzt"});
    list.SetSound(0, 0, 3);
    TListBytes file;
    file.Header(5).Record(5, "un", "SOUND-1").Record(5, "deux").Record(5, "trois", "S3");

    EXPECT_EQ(3, Import(list, file.Bytes, 1));
    ASSERT_EQ(5, list.Count());
    EXPECT_EQ("Duits", list.ForLanguage);
    EXPECT_EQ("Engels", list.RefLanguage);
    EXPECT_EQ(9, list.ForFont->Size);
    EXPECT_EQ("\xDF", list.ForeignChars);
    EXPECT_EQ("un", list.GetForWord(1));
    EXPECT_EQ("trois", list.GetForWord(3));
    EXPECT_EQ("letzt", list.GetForWord(4));
    EXPECT_EQ((TTexts{"deux", "ref", "context", "noun", "les 1"}), Texts(list.Word(2)));
    EXPECT_EQ("OLD", StoreBytes(list, *list.GetSound(0)));
    ASSERT_NE(nullptr, list.GetSound(1));
    EXPECT_EQ("SOUND-1", StoreBytes(list, *list.GetSound(1)));
    EXPECT_EQ(nullptr, list.GetSound(2));
    EXPECT_EQ("S3", StoreBytes(list, *list.GetSound(3)));
    EXPECT_EQ(3 + 7 + 2, ReadFile(list.SoundTempFile).size());
    const TWord &word = list.Word(3);
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4, 3, 4, 5, 6}),
              (std::vector<int>{word.Level1, word.Level2, word.Score1, word.Score2, word.Count1,
                                word.Count2, static_cast<int>(word.History1),
                                static_cast<int>(word.History2)}));
    EXPECT_TRUE(hooks.Errors.empty());
}

TEST_F(TextFile, AWordListImportAsksNoFontQuestion)
{
    TListBytes file;
    file.Str(Signature(3)).Str("Frans").Byte(0).Str("Missing Face").Byte(12);
    file.Str("Nederlands").Byte(0).Str("Missing Too").Byte(10).Str("\r");
    file.Record(3, "un").Record(3, "deux");
    TWordList list;
    EXPECT_EQ(2, Import(list, file.Bytes));
    EXPECT_TRUE(hooks.Questions.empty());
    EXPECT_TRUE(hooks.Errors.empty());
    EXPECT_EQ("context", list.Word(1).Context);
}

TEST_F(TextFile, ASecondFormatImportGoesThroughTheConversion)
{
    TListBytes file;
    file.Header(2).Record(2, "un", "WAVE");
    TWordList list;
    EXPECT_EQ(1, Import(list, file.Bytes));
    EXPECT_EQ(1, hooks.Conversions);
    hooks.ConvertResult = 3;
    EXPECT_EQ(0, Import(list, file.Bytes));
    EXPECT_EQ(1, list.Count());
}

TEST_F(TextFile, ADamagedWordListImportsNothing)
{
    TListBytes file;
    file.Header(5).Record(5, "un", "SOUND").Record(5, "deux");
    TWordList list;
    list.Saved = true;
    EXPECT_EQ(0, Import(list, file.Bytes.substr(0, file.Bytes.size() - 3)));
    EXPECT_EQ(0, list.Count());
    EXPECT_EQ("", ReadFile(list.SoundTempFile));
    EXPECT_TRUE(list.Saved);
    EXPECT_TRUE(hooks.Errors.empty());
}

TEST_F(TextFile, SoundsThatCannotBeStoredInsertNothing)
{
    TWordList list;
    const std::string store = list.SoundTempFile;
    list.SoundTempFile = Path("no/such/folder/store.tmp");
    TListBytes file;
    file.Header(5).Record(5, "un", "SOUND");
    EXPECT_THROW(Import(list, file.Bytes), EInOutError);
    EXPECT_EQ(0, list.Count());
    list.SoundTempFile = store;
}

TEST_F(TextFile, AStoreFillingUpHalfWayIsCutBackAndNothingIsInserted)
{
    TWordList list;
    const std::string old(200 * 1024, 'o');
    WriteFile(list.SoundTempFile, old);
    TListBuilder(list).Word("alt");
    list.SetSound(0, 0, static_cast<int32_t>(old.size()));
    TListBytes file;
    file.Header(5);
    for (int i = 0; i < 4; ++i)
        file.Record(5, "w" + std::to_string(i), std::string(30 * 1024, static_cast<char>('a' + i)));
    const std::string path = WriteFile(Path("import.wdl"), file.Bytes);
    {
        TFileSizeLimit limit(250 * 1024);
        EXPECT_THROW(list.ImportFile(0, path), EInOutError);
    }
    EXPECT_EQ(1, list.Count());
    EXPECT_EQ(old, ReadFile(list.SoundTempFile));
    EXPECT_EQ(4, list.ImportFile(1, path));
    EXPECT_EQ(std::string(30 * 1024, 'c'), StoreBytes(list, *list.GetSound(3)));
}

TEST(TextFields, EndAtTabLineEndOrFileEndAndOverAThousandBytes)
{
    QByteArray bytes("ab\tcd\r\nef\rg\n\n\r");
    bytes += QByteArray(1000, 'x') + "\t" + QByteArray(1001, 'y') + "z";
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TWLFile file(buffer);
    const std::vector<std::pair<int, std::string>> expected = {
            {TextTab, "ab"},
            {TextLineEnd, "cd"},
            {TextLineEnd, "ef"},
            {TextLineEnd, "g"},
            {TextLineEnd, ""},
            {TextLineEnd, ""},
            {TextTab, std::string(1000, 'x')},
            {TextTooLong, std::string(1000, 'y')},
            {TextFileEnded, "z"},
            {TextFileEnded, ""},
    };
    for (const auto &[end, text] : expected) {
        std::string field = "old";
        EXPECT_EQ(end, file.ReadTextField(field));
        EXPECT_EQ(text, field);
    }
}

} // namespace
