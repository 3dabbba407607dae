#include "core/Unit_LanguagePack.h"
#include "core/Unit_WordList.h"
#include "platform/HelpProbe.h"
#include "platform/HelpViewerLibrary.h"
#include "platform/Mp3Decoder.h"
#include "platform/RegistryStore.h"
#include "platform/TempFile.h"
#include "sound/WavFile.h"
#include "support/StoreFixture.h"
#include "support/WordListFixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

enum class TSpecial {
    Fifo,
    Device,
    Folder,
};

// What a reader gives for a file it refuses: its message, or "refused" for a reader that only
// says no.
using TReader = std::function<std::string(const std::string &path)>;

struct TReaderCase
{
    const char *Name;
    TReader Read;
    // Whether the reader's message names the file and the reason.
    bool Explains;
};

constexpr const char *Refused = "refused";

std::string ReadWordList(const std::string &path)
{
    TRecordingHooks hooks;
    TWordList list;
    bool ok = true;
    int format = 0;
    list.LoadFromFile(path, ok, format);
    return ok || hooks.Errors.size() != 1 ? "opened" : hooks.Errors.front();
}

std::string ImportWordList(const std::string &path)
{
    TRecordingHooks hooks;
    TWordList list;
    try {
        list.ImportFile(0, path);
    } catch (const EInOutError &error) {
        return error.what();
    }
    return "imported";
}

std::string ReadPack(const std::string &path)
{
    TLanguagePack pack;
    return pack.LoadFile(path) || pack.LoadSetupFile(path) || IsLanguagePack(path) ? "loaded"
                                                                                   : Refused;
}

std::string ReadHelp(const std::string &path)
{
    BindHelpViewer();
    THelpFailure failure = THelpFailure::None;
    return TChmFile::Open(path, &failure) || failure != THelpFailure::NotOpened ? "opened"
                                                                                : Refused;
}

std::string ReadWav(const std::string &path)
{
    TWaveInfo info;
    return ParseWav(path, info) ? "parsed" : Refused;
}

std::string ReadMp3(const std::string &path)
{
    TMp3Decoder decoder;
    int error = 0;
    return decoder.Open(path, error) ? "decoded" : Refused;
}

// The store reads its hive file before every change.
std::string ReadStore(const std::string &path)
{
    TStoreDir store;
    QFile::link(QFile::decodeName(path.c_str()),
                QString::fromStdString(store.Path() + "/HKEY_CURRENT_USER.reg"));
    const bool changed
            = Registry::ChangeHive(Registry::Hive::CurrentUser, [](auto &) { return true; });
    // The link stands for the file; the reason is what counts.
    const std::string error = Registry::LastError();
    const size_t colon = error.find(": ");
    return changed || colon == std::string::npos ? "changed" : path + error.substr(colon);
}

// The report of the help probe is appended to; a special file in its place takes nothing.
std::string AppendReport(const std::string &path)
{
    AppendDiagnosticLine(path, "line", 0);
    struct stat info
    { };
    return stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode) ? Refused : "written";
}

class HostileFiles : public ::testing::TestWithParam<TSpecial>
{
protected:
    // A file of the kind at a fresh path; a device is reached through a link, as a user would
    // plant one.
    std::string Make(TSpecial kind)
    {
        const std::string path
                = QFile::encodeName(dir.filePath(QStringLiteral("file"))).toStdString();
        switch (kind) {
        case TSpecial::Fifo:
            EXPECT_EQ(0, mkfifo(path.c_str(), 0600));
            break;
        case TSpecial::Device:
            EXPECT_EQ(0, symlink("/dev/zero", path.c_str()));
            break;
        case TSpecial::Folder:
            EXPECT_TRUE(QDir().mkdir(dir.filePath(QStringLiteral("file"))));
            break;
        }
        return path;
    }

    QTemporaryDir dir;
};

// Every reader returns at once, with the failure it gives any unreadable file of its kind; a reader
// that waits on the FIFO is set free by a writer after a while and then counts as too slow.
TEST_P(HostileFiles, EveryReaderRefusesAtOnce)
{
    const std::vector<TReaderCase> readers = {
            {"word list", ReadWordList, true}, {"import", ImportWordList, true},
            {"store", ReadStore, true},        {"language pack", ReadPack, false},
            {"help file", ReadHelp, false},    {"WAV", ReadWav, false},
            {"MP3", ReadMp3, false},           {"probe report", AppendReport, false},
    };
    const TSpecial kind = GetParam();
    const std::string reason = kind == TSpecial::Folder ? SystemErrorText(EISDIR)
                                                        : std::string("Not a regular file");
    for (const TReaderCase &reader : readers) {
        SCOPED_TRACE(reader.Name);
        const std::string path = Make(kind);
        std::atomic<bool> done = false;
        std::thread guard([&] {
            const auto until = std::chrono::steady_clock::now() + 3s;
            while (!done && std::chrono::steady_clock::now() < until)
                std::this_thread::sleep_for(10ms);
            if (!done && kind == TSpecial::Fifo)
                close(open(path.c_str(), O_WRONLY | O_NONBLOCK));
        });
        const auto start = std::chrono::steady_clock::now();
        const std::string result = reader.Read(path);
        const auto took = std::chrono::steady_clock::now() - start;
        done = true;
        guard.join();
        EXPECT_LT(took, 1s);
        if (reader.Explains)
            EXPECT_EQ(path + ": " + reason, result);
        else
            EXPECT_EQ(Refused, result);
        QFile::remove(QString::fromStdString(path));
        QDir().rmdir(QString::fromStdString(path));
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, HostileFiles,
                         ::testing::Values(TSpecial::Fifo, TSpecial::Device, TSpecial::Folder));

// A report file of another user in the shared temp folder is never appended to.
TEST(HelpProbeReport, NotAppendedWhenOwnedByAnotherUser)
{
    QTemporaryDir dir;
    const std::string path
            = QFile::encodeName(dir.filePath(QStringLiteral("HHDebug.txt"))).toStdString();
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    constexpr uid_t Nobody = 65534;
    if (chown(path.c_str(), Nobody, Nobody) != 0)
        GTEST_SKIP() << "changing a file's owner needs privileges";
    AppendDiagnosticLine(path, "line", 0);
    EXPECT_EQ(0, QFileInfo(QString::fromStdString(path)).size());
}

} // namespace
