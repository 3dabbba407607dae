#include "core/Unit_GlobalSettings.h"
#include "core/Unit_WLFile.h"
#include "core/Unit_WordList.h"
#include "platform/TempFile.h"
#include "support/FileSizeLimit.h"
#include "support/WordListFixtures.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class WLFile : public ::testing::Test
{
protected:
    std::string Path(const std::string &name) const
    {
        return dir.filePath(QString::fromStdString(name)).toStdString();
    }

    // Loads bytes written to a file; ok and format as LoadFromFile gives them.
    std::unique_ptr<TWordList> Load(const std::string &bytes, bool &ok, int &format)
    {
        auto list = std::make_unique<TWordList>();
        list->LoadFromFile(WriteFile(Path("list.wdl"), bytes), ok, format);
        return list;
    }

    std::unique_ptr<TWordList> LoadOk(const std::string &bytes, int expectedFormat)
    {
        bool ok = false;
        int format = 0;
        auto list = Load(bytes, ok, format);
        EXPECT_TRUE(ok);
        EXPECT_EQ(expectedFormat, format);
        EXPECT_TRUE(hooks.Errors.empty());
        return list;
    }

    QTemporaryDir dir;
    TFakeFontCatalog fonts;
    TRecordingHooks hooks;
    TNumberedPack pack;
};

TEST(WLFileSignatures, ShareTwentyReadableBytesAndDifferInTheLast)
{
    for (int format = 1; format <= 5; ++format) {
        const std::string signature = Signature(format);
        EXPECT_EQ(SignatureLength, signature.size());
        EXPECT_EQ(std::string::npos, signature.find('\0'));
        EXPECT_EQ(Signature(5).substr(0, 20), signature.substr(0, 20));
        EXPECT_EQ(0u, signature.find("Tarnwick"));
        EXPECT_NE(std::string::npos, signature.find("\r\n"));
        for (int other = 1; other < format; ++other)
            EXPECT_NE(Signature(other), signature);
    }
}

TEST_F(WLFile, EveryFieldSurvivesAWriteAndARead)
{
    TWordList list;
    list.InitLanguages("Frans", 0, "Arial", 12, "Nederlands", 238, "Times New Roman", 9);
    list.SetForeignChars("\xE0\xE9|\xE7");
    WriteFile(list.SoundTempFile, std::string("xxSOUND-Ayy") + std::string(3, '\0') + "B");
    TListBuilder(list)
            .Word("for0", "ref", "les")
            .Word("for1", "ref", "les")
            .PartOfSpeech("noun")
            .Context("in a \xE9 context")
            .Records({3, 30, 5, 0x1A5}, {1, 4, 2, 0xFF})
            .Word("for2", "ref", "les");
    list.SetSound(1, 2, 7);
    list.SetSound(2, 11, 4);
    list.SaveToFile(Path("out.wdl"));
    EXPECT_TRUE(list.Saved);
    EXPECT_EQ(Path("out.wdl"), list.FileName);

    auto read = LoadOk(ReadFile(Path("out.wdl")), 5);
    EXPECT_TRUE(read->Saved);
    EXPECT_EQ("Frans", read->ForLanguage);
    EXPECT_EQ("Arial", read->ForFont->Name);
    EXPECT_EQ(0, read->ForFont->Charset);
    EXPECT_EQ(12, read->ForFont->Size);
    EXPECT_EQ("Nederlands", read->RefLanguage);
    EXPECT_EQ("Times New Roman", read->RefFont->Name);
    EXPECT_EQ(238, read->RefFont->Charset);
    EXPECT_EQ(9, read->RefFont->Size);
    EXPECT_EQ("\xE0\xE9|\xE7", read->ForeignChars);
    ASSERT_EQ(3, read->Count());
    const TWord &back = read->Word(1);
    EXPECT_EQ("for1", back.ForWord);
    EXPECT_EQ("ref", back.RefWord);
    EXPECT_EQ("les", back.Lesson);
    EXPECT_EQ("noun", back.PartOfSpeech);
    EXPECT_EQ("in a \xE9 context", back.Context);
    EXPECT_EQ(3, back.Level1);
    EXPECT_EQ(1, back.Level2);
    EXPECT_EQ(30, back.Score1);
    EXPECT_EQ(4, back.Score2);
    EXPECT_EQ(5, back.Count1);
    EXPECT_EQ(2, back.Count2);
    EXPECT_EQ(0xA5u, back.History1);
    EXPECT_EQ(0xFFu, back.History2);
    EXPECT_EQ(nullptr, read->GetSound(0));
    ASSERT_TRUE(read->GetSound(1));
    ASSERT_TRUE(read->GetSound(2));
    EXPECT_EQ("SOUND-A" + std::string(3, '\0') + "B", ReadFile(read->SoundTempFile));
    EXPECT_EQ(0, read->GetSound(1)->Offset);
    EXPECT_EQ(7, read->GetSound(2)->Offset);
    EXPECT_EQ(4, read->GetSound(2)->Size);
}

