#include "platform/TempFile.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

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
