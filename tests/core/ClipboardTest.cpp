#include "core/Unit_WordList.h"
#include "platform/TempFile.h"
#include "support/FileSizeLimit.h"
#include "support/WordListFixtures.h"

#include <QBuffer>
#include <QFile>
#include <functional>
#include <gtest/gtest.h>

namespace {

int64_t StoreSize(const TWordList &list)
{
    return QFile(QString::fromStdString(list.SoundTempFile)).size();
}

// Appends a word whose sound bytes are appended to the list's store.
void AddWord(TWordList &list, const std::string &forWord, const std::string &sound = {})
{
    TListBuilder(list)
            .Word(forWord, "ref " + forWord, "les " + forWord)
            .PartOfSpeech("pos " + forWord)
            .Context("ctx " + forWord)
            .Records({1, 7, 5, 0x1F}, {3, 2, 2, 0x3});
    if (!sound.empty())
        GiveSound(list, list.Count() - 1, sound);
}

std::string SoundOf(TWordList &list, int index)
{
    return list.CopySoundToStream(index)->data().toStdString();
}

// Pastes bytes at index and hands back the number of words inserted.
int Paste(TWordList &list, const std::string &bytes, int index = 0)
{
    QByteArray data = QByteArray::fromStdString(bytes);
    QBuffer stream(&data);
    stream.open(QIODevice::ReadOnly);
    return list.PasteFromStream(stream, index);
}

void PasteSound(TWordList &list, const std::string &bytes, int index)
{
    QByteArray data = QByteArray::fromStdString(bytes);
    QBuffer stream(&data);
    stream.open(QIODevice::ReadOnly);
    list.PasteSoundFromStream(stream, index);
}

// One record in the payload's own field order.
TListBytes &Record(TListBytes &bytes, const std::string &forWord, const std::string &sound = {},
                   uint8_t level1 = 0)
{
    bytes.Str(forWord).Str("ref").Str("pos").Str("les").Str("ctx");
    bytes.Int(static_cast<int32_t>(sound.size())).Raw(sound);
    return bytes.Byte(level1).Byte(2).Byte(3).Byte(4).Byte(5).Byte(1).Byte(0x1F).Byte(0).Str("\r");
}

// A list long enough to be copied and pasted by several threads; every seventh word has a sound
// of its own. Hands back the sound bytes before each word.
std::vector<int64_t> FillLongList(TWordList &list, int count)
{
    std::string store;
    std::vector<int64_t> soundsBefore;
    for (int i = 0; i < count; ++i) {
        soundsBefore.push_back(static_cast<int64_t>(store.size()));
        const std::string number = std::to_string(i);
        auto word = std::make_unique<TWord>("w" + number, "ref " + number, "les");
        word->Context = std::string(static_cast<size_t>(i % 50), 'c');
        word->Level1 = static_cast<uint8_t>(i % 4);
        word->Count1 = i % 256;
        if (i % 7 == 0) {
            const std::string sound = "sound " + number;
            word->Sound = std::make_unique<TSoundRec>(TSoundRec{
                    static_cast<int32_t>(store.size()), static_cast<int32_t>(sound.size())});
            store += sound;
        }
        list.Add(std::move(word));
    }
    soundsBefore.push_back(static_cast<int64_t>(store.size()));
    WriteFile(list.SoundTempFile, store);
    return soundsBefore;
}

QByteArray CountBytes(int count)
{
    TListBytes bytes;
    bytes.Int(count);
    return QByteArray::fromStdString(bytes.Bytes);
}

} // namespace