TEST_F(WLFile, AListWithoutRecordsIsEmptyInEveryFormat)
{
    for (int format = 1; format <= 5; ++format) {
        auto list = LoadOk(TListBytes().Header(format).Bytes, format);
        EXPECT_EQ(0, list->Count());
        EXPECT_EQ(format == 5, list->Saved);
    }
}

TEST_F(WLFile, OlderFormatsAreFilledIn)
{
    ForeignCharacters = "q|w";
    auto list = LoadOk(TListBytes().Header(1).Record(1, "one").Bytes, 1);
    EXPECT_FALSE(list->Saved);
    EXPECT_EQ("q|w", list->ForeignChars);
    ASSERT_EQ(1, list->Count());
    EXPECT_EQ("", list->GetContext(0));
    EXPECT_EQ("", list->GetPartOfSpeech(0));
    EXPECT_EQ(nullptr, list->GetSound(0));
    EXPECT_EQ(7, list->GetScore1(0));
    EXPECT_EQ(5, list->GetCount1(0));
    EXPECT_EQ(31u, list->GetHistory1(0));
    EXPECT_EQ(2, list->GetCount2(0));
    EXPECT_EQ(3u, list->GetHistory2(0));

    list = LoadOk(TListBytes().Header(3).Record(3, "three", "MP3").Bytes, 3);
    EXPECT_FALSE(list->Saved);
    EXPECT_EQ("context", list->GetContext(0));
    EXPECT_EQ("", list->GetPartOfSpeech(0));
    EXPECT_EQ("les 1", list->GetLesson(0));
    ASSERT_TRUE(list->GetSound(0));
    EXPECT_EQ("MP3", ReadFile(list->SoundTempFile));

    list = LoadOk(TListBytes().Header(4).Record(4, "four").Bytes, 4);
    EXPECT_FALSE(list->Saved);
    EXPECT_EQ("q|w", list->ForeignChars);
    EXPECT_EQ("noun", list->GetPartOfSpeech(0));
    EXPECT_EQ(4, list->GetCount2(0));
    ForeignCharacters = DefaultForeignCharacters;
}

TEST_F(WLFile, LongLessonsOfOlderFormatsAreCutSoTheListSavesReadably)
{
    const std::string lesson(512, 'l');
    TListBytes three;
    three.Header(3).Str("f").Str("r").Str("c").Str(lesson).Int(0);
    three.Raw(std::string(8, '\1')).Str("\r");
    auto list = LoadOk(three.Bytes, 3);
    EXPECT_EQ(lesson.substr(0, 64), list->GetLesson(0));
    EXPECT_FALSE(list->Saved);
    list->SaveToFile(Path("saved.wdl"));
    auto again = LoadOk(ReadFile(Path("saved.wdl")), 5);
    EXPECT_EQ(lesson.substr(0, 64), again->GetLesson(0));

    TListBytes tooLong;
    tooLong.Header(3).Str("f").Str("r").Str("c").Str(lesson + "l").Int(0);
    tooLong.Raw(std::string(8, '\1')).Str("\r");
    bool ok = true;
    int format = 0;
    Load(tooLong.Bytes, ok, format);
    EXPECT_FALSE(ok);
}

struct TDamage
{
    const char *Name;
    std::string Bytes;
};

std::string WithRecordFields(const std::string &forWord, const std::string &lesson, uint8_t level1)
{
    TListBytes bytes;
    bytes.Header(5).Str(forWord).Str("r").Str("c").Str("p").Str(lesson).Int(0);
    bytes.Byte(level1).Byte(0).Raw(std::string(6, '\0')).Str("\r");
    return bytes.Bytes;
}

