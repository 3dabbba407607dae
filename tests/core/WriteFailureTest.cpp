#include "core/Unit_WLFile.h"
#include "core/Unit_WordList.h"
#include "platform/TempFile.h"
#include "support/FileSizeLimit.h"
#include "support/WordListFixtures.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>

// Every write of the word list's files and temporary files failing half-way, as on a full disk:
// the message names the file as the file system names it, and the system's reason.
namespace {

// Writes fail once a file reaches this size: the store starts below it, and every file and sound
// written below is larger, so each write gets part of the way.
constexpr rlim_t FullAt = 64 * 1024;
constexpr size_t StoreBefore = FullAt / 2;
constexpr size_t Larger = 4 * FullAt;

std::string Failure(const std::string &file, int error)
{
    return file + ": " + std::strerror(error);
}

// The message of the EInOutError that work throws; "" when it throws none.
std::string MessageOf(const std::function<void()> &work)
{
    try {
        TFileSizeLimit limit(FullAt);
        work();
    } catch (const EInOutError &error) {
        return error.what();
    }
    return {};
}

QByteArray Payload(const std::string &bytes)
{
    return QByteArray::fromStdString(bytes);
}

class WriteFailure : public ::testing::Test
{
protected:
    WriteFailure()
    {
        list.InitLanguages("Frans", 0, "Arial", 12, "Nederlands", 0, "Arial", 10);
        for (int i = 0; i < static_cast<int>(Larger / 512); ++i)
            list.Add(std::make_unique<TWord>(std::string(500, 'w'), "r", "l"));
        WriteFile(list.SoundTempFile, std::string(StoreBefore, 's'));
    }

    // A file in a folder whose name is not ASCII: it must reach the message byte for byte.
    std::string Path(const char *name) const
    {
        return QFile::encodeName(dir.filePath(QString::fromUtf8(name))).toStdString();
    }

    QTemporaryDir dir{QDir::tempPath() + QString::fromUtf8("/W\u00F6rter \u00E9t\u00E9-XXXXXX")};
    TWordList list;
};

} // namespace

TEST_F(WriteFailure, SavingAndExportingNameTheirFileAndTheReason)
{
    ASSERT_TRUE(dir.isValid());
    const std::string list1 = Path("Fran\u00E7ais.wdl");
    EXPECT_EQ(Failure(list1, EFBIG), MessageOf([&] { list.SaveToFile(list1); }));
    const std::string text = Path("Fran\u00E7ais.txt");
    EXPECT_EQ(Failure(text, EFBIG), MessageOf([&] { list.ExportTextFile(text); }));
    EXPECT_EQ(QStringList(), QDir(dir.path()).entryList(QDir::Files));
}

TEST_F(WriteFailure, EveryWriteToTheSoundStoreNamesTheStoreAndTheReason)
{
    const std::string store = list.SoundTempFile;
    const std::string sound(Larger, 'n');

    WriteFile(list.RecordTempFile, sound);
    list.SetSound(0, -1, -1);
    EXPECT_EQ(Failure(store, EFBIG), MessageOf([&] { list.StoreRecordedSound(0); }));

    QByteArray soundBytes = Payload(sound);
    QBuffer soundStream(&soundBytes);
    soundStream.open(QIODevice::ReadOnly);
    EXPECT_EQ(Failure(store, EFBIG), MessageOf([&] { list.PasteSoundFromStream(soundStream, 1); }));

    TListBytes words;
    words.Int(1).Str("w").Str("r").Str("p").Str("l").Str("c");
    words.Int(static_cast<int32_t>(sound.size())).Raw(sound);
    words.Byte(0).Byte(0).Byte(0).Byte(0).Byte(0).Byte(0).Byte(0).Byte(0).Str("\r");
    QByteArray wordBytes = Payload(words.Bytes);
    QBuffer wordStream(&wordBytes);
    wordStream.open(QIODevice::ReadOnly);
    EXPECT_EQ(Failure(store, EFBIG), MessageOf([&] { list.PasteFromStream(wordStream, 0); }));
    // A paste long enough to be read by several threads, whose sounds all lie in its last part.
    constexpr int LongPaste = 30000;
    TListBytes many;
    many.Int(LongPaste);
    for (int i = 0; i < LongPaste; ++i) {
        const std::string bytes = i < LongPaste - 1000 ? "" : std::string(100, 'm');
        many.Str("w").Str("r").Str("p").Str("l").Str("c");
        many.Int(static_cast<int32_t>(bytes.size())).Raw(bytes);
        many.Raw(std::string(CountersBytes, '\0')).Str("\r");
    }
    QByteArray manyBytes = Payload(many.Bytes);
    QBuffer manyStream(&manyBytes);
    manyStream.open(QIODevice::ReadOnly);
    const int count = list.Count();
    EXPECT_EQ(Failure(store, EFBIG), MessageOf([&] { list.PasteFromStream(manyStream, 0); }));
    EXPECT_EQ(count, list.Count());
    EXPECT_EQ(static_cast<qint64>(StoreBefore), QFile(QString::fromStdString(store)).size());

    // The import first takes the sounds into a store of its own: this one fits there, not here.
    TListBytes file;
    file.Header(5).Record(5, "w", std::string(FullAt - StoreBefore / 2, 'i'));
    const std::string imported = WriteFile(Path("import.wdl"), file.Bytes);
    EXPECT_EQ(Failure(store, EFBIG), MessageOf([&] { list.ImportFile(0, imported); }));
    EXPECT_EQ(static_cast<qint64>(StoreBefore), QFile(QString::fromStdString(store)).size());
}

// A temporary folder that is a file: the folder is named, the file to be made has no name yet.
TEST(TempFileFailure, NamesTheTemporaryFolderAndTheReason)
{
    QTemporaryDir dir;
    const std::string notAFolder = WriteFile(
            QFile::encodeName(dir.filePath(QString::fromUtf8("Tempor\u00E4r"))).toStdString(), "");
    const bool wasSet = qEnvironmentVariableIsSet("TMPDIR");
    const QByteArray saved = qgetenv("TMPDIR");
    qputenv("TMPDIR", QByteArray::fromStdString(notAFolder));
    std::string message;
    try {
        CreateTempFile("ZRW");
    } catch (const EInOutError &error) {
        message = error.what();
    }
    if (wasSet)
        qputenv("TMPDIR", saved);
    else
        qunsetenv("TMPDIR");
    EXPECT_EQ(Failure(notAFolder, ENOTDIR), message);
}
