#pragma once

#include <QFile>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

// The sections after "{program folder files}" that make the program group a submenu of the
// desktop's menus: the directory entries (relative to the desktop-directories folder) and the
// merged menu file (relative to the merged-menus folder).
inline constexpr const char *MenuDirectoryFilesMarker = "{menu directory files}";
inline constexpr const char *MenuFilesMarker = "{menu files}";
// The last section: the program's icons, its file type and the desktop entry that opens word
// lists, relative to the desktop's data folder (the user's, or the system's for an installation
// for the whole machine).
inline constexpr const char *DesktopDataFilesMarker = "{desktop data files}";

// "Install.log": what setup installed, for the uninstaller and for a later run of setup. Lines end
// with CR LF; names and texts are written as the bytes they are given (DEFAULT code page), so a
// name keeps its "\" separators.
class TLogFile
{
public:
    // Creates (or empties) Folder/Install.log and writes the title, "0", an empty line,
    // "{program folder}" and Group. Folder is a local path; Group is DEFAULT code-page bytes.
    TLogFile(const std::string &folder, const std::string &group);
    // Close().
    ~TLogFile();

    void StartProgramFiles();
    void StartProgramFolderFiles();
    void StartMenuDirectoryFiles();
    void StartMenuFiles();
    void StartDesktopDataFiles();
    void WriteLine(const std::string &text);
    void WriteNumber(int32_t n);

    // Writes the closing empty line and closes the file; later writes are ignored.
    void Close();

    // False when the file could not be created.
    bool Created() const { return created; }
    // The first failure (create or write) as an English text with the file and the system's
    // reason, or "" while all went well.
    // A failed write is remembered; the following ones are skipped.
    const std::string &Error() const { return error; }

private:
    void Write(const std::string &bytes);

    QFile file;
    std::string fileName;
    std::string error;
    bool created = false;
};

// The packed DOS date and time (date in the high 16 bits, time in the low 16; seconds halved),
// clamped to 1980-01-01 00:00:00 .. 2107-12-31 23:59:58, so never 0.
int32_t DosDateTime(const std::tm &local);
// The last-write time of a local file in that form, in local time; empty when it has none.
std::optional<int32_t> FileTimeStamp(const std::string &path);

// One file line of a section, with its stamp line when the log has stamps.
struct TLogItem
{
    std::string Name;
    bool HasStamp = false; // the stamp line was there
    bool StampValid = false; // and held a decimal number in range
    int32_t Stamp = 0;
};

// Reads an installation log. Lines may end with CR LF or LF; a trailing CR is stripped.
class TLogReader
{
public:
    // False when the file is missing, unreadable or implausibly large.
    bool Open(const std::string &path);

    const std::vector<std::string> &Lines() const { return lines; }
    // Line 2 not empty: every file line is followed by its stamp line.
    bool HasStamps() const;
    // The line after the first "{program folder}"; empty when there is none.
    std::optional<std::string> ProgramGroup() const;
    // The lines after the first line equal to marker at or after line index `from` (0-based),
    // up to the first empty line or the end; empty when the marker is missing.
    std::vector<TLogItem> Section(const std::string &marker, size_t from = 1) const;

private:
    std::vector<std::string> lines;
};

// A signed decimal 32-bit number, the whole text.
std::optional<int32_t> ParseStamp(const std::string &text);