TEST(Clipboard, CopiedWordsPasteIntoAnotherListWithTheirSoundsAndEveryField)
{
    TWordList source;
    for (int i = 0; i < 7; ++i)
        AddWord(source, "w" + std::to_string(i), i == 4 ? "" : std::string(10 + i, 'a' + i));
    source.Word(5).History1 = 0x1234;
    const int64_t sourceStore = StoreSize(source);
    TWordList target;
    AddWord(target, "t0", "existing sound");
    AddWord(target, "t1");
    target.Saved = true;

    auto stream = source.CopyToStream(3, 5);
    EXPECT_EQ(stream->size(), stream->pos());
    stream->seek(0);
    EXPECT_EQ(3, target.PasteFromStream(*stream, 0));

    ASSERT_EQ(5, target.Count());
    EXPECT_FALSE(target.Saved);
    EXPECT_EQ("w3", target.GetForWord(0));
    EXPECT_EQ("w4", target.GetForWord(1));
    EXPECT_EQ("w5", target.GetForWord(2));
    EXPECT_EQ("t0", target.GetForWord(3));
    EXPECT_EQ(std::string(13, 'd'), SoundOf(target, 0));
    EXPECT_EQ(nullptr, target.GetSound(1));
    EXPECT_EQ(std::string(15, 'f'), SoundOf(target, 2));
    EXPECT_EQ("existing sound", SoundOf(target, 3));
    const TWord &pasted = target.Word(2);
    EXPECT_EQ("ref w5", pasted.RefWord);
    EXPECT_EQ("pos w5", pasted.PartOfSpeech);
    EXPECT_EQ("les w5", pasted.Lesson);
    EXPECT_EQ("ctx w5", pasted.Context);
    EXPECT_EQ(1, pasted.Level1);
    EXPECT_EQ(3, pasted.Level2);
    EXPECT_EQ(7, pasted.Score1);
    EXPECT_EQ(2, pasted.Score2);
    EXPECT_EQ(5, pasted.Count1);
    EXPECT_EQ(2, pasted.Count2);
    EXPECT_EQ(0x34u, pasted.History1);
    EXPECT_EQ(0x3u, pasted.History2);

    EXPECT_EQ(7, source.Count());
    EXPECT_EQ(sourceStore, StoreSize(source));
    EXPECT_EQ(std::string(15, 'f'), SoundOf(source, 5));
}

TEST(Clipboard, PayloadPutsPartOfSpeechAndLessonBeforeTheContext)
{
    TWordList list;
    AddWord(list, "un", "mp3");
    TListBytes expected;
    expected.Int(1).Str("un").Str("ref un").Str("pos un").Str("les un").Str("ctx un");
    expected.Int(3).Raw("mp3").Byte(1).Byte(3).Byte(7).Byte(2).Byte(5).Byte(2).Byte(0x1F).Byte(3);
    expected.Str("\r");
    EXPECT_EQ(expected.Bytes, list.CopyToStream(0, 0)->data().toStdString());

    // A third field of 65 bytes is a part of speech too long, though a file's context would hold
    // it.
    TListBytes longPartOfSpeech;
    longPartOfSpeech.Int(1).Str("a").Str("b").Str(std::string(65, 'p')).Str("l").Str("c").Int(0);
    longPartOfSpeech.Raw(std::string(8, '\0')).Str("\r");
    EXPECT_EQ(0, Paste(list, longPartOfSpeech.Bytes));
}

TEST(Clipboard, PasteStopsAtTheFirstBadRecordAndKeepsTheWordsBeforeIt)
{
    TListBytes two;
    two.Int(4);
    Record(two, "a", "snd");
    Record(two, "b");
    TWordList list;
    AddWord(list, "old");
    EXPECT_EQ(2, Paste(list, two.Bytes + "junk", 1));
    ASSERT_EQ(3, list.Count());
    EXPECT_EQ("a", list.GetForWord(1));
    EXPECT_EQ("b", list.GetForWord(2));
    EXPECT_EQ("snd", SoundOf(list, 1));

    struct TCase
    {
        const char *Name;
        std::string Bad;
    };
    auto record = [](auto fill) {
        TListBytes bytes;
        fill(bytes);
        return bytes.Bytes;
    };
    const std::vector<TCase> cases{
            {"foreign word of 513 bytes",
             record([](TListBytes &b) { Record(b, std::string(513, 'x')); })},
            {"level 4", record([](TListBytes &b) { Record(b, "x", "", 4); })},
            {"negative sound size",
             record([](TListBytes &b) { b.Str("x").Str("r").Str("p").Str("l").Str("c").Int(-1); })},
            {"wrong end mark", record([](TListBytes &b) {
                 b.Str("x").Str("r").Str("p").Str("l").Str("c").Int(0).Raw(std::string(8, '\1'));
                 b.Str("\n");
             })},
            {"context of 1001 bytes", record([](TListBytes &b) {
                 b.Str("x").Str("r").Str("p").Str("l").Str(std::string(1001, 'c'));
             })},
            {"cut inside a sound", record([](TListBytes &b) {
                 b.Str("x").Str("r").Str("p").Str("l").Str("c").Int(100).Raw(std::string(99, 's'));
             })},
            {"cut after the count", ""},
    };
    for (const TCase &test : cases) {
        SCOPED_TRACE(test.Name);
        TWordList target;
        TListBytes payload;
        payload.Int(3);
        Record(payload, "kept", "kept sound");
        EXPECT_EQ(1, Paste(target, payload.Bytes + test.Bad));
        EXPECT_EQ(1, target.Count());
        // Only the kept word's bytes reach the store.
        EXPECT_EQ(10, StoreSize(target));
    }
}

