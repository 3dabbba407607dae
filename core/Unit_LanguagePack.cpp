#include "core/Unit_LanguagePack.h"

#include "core/Unit_Paths.h"
#include "platform/CodePage.h"
#include "platform/ReadOpen.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

TLanguagePack *LanguagePack = nullptr;

namespace {

const std::string NoText;
const std::string Header = "Tarnwick Language Pack";
const std::string MainMarker = ":main";
const std::string SetupMarker = ":setup";
const std::string UninstMarker = ":uninst";

// The format line: decimal digits only, value 2. Leading zeros are allowed; a number too large for
// an integer is simply not 2.
bool IsFormatTwo(const std::string &line)
{
    if (line.empty())
        return false;
    for (char c : line) {
        if (c < '0' || c > '9')
            return false;
    }
    const size_t first = line.find_first_not_of('0');
    return first != std::string::npos && line.compare(first, std::string::npos, "2") == 0;
}

std::string Unescape(const std::string &line)
{
    std::string result;
    result.reserve(line.size());
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) {
            const char next = line[i + 1];
            if (next == '#' || next == ':' || next == '\\') {
                result += next;
                ++i;
                continue;
            }
            if (next == 'n') {
                result += "\r\n";
                ++i;
                continue;
            }
        }
        result += line[i];
    }
    return result;
}

QString LocalName(const std::string &path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

} // namespace

// A pack file read as text: lines end in CR LF (a lone LF also ends one), read in blocks.
class TPackFile
{
public:
    explicit TPackFile(const std::string &path)
        : file(LocalName(path))
    { }

    bool open() { return OpenRegularFile(file); }
    bool failed() const { return error; }

    bool atEnd()
    {
        if (pos < buffer.size())
            return false;
        fill();
        return pos >= buffer.size();
    }

    // A line too long for any entry fails the file and ends it.
    std::string readLine()
    {
        std::string line;
        while (!atEnd()) {
            const qsizetype end = buffer.indexOf('\n', pos);
            const qsizetype stop = end < 0 ? buffer.size() : end;
            if (line.size() + static_cast<size_t>(stop - pos) > MaxPackLineBytes) {
                error = true;
                buffer.clear();
                pos = 0;
                return std::string();
            }
            line.append(buffer.constData() + pos, static_cast<size_t>(stop - pos));
            pos = stop;
            if (end >= 0) {
                ++pos;
                if (!line.empty() && line.back() == '\r')
                    line.pop_back();
                break;
            }
        }
        return line;
    }

private:
    static constexpr qint64 BlockSize = 64 * 1024;

    void fill()
    {
        buffer.clear();
        pos = 0;
        if (error)
            return;
        buffer = file.read(BlockSize);
        if (buffer.isEmpty() && file.error() != QFileDevice::NoError)
            error = true;
    }

    QFile file;
    QByteArray buffer;
    qsizetype pos = 0;
    bool error = false;
};

std::string TLanguagePack::ReadEntry(TPackFile &file, bool &ok)
{
    std::string line;
    bool found = false;
    while (ok && !found) {
        ok = !file.atEnd();
        if (ok) {
            line = file.readLine();
            found = line.empty() || line[0] != '#';
        }
    }
    if (!ok)
        return std::string();
    return Unescape(line);
}

bool TLanguagePack::LoadSection(const std::string &path, const std::string &marker, int count,
                                const std::string &nextMarker)
{
    if (!QFileInfo(LocalName(path)).isFile())
        return false;
    TPackFile file(path);
    if (!file.open())
        return false;

    bool ok = !file.atEnd();
    std::string line;
    if (ok)
        line = file.readLine();
    ok = ok && !file.atEnd() && line == Header;
    if (ok) {
        line = file.readLine();
        ok = IsFormatTwo(line) && !file.atEnd();
    }
    bool seen = false;
    while (ok && !seen) {
        line = file.readLine();
        ok = !file.atEnd();
        seen = line == marker;
    }

    Entries.assign(static_cast<size_t>(count), std::string());
    for (std::string &entry : Entries)
        entry = ReadEntry(file, ok);

    // The marker of the next section must follow the last entry; an end of file there is a
    // truncated pack, not a complete one.
    ok = ok && !file.atEnd() && file.readLine() == nextMarker;
    return ok && !file.failed();
}

bool TLanguagePack::LoadFile(const std::string &path)
{
    return LoadSection(path, MainMarker, MainEntryCount, UninstMarker);
}

bool TLanguagePack::LoadSetupFile(const std::string &path)
{
    return LoadSection(path, SetupMarker, SetupEntryCount, MainMarker);
}

bool TLanguagePack::Load(const std::string &language)
{
    return LoadFile(LanguagePackPath(language));
}

bool TLanguagePack::LoadSetup(const std::string &language)
{
    return LoadSetupFile(LanguagePackPath(language));
}

const std::string &TLanguagePack::entry(int number) const
{
    if (number < 0 || static_cast<size_t>(number) >= Entries.size())
        return NoText;
    return Entries[static_cast<size_t>(number)];
}

bool IsLanguagePack(const std::string &fileName)
{
    TPackFile file(fileName);
    if (!QFileInfo(LocalName(fileName)).isFile() || !file.open())
        return false;
    const std::string header = file.atEnd() ? std::string() : file.readLine();
    const std::string format = file.atEnd() ? std::string() : file.readLine();
    return header == Header && IsFormatTwo(format) && !file.failed();
}

bool IsLanguagePackFile(const std::string &fileName)
{
    return IsLanguagePack(fileName);
}

std::string LanguagePackPath(const std::string &language)
{
    const QString name = CodePage::ToUnicode(language, CodePage::Default) + QStringLiteral(".lng");
    return JoinPath(QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString(),
                    QFile::encodeName(name).toStdString());
}

const std::string &LanguageText(int number)
{
    return LanguagePack ? LanguagePack->entry(number) : NoText;
}
