#include "platform/EntrySpelling.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>
#include <string>

namespace {

void Touch(const std::string &path)
{
    QFile file(QFile::decodeName(QByteArray::fromStdString(path)));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

// A case-insensitive file system: every spelling of a name is the file of that name in lower
// case, as long as some spelling of it exists in the folder.
std::optional<TFileIdentity> CaseFolded(const std::string &path)
{
    const std::optional<TFileIdentity> real = FileIdentity(path);
    if (real)
        return real;
    const size_t nameStart = path.rfind('/') + 1;
    const QDir folder(QFile::decodeName(QByteArray::fromStdString(path.substr(0, nameStart))));
    const QString name = QFile::decodeName(QByteArray::fromStdString(path.substr(nameStart)));
    for (const QString &entry : folder.entryList(QDir::Files)) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return FileIdentity(QFile::encodeName(folder.filePath(entry)).toStdString());
    }
    return std::nullopt;
}

} // namespace

TEST(EntrySpelling, ANameTakesTheSpellingOfTheEntryThatIsTheSameFile)
{
    QTemporaryDir dir;
    const std::string folder = QFile::encodeName(dir.path()).toStdString();
    Touch(folder + "/French.wdl");
    Touch(folder + "/\xC3\x89t\xC3\xA9.wdl");
    Touch(folder + "/other.WDL");

    const std::map<std::string, std::string> cases{
            {"/french.WDL", "/French.wdl"},
            {"/FRENCH.wdl", "/French.wdl"},
            {"/French.wdl", "/French.wdl"},
            // Letters beyond ASCII fold as well.
            {"/\xC3\xA9T\xC3\x89.wdl", "/\xC3\x89t\xC3\xA9.wdl"},
            // No entry of that name: the path stays as given.
            {"/missing.wdl", "/missing.wdl"},
            {"/Other.wdl", "/other.WDL"},
    };
    for (const auto &[given, expected] : cases)
        EXPECT_EQ(folder + expected, WithEntrySpelling(folder + given, CaseFolded)) << given;
    EXPECT_EQ("/no/such/folder/a.wdl", WithEntrySpelling("/no/such/folder/a.wdl", CaseFolded));

    // A name without a folder is looked up in the working folder and stays without one.
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    EXPECT_EQ("French.wdl", WithEntrySpelling("FRENCH.WDL", CaseFolded));
    QDir::setCurrent(previous);
}

// On a file system that minds case, a name that differs from another file's only in case names
// a file of its own, or none.
TEST(EntrySpelling, AnotherFileOfTheSameNameButForCaseIsNeverTaken)
{
    QTemporaryDir dir;
    const std::string folder = QFile::encodeName(dir.path()).toStdString();
    Touch(folder + "/French.wdl");
    Touch(folder + "/french.wdl");
    EXPECT_EQ(folder + "/french.wdl", WithEntrySpelling(folder + "/french.wdl"));
    EXPECT_EQ(folder + "/French.wdl", WithEntrySpelling(folder + "/French.wdl"));
    EXPECT_EQ(folder + "/FRENCH.wdl", WithEntrySpelling(folder + "/FRENCH.wdl"));
}
