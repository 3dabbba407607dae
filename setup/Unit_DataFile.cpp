#include "setup/Unit_DataFile.h"
#include "setup/Unit_SetupTexts.h"

#include "core/Unit_LanguagePack.h"
#include "core/Unit_Paths.h"
#include "platform/CodePage.h"
#include "setup/Unit_FileWrite.h"
#include "setup/Unit_LogFile.h"
#include "setup/Unit_SetupPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {

constexpr size_t BufferSize = 64 * 1024;
constexpr size_t MaxNameLength = 4096;

QString LocalQString(const std::string &path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string LocalString(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}

// The longest name of one file or folder that Linux file systems hold, in bytes.
constexpr size_t MaxComponentBytes = 255;

// A stored name that a file name cannot sensibly hold is a sign of a damaged volume (content read
// as a name): it must lie inside the install folder (relative, no "." or ".." level, no empty
// level), and every level must be printable text of at most MaxComponentBytes local bytes.
bool IsSafeName(const std::string &name)
{
    if (name.empty() || name[0] == '\\' || name[0] == '/')
        return false;
    if (name.size() >= 2 && name[1] == ':')
        return false;
    QString text = CodePage::ToUnicode(name, CodePage::Default);
    for (const QChar c : text)
        if (!c.isPrint())
            return false;
    text.replace(QLatin1Char('\\'), QLatin1Char('/'));
    for (const QString &level : text.split(QLatin1Char('/'))) {
        if (level.isEmpty() || level == QLatin1String(".") || level == QLatin1String("..")
            || static_cast<size_t>(QFile::encodeName(level).size()) > MaxComponentBytes)
            return false;
    }
    return true;
}

// The part after the last separator.
std::string BareName(const std::string &name)
{
    const size_t slash = name.find_last_of("\\/");
    return slash == std::string::npos ? name : name.substr(slash + 1);
}

bool IsProgram(const std::string &head)
{
    return head.starts_with("\x7F"
                            "ELF")
            || head.starts_with("#!");
}

} // namespace

std::string VolumeName(int number)
{
    return (number <= 9 ? "Setup.d0" : "Setup.d") + std::to_string(number);
}

std::string FindVolume(const std::string &name, const std::vector<std::string> &folders)
{
    const QString wanted = QString::fromStdString(name);
    for (const std::string &folder : folders) {
        const std::string exact = JoinPath(folder, name);
        if (QFileInfo(LocalQString(exact)).isFile())
            return exact;
        const QDir dir(LocalQString(folder));
        const QStringList entries
                = dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
        for (const QString &entry : entries)
            if (entry.compare(wanted, Qt::CaseInsensitive) == 0)
                return LocalString(dir.filePath(entry));
    }
    return {};
}

std::vector<std::string> DefaultVolumeFolders()
{
    std::vector<std::string> folders{LocalString(QDir::currentPath())};
    const std::string own = LocalString(QCoreApplication::applicationDirPath());
    if (own != folders.front())
        folders.push_back(own);
    return folders;
}

TDataFile::TDataFile(const std::string &path, const std::string &displayName,
                     std::string destFolder, TLogFile *log, TExtractOutput &output,
                     TExtractQuestions &questions)
    : Log(log)
    , DestFolder(std::move(destFolder))
    , file(LocalQString(path))
    , displayName(displayName)
    , output(output)
    , questions(questions)
{ }

bool TDataFile::Open()
{
    if (!file.open(QIODevice::ReadOnly))
        return Fail("Could not read the data volume \"" + displayName + "\".");
    size = file.size();
    if (size < 1)
        return Corrupt();
    return true;
}

bool TDataFile::Fill()
{
    const int64_t want = std::min<int64_t>(BufferSize, size - position);
    buffer.resize(static_cast<size_t>(std::max<int64_t>(want, 0)));
    bufferPos = 0;
    const qint64 got = want > 0 ? file.read(buffer.data(), want) : 0;
    if (got <= 0) {
        buffer.clear();
        return Fail("Could not read the data volume \"" + displayName + "\".");
    }
    buffer.resize(static_cast<size_t>(got));
    return true;
}

bool TDataFile::ReadByte(uint8_t &value)
{
    if (position >= size)
        return Corrupt();
    if (bufferPos == buffer.size() && !Fill())
        return false;
    value = static_cast<uint8_t>(buffer[bufferPos++]);
    ++position;
    return true;
}