std::vector<TDamage> Damages()
{
    const std::string header = TListBytes().Header(5).Bytes;
    const std::string record = TListBytes().Header(5).Record(5, "w", "abc").Bytes;
    std::vector<TDamage> damages{
            {"empty file", ""},
            {"unknown signature", TListBytes().Str("Tarnwick word list\r\n6").Bytes},
            {"text file", "hello world\r\nsecond line\r\n"},
            {"level 4", WithRecordFields("w", "l", 4)},
            {"word of 513 bytes", WithRecordFields(std::string(513, 'w'), "l", 0)},
            {"string of 1001 bytes", WithRecordFields("w", std::string(1001, 'l'), 0)},
            {"lesson of 65 bytes", WithRecordFields("w", std::string(65, 'l'), 0)},
            {"foreign characters of 101 bytes",
             TListBytes().Header(5, std::string(101, 'x')).Bytes},
            {"wrong separator", header.substr(0, header.size() - 2) + std::string("\n\0", 2)},
            {"wrong end mark", record.substr(0, record.size() - 2) + std::string("\n\0", 2)},
            {"cut record", record.substr(0, record.size() - 3)},
            {"sound past the end",
             record.substr(0, header.size())
                     + TListBytes()
                               .Str("w")
                               .Str("r")
                               .Str("c")
                               .Str("p")
                               .Str("l")
                               .Int(1000)
                               .Raw("abc")
                               .Bytes},
            {"negative sound size",
             header
                     + TListBytes()
                               .Str("w")
                               .Str("r")
                               .Str("c")
                               .Str("p")
                               .Str("l")
                               .Int(-5)
                               .Raw(std::string(40, '\0'))
                               .Bytes},
    };
    std::string language = TListBytes().Header(5).Bytes;
    TListBytes badCharset;
    badCharset.Str(Signature(5)).Str("Frans").Byte(2).Str("Arial").Byte(12);
    damages.push_back({"character set 2", badCharset.Bytes});
    TListBytes emptyFace;
    emptyFace.Str(Signature(5)).Str("Frans").Byte(0).Str("").Byte(12);
    damages.push_back({"empty face name", emptyFace.Bytes});
    TListBytes emptyLanguage;
    emptyLanguage.Str(Signature(5)).Str("").Byte(0).Str("Arial").Byte(12);
    damages.push_back({"empty language", emptyLanguage.Bytes});
    TListBytes longLanguage;
    longLanguage.Str(Signature(5)).Str(std::string(65, 'n')).Byte(0).Str("Arial").Byte(12);
    damages.push_back({"language of 65 bytes", longLanguage.Bytes});
    return damages;
}

TEST_F(WLFile, DamagedFilesFailWithOneMessage)
{
    for (const TDamage &damage : Damages()) {
        SCOPED_TRACE(damage.Name);
        hooks.Errors.clear();
        bool ok = true;
        int format = 0;
        Load(damage.Bytes, ok, format);
        EXPECT_FALSE(ok);
        ASSERT_EQ(1u, hooks.Errors.size());
        EXPECT_EQ(NumberedText(TEntry::NotAWordList), hooks.Errors[0]);
        EXPECT_TRUE(hooks.Questions.empty());
    }
}

TEST_F(WLFile, AMissingFileFailsWithoutAMessage)
{
    TWordList list;
    bool ok = true;
    int format = 0;
    list.LoadFromFile(Path("absent.wdl"), ok, format);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(hooks.Errors.empty());
}

TEST_F(WLFile, FileNameBecomesAbsolute)
{
    WriteFile(Path("rel.wdl"), TListBytes().Header(5).Bytes);
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    TWordList list;
    bool ok = false;
    int format = 0;
    list.LoadFromFile("rel.wdl", ok, format);
    QDir::setCurrent(previous);
    EXPECT_TRUE(ok);
    EXPECT_EQ(QFileInfo(dir.filePath("rel.wdl")).absoluteFilePath().toStdString(), list.FileName);
}