TEST(Clipboard, PasteOfNothingUsefulInsertsNothing)
{
    TWordList list;
    list.Saved = true;
    EXPECT_EQ(0, Paste(list, ""));
    EXPECT_EQ(0, Paste(list, std::string("\0\0\0", 3)));
    TListBytes negative;
    negative.Int(-2);
    Record(negative, "a");
    EXPECT_EQ(0, Paste(list, negative.Bytes));
    EXPECT_EQ(0, list.Count());
    EXPECT_TRUE(list.Saved);
}

TEST(Clipboard, PasteReadsFromTheStreamsPositionAndChecksSizesAgainstWhatFollowsIt)
{
    TListBytes payload;
    payload.Int(1);
    Record(payload, "a", "snd");
    QByteArray data = QByteArray(16, 'z') + QByteArray::fromStdString(payload.Bytes);
    QBuffer stream(&data);
    stream.open(QIODevice::ReadOnly);
    stream.seek(16);
    TWordList list;
    EXPECT_EQ(1, list.PasteFromStream(stream, 0));
    EXPECT_EQ("snd", SoundOf(list, 0));

    // The claimed sound would fit in the whole buffer, but not in what follows the position.
    TListBytes cut;
    cut.Int(1).Str("a").Str("r").Str("p").Str("l").Str("c").Int(20).Raw(std::string(10, 's'));
    data = QByteArray(16, 'z') + QByteArray::fromStdString(cut.Bytes);
    stream.seek(16);
    TWordList other;
    EXPECT_EQ(0, other.PasteFromStream(stream, 0));
    EXPECT_EQ(0, StoreSize(other));
}

TEST(Clipboard, SoundStreamsCopyAndReplaceOneWordsSound)
{
    TWordList list;
    AddWord(list, "a", "first");
    AddWord(list, "b");
    list.Saved = true;
    PasteSound(list, "second sound", 1);
    ASSERT_NE(nullptr, list.GetSound(1));
    EXPECT_EQ(5, list.GetSound(1)->Offset);
    EXPECT_EQ(12, list.GetSound(1)->Size);
    EXPECT_EQ("second sound", SoundOf(list, 1));
    EXPECT_FALSE(list.Saved);

    PasteSound(list, "", 0);
    EXPECT_EQ(nullptr, list.GetSound(0));
    EXPECT_EQ("", SoundOf(list, 0));

    QByteArray data("skip:rest");
    QBuffer stream(&data);
    stream.open(QIODevice::ReadOnly);
    stream.seek(5);
    list.PasteSoundFromStream(stream, 0);
    EXPECT_EQ("rest", SoundOf(list, 0));
}

TEST(Clipboard, CopyingAFreshRecordingStoresItFirst)
{
    TWordList list;
    AddWord(list, "a");
    AddWord(list, "b", "stored");
    WriteFile(list.RecordTempFile, "recorded");
    list.SetSound(0, -1, -1);
    auto stream = list.CopyToStream(0, 1);
    ASSERT_NE(nullptr, list.GetSound(0));
    EXPECT_EQ(6, list.GetSound(0)->Offset);
    TWordList target;
    stream->seek(0);
    EXPECT_EQ(2, target.PasteFromStream(*stream, 0));
    EXPECT_EQ("recorded", SoundOf(target, 0));
    EXPECT_EQ("stored", SoundOf(target, 1));

    WriteFile(list.RecordTempFile, "again");
    list.SetSound(1, -1, -1);
    EXPECT_EQ("again", SoundOf(list, 1));
}

TEST(Clipboard, CopyOfASoundOutsideTheStoreFails)
{
    TWordList list;
    AddWord(list, "a", "abc");
    list.SetSound(0, 2, 5);
    EXPECT_THROW((void)list.CopyToStream(0, 0), EInOutError);
    EXPECT_THROW((void)list.CopySoundToStream(0), EInOutError);
}

