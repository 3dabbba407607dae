#include "setup/Unit_FolderTest.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Setup;

namespace {

class FolderTest : public ::testing::Test
{
protected:
    std::string Path(const QString &relative) const
    {
        return QFile::encodeName(dir.filePath(relative)).toStdString();
    }
    void MakeFile(const QString &relative) const
    {
        QFile file(dir.filePath(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("x");
    }
    QStringList Entries() const
    {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

    QTemporaryDir dir;
};

TEST_F(FolderTest, SplitsAtTheLongestExistingFolder)
{
    std::string existing;
    std::string missing;
    SplitExistingPath(Path("a/b/c"), existing, missing);
    EXPECT_EQ(existing, Path(""));
    EXPECT_EQ(missing, "a/b/c");

    ASSERT_TRUE(QDir(dir.path()).mkpath("a"));
    SplitExistingPath(Path("a/b/c"), existing, missing);
    EXPECT_EQ(existing, Path("a"));
    EXPECT_EQ(missing, "b/c");

    SplitExistingPath(Path("a"), existing, missing);
    EXPECT_EQ(existing, Path("a"));
    EXPECT_EQ(missing, "");
}

TEST_F(FolderTest, SplitKeepsTheRootAndEndsEmptyForAnUnknownRelativePath)
{
    std::string existing;
    std::string missing;
    SplitExistingPath("/tarnwick-no-such-folder/x", existing, missing);
    EXPECT_EQ(existing, "/");
    EXPECT_EQ(missing, "tarnwick-no-such-folder/x");

    SplitExistingPath("tarnwick-no-such-folder/x", existing, missing);
    EXPECT_EQ(existing, "");
    EXPECT_EQ(missing, "tarnwick-no-such-folder/x");
}

TEST_F(FolderTest, SplitTreatsAPlainFileAsMissing)
{
    MakeFile("file");
    std::string existing;
    std::string missing;
    SplitExistingPath(Path("file/sub"), existing, missing);
    EXPECT_EQ(existing, Path(""));
    EXPECT_EQ(missing, "file/sub");
}

TEST_F(FolderTest, AnExistingFolderPasses)
{
    EXPECT_TRUE(FolderCanBeUsed(Path("")));
    ASSERT_TRUE(QDir(dir.path()).mkpath("a/b"));
    EXPECT_TRUE(FolderCanBeUsed(Path("a/b")));
    EXPECT_TRUE(FolderCanBeUsed(Path("a/b/")));
    EXPECT_TRUE(QDir(dir.filePath("a/b")).exists());
}

TEST_F(FolderTest, ThreeMissingLevelsPassAndLeaveNothingBehind)
{
    EXPECT_TRUE(FolderCanBeUsed(Path("one/two/three")));
    EXPECT_TRUE(Entries().isEmpty()) << Entries().join(',').toStdString();

    ASSERT_TRUE(QDir(dir.path()).mkpath("kept"));
    EXPECT_TRUE(FolderCanBeUsed(Path("kept/two/three/")));
    EXPECT_EQ(Entries(), QStringList{"kept"});
    EXPECT_TRUE(QDir(dir.filePath("kept")).isEmpty());
}

TEST_F(FolderTest, APlainFileIsRefusedAndKept)
{
    MakeFile("file");
    EXPECT_FALSE(FolderCanBeUsed(Path("file")));
    EXPECT_TRUE(QFileInfo(dir.filePath("file")).isFile());
}

TEST_F(FolderTest, AFolderThatCannotBeCreatedFailsAndLeavesNothing)
{
    MakeFile("file");
    EXPECT_FALSE(FolderCanBeUsed(Path("file/a/b")));
    EXPECT_FALSE(FolderCanBeUsed(""));
    ASSERT_TRUE(QDir(dir.path()).mkpath("a"));
    MakeFile("a/block");
    EXPECT_FALSE(FolderCanBeUsed(Path("a/block/x/y")));
    EXPECT_EQ(QDir(dir.filePath("a")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{"block"});
}

TEST_F(FolderTest, ARelativePathIsTestedFromTheWorkingFolder)
{
    const QString saved = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    EXPECT_TRUE(FolderCanBeUsed("rel/a/b"));
    const QStringList left = Entries();
    QDir::setCurrent(saved);
    EXPECT_TRUE(left.isEmpty());
}

TEST(GroupPaths, SeparatorsAndTrailingSeparators)
{
    EXPECT_EQ(GroupFolderPath("A\\B\\C"), "A/B/C");
    EXPECT_EQ(GroupFolderPath("A/B"), "A/B");
    EXPECT_EQ(WithoutTrailingSeparator("A\\B\\"), "A\\B");
    EXPECT_EQ(WithoutTrailingSeparator("A/B/"), "A/B");
    EXPECT_EQ(WithoutTrailingSeparator("A\\B"), "A\\B");
    EXPECT_EQ(WithoutTrailingSeparator("\\"), "");
    EXPECT_EQ(WithoutTrailingSeparator(""), "");
    EXPECT_EQ(WithoutTrailingSeparator("/"), "/");
}

} // namespace