TEST_F(WLFile, SavingCompactsTheSoundStore)
{
    TWordList list;
    list.InitLanguages("Frans", 0, "Arial", 12, "Nederlands", 0, "Arial", 10);
    const std::string a(10, 'a'), b(20, 'b'), c(30, 'c');
    WriteFile(list.SoundTempFile, "dead" + c + "dead" + a + "dead" + b);
    TListBuilder(list).Words(4, "w#", "r", "l");
    list.SetSound(0, 38, 10);
    list.SetSound(1, 52, 20);
    list.SetSound(3, 4, 30);
    const std::string oldStore = list.SoundTempFile;
    list.SaveToFile(Path("out.wdl"));
    EXPECT_NE(oldStore, list.SoundTempFile);
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(oldStore)));
    EXPECT_EQ(a + b + c, ReadFile(list.SoundTempFile));
    EXPECT_EQ(0, list.GetSound(0)->Offset);
    EXPECT_EQ(10, list.GetSound(1)->Offset);
    EXPECT_EQ(nullptr, list.GetSound(2));
    EXPECT_EQ(30, list.GetSound(3)->Offset);
    EXPECT_EQ(30, list.GetSound(3)->Size);
}

TEST_F(WLFile, SavingStoresAFreshRecordingFirst)
{
    TWordList list;
    list.InitLanguages("Frans", 0, "Arial", 12, "Nederlands", 0, "Arial", 10);
    TListBuilder(list).Word("w", "r", "l");
    WriteFile(list.RecordTempFile, "RECORDED");
    list.SetSound(0, -1, -1);
    list.SaveToFile(Path("out.wdl"));
    auto read = LoadOk(ReadFile(Path("out.wdl")), 5);
    ASSERT_TRUE(read->GetSound(0));
    EXPECT_EQ("RECORDED", ReadFile(read->SoundTempFile));
}

TEST_F(WLFile, ASoundOutsideTheStoreFailsTheSaveAndChangesNothing)
{
    TWordList list;
    list.InitLanguages("Frans", 0, "Arial", 12, "Nederlands", 0, "Arial", 10);
    TListBuilder(list).Word("w", "r", "l");
    WriteFile(Path("out.wdl"), "previous");
    WriteFile(list.SoundTempFile, "short");
    list.SetSound(0, 2, 10);
    list.Saved = false;
    const std::string store = list.SoundTempFile;
    EXPECT_THROW(list.SaveToFile(Path("out.wdl")), EInOutError);
    EXPECT_EQ("previous", ReadFile(Path("out.wdl")));
    EXPECT_EQ(store, list.SoundTempFile);
    EXPECT_EQ("short", ReadFile(store));
    EXPECT_EQ(2, list.GetSound(0)->Offset);
    EXPECT_FALSE(list.Saved);
    EXPECT_EQ("", list.FileName);
}

TEST_F(WLFile, AWriteFailingHalfWayKeepsTheOldFileStoreAndState)
{
    TWordList list;
    list.InitLanguages("Frans", 0, "Arial", 12, "Nederlands", 0, "Arial", 10);
    const std::string sound(300 * 1024, 's');
    WriteFile(list.SoundTempFile, sound);
    TListBuilder(list).Words(3, "w", "r", "l");
    for (int i = 0; i < 3; ++i)
        list.SetSound(i, 0, static_cast<int32_t>(sound.size()));
    list.SaveToFile(Path("out.wdl"));
    const std::string before = ReadFile(Path("out.wdl"));
    const std::string store = list.SoundTempFile;
    const std::string storeBytes = ReadFile(store);
    EXPECT_EQ(3 * sound.size(), storeBytes.size());
    list.SetForWord(0, "changed");
    {
        TFileSizeLimit limit(512 * 1024);
        EXPECT_THROW(list.SaveToFile(Path("out.wdl")), EInOutError);
    }
    EXPECT_EQ(before, ReadFile(Path("out.wdl")));
    EXPECT_EQ(store, list.SoundTempFile);
    EXPECT_EQ(storeBytes, ReadFile(store));
    EXPECT_FALSE(list.Saved);
    EXPECT_EQ(QStringList{"out.wdl"}, QDir(dir.path()).entryList(QDir::Files));
    list.SaveToFile(Path("out.wdl"));
    EXPECT_TRUE(list.Saved);
}

