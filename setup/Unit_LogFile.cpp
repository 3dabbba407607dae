#include "setup/Unit_LogFile.h"
#include "setup/Unit_SetupTexts.h"

#include "core/Unit_LanguagePack.h"
#include "core/Unit_Paths.h"
#include "setup/Unit_FileWrite.h"
#include "setup/Unit_SetupPaths.h"

#include <QDateTime>
#include <QFileInfo>
#include <algorithm>
#include <charconv>
#include <limits>

namespace {

const char *const LineEnd = "\r\n";
// A log is a few hundred lines; anything far larger is not one.
constexpr qint64 MaxLogSize = 16 * 1024 * 1024;

} // namespace

TLogFile::TLogFile(const std::string &folder, const std::string &group)
    : fileName(JoinPath(folder, "Install.log"))
{
    file.setFileName(QFile::decodeName(QByteArray::fromStdString(fileName)));
    created = file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered);
    if (!created) {
        error = FileFailure("Could not create the installation log", fileName, file.errorString());
        return;
    }
    WriteLine(Setup::SetupBytes(TSetupEntry::LogTitle));
    WriteLine("0");
    WriteLine("");
    WriteLine("{program folder}");
    WriteLine(group);
}

TLogFile::~TLogFile()
{
    Close();
}

void TLogFile::StartProgramFiles()
{
    WriteLine("");
    WriteLine("{program files}");
}

void TLogFile::StartProgramFolderFiles()
{
    WriteLine("");
    WriteLine("{program folder files}");
}

void TLogFile::StartMenuDirectoryFiles()
{
    WriteLine("");
    WriteLine(MenuDirectoryFilesMarker);
}

void TLogFile::StartDesktopDataFiles()
{
    WriteLine("");
    WriteLine(DesktopDataFilesMarker);
}

void TLogFile::StartMenuFiles()
{
    WriteLine("");
    WriteLine(MenuFilesMarker);
}

void TLogFile::WriteLine(const std::string &text)
{
    Write(text + LineEnd);
}

void TLogFile::WriteNumber(int32_t n)
{
    WriteLine(std::to_string(n));
}

void TLogFile::Close()
{
    if (!file.isOpen())
        return;
    WriteLine("");
    file.close();
}

void TLogFile::Write(const std::string &bytes)
{
    if (!file.isOpen() || !error.empty())
        return;
    if (!WriteAll(file, bytes.data(), static_cast<qint64>(bytes.size())))
        error = FileFailure("Could not write the installation log", fileName, file.errorString());
}

int32_t DosDateTime(const std::tm &local)
{
    const int year = local.tm_year + 1900;
    if (year < 1980)
        return (((0 << 9) | (1 << 5) | 1) << 16);
    if (year > 2107)
        return static_cast<int32_t>((((2107u - 1980u) << 9) | (12u << 5) | 31u) << 16 | (23u << 11)
                                    | (59u << 5) | 29u);
    const uint32_t date = (static_cast<uint32_t>(year - 1980) << 9)
            | (static_cast<uint32_t>(std::clamp(local.tm_mon + 1, 1, 12)) << 5)
            | static_cast<uint32_t>(std::clamp(local.tm_mday, 1, 31));
    const uint32_t time = (static_cast<uint32_t>(std::clamp(local.tm_hour, 0, 23)) << 11)
            | (static_cast<uint32_t>(std::clamp(local.tm_min, 0, 59)) << 5)
            | static_cast<uint32_t>(std::clamp(local.tm_sec, 0, 59) / 2);
    return static_cast<int32_t>(date << 16 | time);
}

std::optional<int32_t> FileTimeStamp(const std::string &path)
{
    const QFileInfo info(QFile::decodeName(QByteArray::fromStdString(path)));
    if (!info.exists())
        return std::nullopt;
    const QDateTime stamp = info.lastModified().toLocalTime();
    if (!stamp.isValid())
        return std::nullopt;
    std::tm local{};
    local.tm_year = stamp.date().year() - 1900;
    local.tm_mon = stamp.date().month() - 1;
    local.tm_mday = stamp.date().day();
    local.tm_hour = stamp.time().hour();
    local.tm_min = stamp.time().minute();
    local.tm_sec = stamp.time().second();
    return DosDateTime(local);
}

bool TLogReader::Open(const std::string &path)
{
    lines.clear();
    QFile file(QFile::decodeName(QByteArray::fromStdString(path)));
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxLogSize)
        return false;
    const QByteArray bytes = file.readAll();
    if (bytes.size() > MaxLogSize || file.error() != QFileDevice::NoError)
        return false;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        const qsizetype next = end < 0 ? bytes.size() : end + 1;
        if (end < 0)
            end = bytes.size();
        if (end > start && bytes[end - 1] == '\r')
            --end;
        lines.emplace_back(bytes.constData() + start, static_cast<size_t>(end - start));
        start = next;
    }
    return true;
}

bool TLogReader::HasStamps() const
{
    return lines.size() > 1 && !lines[1].empty();
}

std::optional<std::string> TLogReader::ProgramGroup() const
{
    const auto marker = std::find(lines.begin(), lines.end(), "{program folder}");
    if (marker == lines.end() || marker + 1 == lines.end())
        return std::nullopt;
    return *(marker + 1);
}

std::vector<TLogItem> TLogReader::Section(const std::string &marker, size_t from) const
{
    std::vector<TLogItem> items;
    if (from >= lines.size())
        return items;
    auto line = std::find(lines.begin() + static_cast<std::ptrdiff_t>(from), lines.end(), marker);
    if (line == lines.end())
        return items;
    const bool stamps = HasStamps();
    for (++line; line != lines.end() && !line->empty(); ++line) {
        TLogItem item;
        item.Name = *line;
        if (stamps && line + 1 != lines.end()) {
            ++line;
            item.HasStamp = true;
            if (const auto stamp = ParseStamp(*line)) {
                item.StampValid = true;
                item.Stamp = *stamp;
            }
        }
        items.push_back(std::move(item));
    }
    return items;
}

std::optional<int32_t> ParseStamp(const std::string &text)
{
    const char *first = text.data();
    const char *last = text.data() + text.size();
    if (first != last && *first == '+' && first + 1 != last && first[1] != '-')
        ++first;
    int32_t value = 0;
    const auto [end, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || end != last)
        return std::nullopt;
    return value;
}