bool TDataFile::ReadInt32(int32_t &value)
{
    if (ContentEnd() - position < 4)
        return Corrupt();
    uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) {
        uint8_t byte = 0;
        if (!ReadByte(byte))
            return false;
        bits |= static_cast<uint32_t>(byte) << (8 * i);
    }
    value = static_cast<int32_t>(bits);
    return true;
}

bool TDataFile::ReadName(std::string &name)
{
    name.clear();
    for (;;) {
        if (position >= ContentEnd())
            return Corrupt();
        uint8_t byte = 0;
        if (!ReadByte(byte))
            return false;
        if (byte == 0)
            return true;
        if (name.size() == MaxNameLength)
            return Corrupt();
        name.push_back(static_cast<char>(byte));
    }
}

bool TDataFile::Extract(int64_t MaxBytes, bool &YesToAll, int64_t &Done)
{
    Done = 0;
    while (position < ContentEnd() && Done < MaxBytes) {
        if (output.BytesLeft == 0) {
            bool exitChosen = false;
            if (!BeginEntry(YesToAll, exitChosen))
                return false;
        }
        const int64_t n = std::min({ContentEnd() - position, output.BytesLeft, MaxBytes - Done});
        if (!CopyContent(n))
            return false;
        Done += n;
        if (n == output.BytesLeft)
            FinishEntry();
        output.BytesLeft -= n;
    }
    return true;
}

bool TDataFile::BeginEntry(bool &YesToAll, bool &exitChosen)
{
    std::string name;
    int32_t entrySize = 0;
    if (!ReadName(name) || !ReadInt32(entrySize))
        return false;
    if (!IsSafeName(name) || entrySize < 0 || entrySize > output.TotalLeft)
        return Corrupt();
    if (Log)
        Log->WriteLine(name);
    const std::string target = JoinPath(DestFolder, LocalFileName(name));
    output.CurrentName = target;
    const QString localTarget = LocalQString(target);
    QDir().mkpath(QFileInfo(localTarget).path());
    if (QFileInfo::exists(localTarget) && !YesToAll) {
        const std::string text = ReplacePlaceholders(
                Setup::SetupBytes(TSetupEntry::OverwriteQuestion), {{"%f%", BareName(name)}});
        for (;;) {
            const int answer = questions.AskOverwrite(text);
            if (answer == 3) {
                YesToAll = true;
                break;
            }
            if (answer == 1)
                break;
            if (questions.AskExit()) {
                exitChosen = true;
                return false;
            }
        }
    }
    output.File.setFileName(localTarget);
    if (!output.File.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return Fail(FileFailure("Could not create the file", target, output.File.errorString()));
    output.BytesLeft = entrySize;
    output.Head.clear();
    return true;
}

bool TDataFile::CopyContent(int64_t n)
{
    while (n > 0) {
        if (bufferPos == buffer.size() && !Fill())
            return false;
        const size_t chunk = std::min(static_cast<size_t>(n), buffer.size() - bufferPos);
        const char *bytes = buffer.data() + bufferPos;
        if (!WriteAll(output.File, bytes, static_cast<qint64>(chunk)))
            return Fail(FileFailure("Could not write the file", output.CurrentName,
                                    output.File.errorString()));
        if (output.Head.size() < 4)
            output.Head.append(bytes, std::min(chunk, 4 - output.Head.size()));
        bufferPos += chunk;
        position += static_cast<int64_t>(chunk);
        output.TotalLeft -= static_cast<int64_t>(chunk);
        n -= static_cast<int64_t>(chunk);
    }
    return true;
}

void TDataFile::FinishEntry()
{
    output.File.close();
    if (IsProgram(output.Head))
        output.File.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                   | QFileDevice::ExeOwner | QFileDevice::ReadGroup
                                   | QFileDevice::ExeGroup | QFileDevice::ReadOther
                                   | QFileDevice::ExeOther);
    if (Log)
        if (const auto stamp = FileTimeStamp(output.CurrentName))
            Log->WriteNumber(*stamp);
}

bool TDataFile::Corrupt()
{
    return Fail("The data volume \"" + displayName + "\" is damaged.");
}

bool TDataFile::Fail(const std::string &text)
{
    if (failure.empty())
        failure = text;
    return false;
}