TEST_F(WLFile, MissingFontsAreAskedAbout)
{
    pack.Set(TEntry::ForFontMissing, "Font %f% is missing; %f%?");
    pack.Set(TEntry::ForFontNoFace, "%f% has no %cs% face");
    pack.Set(TEntry::RefFontNoFace, "ref %f% has no %cs% face");
    const std::string bytes = TListBytes().Header(5).Bytes;
    bool ok = true;
    int format = 0;

    fonts.Installed = {"Times New Roman"};
    hooks.YesNoAnswer = 1;
    Load(bytes, ok, format);
    EXPECT_FALSE(ok);
    ASSERT_EQ(1u, hooks.Questions.size());
    EXPECT_EQ("Font Arial is missing; Arial?", hooks.Questions[0]);
    EXPECT_EQ(-1, hooks.PresetCharsetIndex);
    EXPECT_TRUE(hooks.Errors.empty());

    hooks.YesNoAnswer = 0;
    hooks.ChangeFontResult = 2;
    Load(bytes, ok, format);
    EXPECT_FALSE(ok);
    EXPECT_EQ(1, hooks.PresetCharsetIndex);

    hooks.ChangeFontResult = 1;
    hooks.ChosenFont = "Times New Roman";
    hooks.ChosenCharsetIndex = 2;
    auto list = Load(bytes, ok, format);
    EXPECT_TRUE(ok);
    EXPECT_FALSE(list->Saved);
    EXPECT_EQ("Times New Roman", list->ForFont->Name);
    EXPECT_EQ(238, list->ForFont->Charset);
    EXPECT_TRUE(hooks.Errors.empty());

    hooks.Questions.clear();
    fonts.Installed = {"Arial", "Times New Roman"};
    fonts.NoFace = {{"Times New Roman", 0}};
    hooks.YesNoAnswer = 1;
    Load(bytes, ok, format);
    EXPECT_FALSE(ok);
    ASSERT_EQ(1u, hooks.Questions.size());
    EXPECT_EQ("ref Times New Roman has no #338 face", hooks.Questions[0]);
}

TEST_F(WLFile, FormatTwoSoundsAreConvertedAfterReading)
{
    pack.Set(TEntry::ConversionFailed, "conversion failed");
    const std::string bytes = TListBytes().Header(2).Record(2, "w", "RIFF").Bytes;
    bool ok = false;
    int format = 0;

    hooks.ConvertResult = 1;
    auto list = Load(bytes, ok, format);
    EXPECT_TRUE(ok);
    EXPECT_EQ(2, format);
    EXPECT_FALSE(list->Saved);
    EXPECT_EQ(1, hooks.Conversions);
    EXPECT_TRUE(hooks.Errors.empty());

    hooks.ConvertResult = 2;
    list = Load(bytes, ok, format);
    EXPECT_TRUE(ok);
    EXPECT_EQ(1, list->Count());
    EXPECT_EQ(std::vector<std::string>{"conversion failed"}, hooks.Errors);

    hooks.Errors.clear();
    hooks.ConvertResult = 3;
    Load(bytes, ok, format);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(hooks.Errors.empty());
    EXPECT_EQ(3, hooks.Conversions);
}

TEST_F(WLFile, ReadsAndWritesThroughAnyDevice)
{
    QByteArray bytes = QByteArray::fromStdString(TListBytes().Header(5).Record(5, "w", "xy").Bytes);
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    TWordList list;
    int format = 0;
    EXPECT_EQ(LoadUnchanged, TWLFile(in).LoadList(list, format));
    QByteArray written;
    QBuffer out(&written);
    out.open(QIODevice::WriteOnly);
    TWrittenStore store = TWLFile(out).WriteList(list);
    EXPECT_EQ(bytes, written);
    EXPECT_EQ(std::vector<int32_t>{0}, store.Offsets);
    EXPECT_EQ("", store.Path);
    EXPECT_EQ("xy", ReadFile(list.SoundTempFile));
}

TEST_F(WLFile, ACompactStoreStaysInUse)
{
    TWordList list;
    list.InitLanguages("Frans", 0, "Arial", 12, "Nederlands", 0, "Arial", 10);
    WriteFile(list.SoundTempFile, "aaabb");
    TListBuilder(list).Words(3, "w", "r", "l");
    list.SetSound(0, 0, 3);
    list.SetSound(2, 3, 2);
    const std::string store = list.SoundTempFile;
    list.SaveToFile(Path("out.wdl"));
    EXPECT_EQ(store, list.SoundTempFile);
    EXPECT_EQ("aaabb", ReadFile(store));
    auto read = LoadOk(ReadFile(Path("out.wdl")), 5);
    EXPECT_EQ("aaabb", ReadFile(read->SoundTempFile));
    EXPECT_EQ(3, read->GetSound(2)->Offset);
}

} // namespace
