#include "core/Unit_LanguagePack.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

Lines Numbered(const std::string &prefix, int count)
{
    Lines lines;
    for (int i = 0; i < count; ++i)
        lines.push_back(prefix + std::to_string(i));
    return lines;
}

Lines operator+(Lines a, const Lines &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A complete pack: header, format, the installer's, the trainer's and the uninstaller's texts.
Lines Pack(int setupCount = SetupEntryCount, int mainCount = MainEntryCount)
{
    return Lines{"Tarnwick Language Pack", "2", ":setup"} + Numbered("s", setupCount)
            + Lines{":main"} + Numbered("m", mainCount) + Lines{":uninst", "u0"};
}

class LanguagePackFile : public ::testing::Test
{
protected:
    std::string Write(const Lines &lines, const std::string &eol = "\r\n",
                      const std::string &name = "pack.lng")
    {
        std::string bytes;
        for (const std::string &line : lines)
            bytes += line + eol;
        return WriteBytes(bytes, name);
    }

    std::string WriteBytes(const std::string &bytes, const std::string &name = "pack.lng")
    {
        const QString path = dir.filePath(QString::fromStdString(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
        return QFile::encodeName(path).toStdString();
    }

    QTemporaryDir dir;
    TLanguagePack pack;
};

} // namespace

TEST_F(LanguagePackFile, ACompletePackLoadsBothSections)
{
    const std::string path = Write(Pack());
    ASSERT_TRUE(pack.LoadFile(path));
    ASSERT_EQ(357u, pack.Entries.size());
    EXPECT_EQ("m0", pack.Entries[0]);
    EXPECT_EQ("m356", pack.Entries[356]);

    TLanguagePack setup;
    ASSERT_TRUE(setup.LoadSetupFile(path));
    ASSERT_EQ(40u, setup.Entries.size());
    EXPECT_EQ("s0", setup.Entries[0]);
    EXPECT_EQ("s39", setup.Entries[39]);
}

TEST_F(LanguagePackFile, LfOnlyLinesLoadLikeCrLfLines)
{
    const std::string path = Write(Pack(), "\n");
    ASSERT_TRUE(pack.LoadFile(path));
    EXPECT_EQ("m356", pack.Entries[356]);
}

TEST_F(LanguagePackFile, EntryCountMustBeExact)
{
    // With one entry missing, ":uninst" is read as the last entry and the uninstaller's first
    // text stands where the marker must.
    ASSERT_FALSE(pack.LoadFile(Write(Pack(SetupEntryCount, 356))));
    EXPECT_EQ(":uninst", pack.Entries[356]);
    EXPECT_FALSE(pack.LoadFile(Write(Pack(SetupEntryCount, 358))));

    // A comment between the last entry and the marker is an ordinary line there.
    Lines commented = Pack();
    commented.insert(commented.end() - 2, "# the end");
    EXPECT_FALSE(pack.LoadFile(Write(commented)));
}

TEST_F(LanguagePackFile, CommentsAreSkippedAndEmptyLinesAreEntries)
{
    Lines lines = Pack();
    const auto firstMain = std::find(lines.begin(), lines.end(), ":main") + 1;
    *firstMain = "";
    lines.insert(firstMain + 1, {"# a comment", "#"});
    ASSERT_TRUE(pack.LoadFile(Write(lines)));
    EXPECT_EQ("", pack.Entries[0]);
    EXPECT_EQ("m1", pack.Entries[1]);
    EXPECT_EQ("m356", pack.Entries[356]);
}

TEST_F(LanguagePackFile, EscapesAreReplacedInOnePass)
{
    const Lines escaped{"a\\\\b", "one\\ntwo", "\\\\n",   "\\\\\\n", "100\\%",
                        "end\\",  "\\# no",    "\\:main", "\\x",     "\\n\\n"};
    Lines lines = Pack();
    const auto firstMain = std::find(lines.begin(), lines.end(), ":main") + 1;
    std::copy(escaped.begin(), escaped.end(), firstMain);
    ASSERT_TRUE(pack.LoadFile(Write(lines)));
    EXPECT_EQ("a\\b", pack.Entries[0]);
    EXPECT_EQ("one\r\ntwo", pack.Entries[1]);
    EXPECT_EQ("\\n", pack.Entries[2]);
    EXPECT_EQ("\\\r\n", pack.Entries[3]);
    EXPECT_EQ("100\\%", pack.Entries[4]);
    EXPECT_EQ("end\\", pack.Entries[5]);
    EXPECT_EQ("# no", pack.Entries[6]);
    EXPECT_EQ(":main", pack.Entries[7]);
    EXPECT_EQ("\\x", pack.Entries[8]);
    EXPECT_EQ("\r\n\r\n", pack.Entries[9]);
}

TEST_F(LanguagePackFile, FormatLineMustBeDigitsWithValueTwo)
{
    struct Case
    {
        std::string format;
        bool accepted;
    };
    const std::vector<Case> cases{{"2", true},
                                  {"02", true},
                                  {"0002", true},
                                  {"2 ", false},
                                  {" 2", false},
                                  {"", false},
                                  {"3", false},
                                  {"0", false},
                                  {"20", false},
                                  {"+2", false},
                                  {"99999999999999999999999999999999", false},
                                  {"4294967298", false}};
    for (const Case &c : cases) {
        SCOPED_TRACE("format line '" + c.format + "'");
        Lines lines = Pack();
        lines[1] = c.format;
        const std::string path = Write(lines);
        EXPECT_EQ(c.accepted, IsLanguagePack(path));
        EXPECT_EQ(c.accepted, IsLanguagePackFile(path));
        EXPECT_EQ(c.accepted, pack.LoadFile(path));
        EXPECT_EQ(c.accepted, pack.LoadSetupFile(path));
    }
}

TEST_F(LanguagePackFile, HeaderMustMatchExactly)
{
    for (const std::string header :
         {"tarnwick language pack", "Tarnwick Language Pack ", " Tarnwick Language Pack",
          "\xEF\xBB\xBFTarnwick Language Pack", "Tarnwick Language Pack\r", ""}) {
        SCOPED_TRACE("header '" + header + "'");
        Lines lines = Pack();
        lines[0] = header;
        const std::string path = Write(lines);
        EXPECT_FALSE(IsLanguagePack(path));
        EXPECT_FALSE(pack.LoadFile(path));
    }
}

TEST_F(LanguagePackFile, HeaderTestNeedsNoSections)
{
    EXPECT_TRUE(IsLanguagePack(WriteBytes("Tarnwick Language Pack\r\n2")));
    EXPECT_TRUE(IsLanguagePack(WriteBytes("Tarnwick Language Pack\r\n2\r\n")));
    EXPECT_FALSE(IsLanguagePack(WriteBytes("Tarnwick Language Pack\r\n")));
    EXPECT_FALSE(IsLanguagePack(WriteBytes("")));
    EXPECT_FALSE(IsLanguagePack(QFile::encodeName(dir.filePath("none.lng")).toStdString()));
    EXPECT_FALSE(IsLanguagePack(QFile::encodeName(dir.path()).toStdString()));
}

TEST_F(LanguagePackFile, MarkerOnTheLastLineIsRejected)
{
    EXPECT_FALSE(pack.LoadFile(Write({"Tarnwick Language Pack", "2", ":main"})));
    EXPECT_FALSE(pack.LoadSetupFile(Write({"Tarnwick Language Pack", "2", ":setup"})));
    // Without a line break after it the marker is still the last line.
    EXPECT_FALSE(pack.LoadFile(WriteBytes("Tarnwick Language Pack\r\n2\r\n:main")));
}

TEST_F(LanguagePackFile, EndOfFileRightAfterTheLastEntryIsRejected)
{
    Lines lines = Pack();
    lines.resize(lines.size() - 2);
    ASSERT_FALSE(pack.LoadFile(Write(lines)));
    EXPECT_EQ("m356", pack.Entries[356]);

    const Lines setupOnly = Lines{"Tarnwick Language Pack", "2", ":setup"} + Numbered("s", 40);
    EXPECT_FALSE(pack.LoadSetupFile(Write(setupOnly)));
}

TEST_F(LanguagePackFile, EachLoaderNeedsOnlyItsOwnSection)
{
    // The installer's texts are complete even when the trainer's are short.
    const std::string shortMain = Write(Pack(SetupEntryCount, 10));
    EXPECT_TRUE(pack.LoadSetupFile(shortMain));
    EXPECT_FALSE(pack.LoadFile(shortMain));

    const Lines trainerOnly
            = Lines{"Tarnwick Language Pack", "2", "", "# no installer texts", ":main"}
            + Numbered("m", 357) + Lines{":uninst"};
    const std::string path = Write(trainerOnly);
    EXPECT_TRUE(pack.LoadFile(path));
    EXPECT_FALSE(pack.LoadSetupFile(path));

    // The installer's section must be followed at once by the trainer's marker.
    EXPECT_FALSE(pack.LoadSetupFile(Write(Pack(41, MainEntryCount))));
}

TEST_F(LanguagePackFile, MissingFileLeavesEntriesUntouched)
{
    pack.Entries = {"kept"};
    EXPECT_FALSE(pack.LoadFile(QFile::encodeName(dir.filePath("none.lng")).toStdString()));
    EXPECT_FALSE(pack.LoadSetupFile(QFile::encodeName(dir.path()).toStdString()));
    EXPECT_EQ(Lines{"kept"}, pack.Entries);
}

TEST_F(LanguagePackFile, AFailedLoadLeavesEmptyTextsAfterTheFailure)
{
    Lines lines = Pack();
    lines.resize(lines.size() - 200);
    ASSERT_FALSE(pack.LoadFile(Write(lines)));
    ASSERT_EQ(357u, pack.Entries.size());
    EXPECT_EQ("m150", pack.Entries[150]);
    EXPECT_EQ("", pack.Entries[160]);
    EXPECT_EQ("", pack.Entries[356]);
    EXPECT_EQ("", pack.entry(357));
    EXPECT_EQ("", pack.entry(-1));
}

// Every entry as long as a line may be (its CR included), so read blocks end inside many of them.
TEST_F(LanguagePackFile, LongLinesSpanningReadBlocksStayWhole)
{
    Lines lines = Pack();
    const auto firstMain = std::find(lines.begin(), lines.end(), ":main") + 1;
    for (auto line = firstMain; line != firstMain + MainEntryCount; ++line)
        *line += std::string(MaxPackLineBytes - 1 - line->size(), 'x');
    ASSERT_TRUE(pack.LoadFile(Write(lines)));
    for (int i = 0; i < MainEntryCount; ++i)
        ASSERT_EQ(firstMain[i], pack.Entries[static_cast<size_t>(i)]) << i;
}

// A line longer than any entry can be is damage wherever it stands; the file is read no further.
TEST_F(LanguagePackFile, ALineLongerThanAnyEntryFailsTheFile)
{
    Lines lines = Pack();
    const auto setupEntry = std::find(lines.begin(), lines.end(), ":setup") + 1;
    *setupEntry = std::string(MaxPackLineBytes, 's');
    const std::string fits = Write(lines, "\n", "fits.lng");
    EXPECT_TRUE(pack.LoadFile(fits));
    EXPECT_TRUE(pack.LoadSetupFile(fits));
    *setupEntry += "s";
    const std::string tooLong = Write(lines, "\n", "too-long.lng");
    EXPECT_FALSE(pack.LoadFile(tooLong));
    EXPECT_FALSE(pack.LoadSetupFile(tooLong));
    EXPECT_EQ("", pack.Entries[0]);

    constexpr size_t EndlessLine = 8 * 1024 * 1024;
    const std::string endless = WriteBytes("Tarnwick Language Pack\r\n2\r\n:main\r\n"
                                           + std::string(EndlessLine, 'm'));
    EXPECT_FALSE(pack.LoadFile(endless));
    EXPECT_EQ("", pack.Entries[0]);
    EXPECT_TRUE(IsLanguagePack(endless));
    EXPECT_FALSE(IsLanguagePack(WriteBytes(std::string(EndlessLine, 'T') + "\r\n2\r\n")));
}

TEST_F(LanguagePackFile, LoadLooksBesideTheProgram)
{
    const QString name = QStringLiteral("TarnwickTestPack");
    const QString path = QDir(QCoreApplication::applicationDirPath()).filePath(name + ".lng");
    EXPECT_EQ(QFile::encodeName(path).toStdString(), LanguagePackPath(name.toStdString()));
    ASSERT_TRUE(QFile::copy(QString::fromStdString(Write(Pack())), path));
    EXPECT_TRUE(pack.Load(name.toStdString()));
    EXPECT_TRUE(pack.LoadSetup(name.toStdString()));
    QFile::remove(path);
    EXPECT_FALSE(pack.Load(name.toStdString()));
}

TEST(LanguageText, GivesEmptyTextWithoutAPack)
{
    TLanguagePack *saved = LanguagePack;
    LanguagePack = nullptr;
    EXPECT_EQ("", LanguageText(0));
    TLanguagePack pack;
    pack.Entries = {"Ja"};
    LanguagePack = &pack;
    EXPECT_EQ("Ja", LanguageText(0));
    EXPECT_EQ("", LanguageText(1));
    LanguagePack = saved;
}
