#include "platform/TempFile.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

TEST(TempFile, CreatesUniqueEmptyFilesWithThePrefixInTheTemporaryFolder)
{
    const std::string first = CreateTempFile("ZRS");
    const std::string second = CreateTempFile("ZRS");
    EXPECT_NE(first, second);
    for (const std::string &path : {first, second}) {
        const QFileInfo info(QString::fromStdString(path));
        EXPECT_TRUE(info.isFile());
        EXPECT_EQ(0, info.size());
        EXPECT_EQ(QDir::tempPath(), info.absolutePath());
        EXPECT_TRUE(info.fileName().startsWith(QLatin1String("ZRS")));
        EXPECT_TRUE(info.fileName().endsWith(QLatin1String(".tmp")));
        QFile::remove(info.filePath());
    }
}

namespace {

// The id of a process that has ended.
pid_t EndedProcess()
{
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    int status = 0;
    waitpid(child, &status, 0);
    return child;
}

void Touch(const QString &path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("sound");
}

} // namespace

// What a killed trainer left is removed at the next start; files of running trainers, of unknown
// owner or of other kinds stay.
TEST(TempFile, StaleFilesOfEndedProcessesAreRemovedAndOthersStay)
{
    QTemporaryDir dir;
    const QString dead = QString::number(EndedProcess());
    const QString running = QString::number(getppid());
    const QString own = QString::number(getpid());
    const QStringList removed = {"ZRS" + dead + "-a1b2c3.tmp", "ZRW" + dead + "-XyZ012.tmp",
                                 "ZRM" + dead + "-qqqqqq.tmp"};
    const QStringList kept = {"ZRS" + running + "-a1b2c3.tmp", "ZRW" + own + "-a1b2c3.tmp",
                              // Names of another form: their owner cannot be known.
                              "ZRSa1b2c3.tmp", "ZRS" + dead + "-a1b2.tmp", "ZRS" + dead + ".tmp",
                              "ZRX" + dead + "-a1b2c3.tmp", "ZRS" + dead + "-a1b2c3.txt"};
    for (const QString &name : removed + kept)
        Touch(dir.filePath(name));
    // A folder of such a name is no file of ours.
    ASSERT_TRUE(QDir(dir.path()).mkdir("ZRS" + dead + "-folder.tmp"));

    EXPECT_EQ(3, RemoveStaleTempFiles(QFile::encodeName(dir.path()).toStdString()));
    QStringList left = QDir(dir.path()).entryList(QDir::Files, QDir::Name);
    QStringList expected = kept;
    expected.sort();
    EXPECT_EQ(expected, left);
    EXPECT_TRUE(QFileInfo(dir.filePath("ZRS" + dead + "-folder.tmp")).isDir());

    // A file made now carries this process as its owner, so a sweep leaves it.
    const std::string made = CreateTempFile("ZRS");
    EXPECT_TRUE(QFileInfo(QString::fromStdString(made)).fileName().startsWith("ZRS" + own + "-"));
    RemoveStaleTempFiles();
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(made)));
    QFile::remove(QString::fromStdString(made));
}
