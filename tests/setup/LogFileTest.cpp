#include "setup/ExtractFixture.h"
#include "setup/Unit_LogFile.h"

#include <QDateTime>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>

namespace {

std::tm Time(int year, int month, int day, int hour, int minute, int second)
{
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return t;
}

TEST(LogFile, WritesTheWholeLayoutByteForByte)
{
    TSetupTexts texts;
    TFolder folder;
    {
        TLogFile log(folder.Path(), "Tarnwick\\Extra");
        EXPECT_TRUE(log.Created());
        log.StartProgramFiles();
        log.WriteLine("Tarnwick");
        log.WriteNumber(1569287336);
        log.WriteLine("sub\\English.lng");
        log.WriteNumber(-1932566528);
        log.StartProgramFolderFiles();
        log.WriteLine("Tarnwick.lnk");
        log.WriteNumber(2162688);
        EXPECT_EQ(log.Error(), "");
    }
    EXPECT_EQ(folder.Read("Install.log"),
              "Installation log \xE9\r\n0\r\n\r\n{program folder}\r\nTarnwick\\Extra\r\n\r\n"
              "{program files}\r\nTarnwick\r\n1569287336\r\nsub\\English.lng\r\n-1932566528\r\n"
              "\r\n{program folder files}\r\nTarnwick.lnk\r\n2162688\r\n\r\n");
}

TEST(LogFile, ARerunReplacesTheLog)
{
    TSetupTexts texts;
    TFolder folder;
    folder.Write("Install.log", std::string(500, 'x'));
    {
        TLogFile log(folder.Path(), "");
    }
    EXPECT_EQ(folder.Read("Install.log"),
              "Installation log \xE9\r\n0\r\n\r\n{program folder}\r\n\r\n\r\n");
}

TEST(LogFile, AFailedCreateIsReportedAndWritesAreHarmless)
{
    TFolder folder;
    TLogFile log(folder.Path() + "/missing", "G");
    EXPECT_FALSE(log.Created());
    EXPECT_EQ(log.Error(),
              "Could not create the installation log \"" + folder.Path()
                      + "/missing/Install.log\": " + std::strerror(ENOENT) + ".");
    log.WriteLine("x");
    log.StartProgramFiles();
    log.Close();
    EXPECT_FALSE(folder.Exists("missing"));
}

// A full disk: the failure is remembered once, the later writes are skipped.
TEST(LogFile, AFailedWriteIsRememberedOnce)
{
    if (!QFile::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "no /dev/full";
    TFolder folder;
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/full"),
                            QString::fromStdString(folder.File("Install.log"))));
    TLogFile log(folder.Path(), "G");
    ASSERT_TRUE(log.Created());
    for (int i = 0; i < 10000; ++i)
        log.WriteLine("a line that fills the buffer");
    log.Close();
    EXPECT_EQ(log.Error(),
              "Could not write the installation log \"" + folder.Path()
                      + "/Install.log\": " + std::strerror(ENOSPC) + ".");
}

TEST(DosDateTime, PacksDateHighAndTimeLowWithEvenSeconds)
{
    EXPECT_EQ(DosDateTime(Time(1980, 1, 1, 0, 0, 0)), 0x00210000);
    EXPECT_EQ(DosDateTime(Time(2026, 12, 9, 13, 37, 17)), 1569287336);
    EXPECT_EQ(DosDateTime(Time(2026, 12, 9, 13, 37, 16)), 1569287336);
    EXPECT_EQ(DosDateTime(Time(2026, 12, 9, 13, 37, 59)), 1569287336 - 8 + 29);
    // From 2044 on the date's top bit makes the number negative.
    EXPECT_EQ(DosDateTime(Time(2050, 6, 15, 12, 0, 0)), -1932566528);
}

TEST(DosDateTime, ClampsToTheRangeTheFormHoldsAndIsNeverZero)
{
    EXPECT_EQ(DosDateTime(Time(1970, 1, 1, 0, 0, 0)), 0x00210000);
    EXPECT_EQ(DosDateTime(Time(1979, 12, 31, 23, 59, 59)), 0x00210000);
    EXPECT_EQ(DosDateTime(Time(2107, 12, 31, 23, 59, 59)), -6307971);
    EXPECT_EQ(DosDateTime(Time(2200, 3, 4, 5, 6, 7)), -6307971);
    EXPECT_NE(DosDateTime(Time(1900, 1, 1, 0, 0, 0)), 0);
}

TEST(DosDateTime, AFileStampIsItsLocalLastWriteTime)
{
    TFolder folder;
    folder.Write("f", "x");
    QFile file(QString::fromStdString(folder.File("f")));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime(QDate(2001, 2, 3), QTime(4, 5, 7), Qt::LocalTime),
                                 QFileDevice::FileModificationTime));
    file.close();
    EXPECT_EQ(FileTimeStamp(folder.File("f")), DosDateTime(Time(2001, 2, 3, 4, 5, 6)));
    EXPECT_EQ(FileTimeStamp(folder.File("missing")), std::nullopt);
}