TEST(Clipboard, APasteTheStoreCannotTakeLeavesTheListAsItWas)
{
    TWordList list;
    AddWord(list, "old");
    list.Saved = true;
    TListBytes payload;
    payload.Int(2);
    Record(payload, "a");
    Record(payload, "b", "sound");
    const TFileSizeLimit limit(4);
    EXPECT_THROW(Paste(list, payload.Bytes), EInOutError);
    EXPECT_EQ(1, list.Count());
    EXPECT_EQ("old", list.GetForWord(0));
    EXPECT_TRUE(list.Saved);
    EXPECT_EQ(0, StoreSize(list));

    EXPECT_THROW(PasteSound(list, "sound", 0), EInOutError);
    EXPECT_EQ(nullptr, list.GetSound(0));
    EXPECT_TRUE(list.Saved);
    EXPECT_EQ(0, StoreSize(list));
}

TEST(Clipboard, TheStoredSeedPayloadsPasteAndCopyBackByteForByte)
{
    for (const char *name :
         {"valid-one-word.bin", "valid-three-words-sounds.bin", "valid-limits.bin"}) {
        SCOPED_TRACE(name);
        const std::string bytes
                = ReadFile(TARNWICK_CORPUS_DIR "/ClipboardPayload/" + std::string(name));
        ASSERT_FALSE(bytes.empty());
        TWordList list;
        const int count = Paste(list, bytes);
        EXPECT_EQ(bytes.substr(0, 4), std::string(3, '\0') + static_cast<char>(count));
        EXPECT_EQ(bytes, list.CopyToStream(0, count - 1)->data().toStdString());
    }
}

TEST(Clipboard, ALongPasteKeepsEveryWordBeforeItsFirstBrokenRecordWhereverThatLies)
{
    constexpr int Words = 50000;
    TWordList intact;
    const std::vector<int64_t> soundsBefore = FillLongList(intact, Words);
    const QByteArray whole = intact.CopyToStream(0, Words - 1)->data();
    // Copied in parts small enough for one thread, the records are the same bytes.
    QByteArray parts = CountBytes(Words);
    for (int first = 0; first < Words; first += 1000)
        parts += intact.CopyToStream(first, first + 999)->data().mid(4);
    ASSERT_EQ(parts, whole);
    const auto recordsEnd
            = [&](int count) { return count == 0 ? 4 : intact.CopyToStream(0, count - 1)->size(); };

    struct TCase
    {
        const char *Name;
        int Kept;
        std::function<void(TWord &)> Break;
        std::function<QByteArray(QByteArray)> Cut;
    };
    const auto asIs = [](QByteArray bytes) { return bytes; };
    const std::vector<TCase> cases{
            {"nothing broken", Words, nullptr, asIs},
            {"a level out of range early", 10, [](TWord &w) { w.Level2 = 4; }, asIs},
            // The broken record's sound is read before its levels, and must not stay in the store.
            {"a level out of range late", 40005, [](TWord &w) { w.Level1 = 9; }, asIs},
            {"a foreign word over its limit", 25001,
             [](TWord &w) { w.ForWord = std::string(513, 'x'); }, asIs},
            {"the payload cut inside a record", 30000, nullptr,
             [&](const QByteArray &bytes) { return bytes.left(recordsEnd(30000) + 5); }},
            {"a count beyond the records", Words, nullptr,
             [](QByteArray bytes) { return bytes.replace(0, 4, CountBytes(Words + 3)); }},
    };
    for (const TCase &test : cases) {
        SCOPED_TRACE(test.Name);
        TWordList source;
        FillLongList(source, Words);
        if (test.Break)
            test.Break(source.Word(test.Kept));
        const QByteArray payload = test.Cut(source.CopyToStream(0, Words - 1)->data());
        TWordList target;
        AddWord(target, "old", "existing");
        target.Saved = true;
        EXPECT_EQ(test.Kept, Paste(target, payload.toStdString(), 0));
        ASSERT_EQ(test.Kept + 1, target.Count());
        EXPECT_EQ("old", target.GetForWord(test.Kept));
        EXPECT_EQ("existing", SoundOf(target, test.Kept));
        EXPECT_FALSE(target.Saved);
        EXPECT_EQ(8 + soundsBefore[static_cast<size_t>(test.Kept)], StoreSize(target));
        EXPECT_EQ(CountBytes(test.Kept) + whole.mid(4, recordsEnd(test.Kept) - 4),
                  target.CopyToStream(0, test.Kept - 1)->data());
    }
}