TLogReader Reader(const TFolder &folder, const std::string &bytes)
{
    folder.Write("Install.log", bytes);
    TLogReader reader;
    EXPECT_TRUE(reader.Open(folder.File("Install.log")));
    return reader;
}

TEST(LogReader, TakesCrLfAndLfLinesAndFindsTheGroup)
{
    TFolder folder;
    const TLogReader reader
            = Reader(folder,
                     "Title\r\n0\n\r\n{program folder}\r\nMy\\Group\n\n{program files}\r\n"
                     "a\r\n5\nsub\\b\r\n-7\r\n\r\n{program folder files}\nx.lnk\n9");
    EXPECT_TRUE(reader.HasStamps());
    EXPECT_EQ(reader.ProgramGroup(), "My\\Group");
    const std::vector<TLogItem> files = reader.Section("{program files}");
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].Name, "a");
    EXPECT_TRUE(files[0].StampValid);
    EXPECT_EQ(files[0].Stamp, 5);
    EXPECT_EQ(files[1].Name, "sub\\b");
    EXPECT_EQ(files[1].Stamp, -7);
    const std::vector<TLogItem> shortcuts = reader.Section("{program folder files}", 2);
    ASSERT_EQ(shortcuts.size(), 1u);
    EXPECT_EQ(shortcuts[0].Name, "x.lnk");
    EXPECT_EQ(shortcuts[0].Stamp, 9);
}

TEST(LogReader, GroupLineMissingOrEmpty)
{
    TFolder folder;
    EXPECT_EQ(Reader(folder, "T\r\n0\r\n\r\n{program folder}\r\n").ProgramGroup(), std::nullopt);
    EXPECT_EQ(Reader(folder, "T\r\n0\r\n\r\n{program folder}").ProgramGroup(), std::nullopt);
    EXPECT_EQ(Reader(folder, "T\r\n0\r\n\r\n").ProgramGroup(), std::nullopt);
    EXPECT_EQ(Reader(folder, "T\r\n0\r\n\r\n{program folder}\r\n\r\n").ProgramGroup(), "");
    TLogReader reader;
    EXPECT_FALSE(reader.Open(folder.File("nothing.log")));
}

// A cancelled extraction leaves a name without its stamp; a log without stamps has names only.
TEST(LogReader, SectionsWithAMissingStampAndWithoutStamps)
{
    TFolder folder;
    std::vector<TLogItem> items
            = Reader(folder,
                     "T\r\n0\r\n\r\n{program folder}\r\nG\r\n\r\n{program files}\r\na\r\n"
                     "1\r\nb\r\n\r\n")
                      .Section("{program files}");
    ASSERT_EQ(items.size(), 2u);
    EXPECT_TRUE(items[1].HasStamp); // the empty line is taken as b's stamp, and is no number
    EXPECT_FALSE(items[1].StampValid);

    items = Reader(folder, "T\r\n0\r\n\r\n{program files}\r\na\r\n1\r\nb")
                    .Section("{program files}");
    ASSERT_EQ(items.size(), 2u);
    EXPECT_FALSE(items[1].HasStamp);

    items = Reader(folder, "T\r\n\r\n\r\n{program files}\r\na\r\nb\r\n\r\nc")
                    .Section("{program files}");
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].Name, "a");
    EXPECT_FALSE(items[0].HasStamp);
    EXPECT_EQ(items[1].Name, "b");

    EXPECT_TRUE(Reader(folder, "T\r\n0\r\n").Section("{program files}").empty());
    // The marker is looked for from the given line on.
    EXPECT_TRUE(Reader(folder, "{program files}\r\n\r\n").Section("{program files}", 1).empty());
}

TEST(LogReader, StampsAreWholeSignedDecimalNumbers)
{
    EXPECT_EQ(ParseStamp("2162688"), 2162688);
    EXPECT_EQ(ParseStamp("-6307971"), -6307971);
    EXPECT_EQ(ParseStamp("+12"), 12);
    EXPECT_EQ(ParseStamp("-2147483648"), INT32_MIN);
    EXPECT_EQ(ParseStamp("2147483648"), std::nullopt);
    EXPECT_EQ(ParseStamp(""), std::nullopt);
    EXPECT_EQ(ParseStamp("-"), std::nullopt);
    EXPECT_EQ(ParseStamp("+"), std::nullopt);
    EXPECT_EQ(ParseStamp("+-1"), std::nullopt);
    EXPECT_EQ(ParseStamp("12 "), std::nullopt);
    EXPECT_EQ(ParseStamp("0x10"), std::nullopt);
}

} // namespace
