#pragma once

#include <QStringList>
#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The start-up probe of what the help viewer depends on: where the program lies, whether its
// folder is writable, the versions of the CHM reader and of the toolkit that shows the pages. It
// removes an old report "HHDebug.txt" and, in diagnostics mode ("debug.debug" beside the program or
// a "/debug" or "-debug" argument), writes a fresh one.

std::string TrimTrailingChar(std::string text, char c);
std::string RepeatCharText(char c, int count);
const char *YesNoText(bool value);

// Four 16-bit numbers and their text "major.minor.release.build" ("" when there is none).
struct TFileVersion
{
    uint16_t Major = 0;
    uint16_t Minor = 0;
    uint16_t Release = 0;
    uint16_t Build = 0;
    std::string Text;
};
TFileVersion MakeVersion(uint16_t major, uint16_t minor, uint16_t release, uint16_t build);
// 1 when a is newer than b, 0 when equal, -1 when older.
int CompareVersion4(const TFileVersion &a, const TFileVersion &b);
// A shared library's version from the ".so.A[.B[.C[.D]]]" end of its name; none without one.
TFileVersion SonameVersion(std::string_view fileName);
// The version of the file a path finally names (links followed); none for a missing file.
TFileVersion ReadFileVersion(const std::string &path);
// Early browser components kept the build where the release belongs: 4.x (x below 71) with
// release 0 moves the build there.
TFileVersion RepackBrowserVersion(TFileVersion version);

enum class TVersionMatch {
    Newer,
    Equal,
    AtLeast,
};
struct TVersionName
{
    TVersionMatch Match;
    TFileVersion Version;
    const char *Name;
};
struct TVersionTable
{
    std::vector<TVersionName> Rows;
    const char *Older;
};
// The first row the version reaches; "" for a version without text.
std::string FriendlyVersionName(const TFileVersion &version, const TVersionTable &table);
// The viewer's and the browser component's names as the original platform knew them, and the
// names of this platform's reader (chmlib) and page engine (Qt).
const TVersionTable &ClassicViewerNames();
const TVersionTable &ClassicBrowserNames();
const TVersionTable &ViewerNames();
const TVersionTable &BrowserNames();

// Whether a file can be created in the folder; the test file is removed at once and an existing
// file of its name is left alone.
bool FolderIsWritable(const std::string &folder);
bool IsDiagnosticsArgument(const QString &argument);
// A report line as written: "-" and "=" become rules of 79 characters, a leading "!", "-" or "="
// is dropped, any other line gets the time and three blanks in front.
std::string FormatDiagnosticLine(std::string_view line, std::string_view time);
// Appends one formatted line to the report; nothing when it cannot be opened, is not a regular
// file or belongs to another user.
void AppendDiagnosticLine(const std::string &report, std::string_view line, std::time_t now);

// What the probe looks at, so that tests can hand in their own.
struct THelpEnvironment
{
    std::string ModuleFile;
    // The program's arguments, its own file first.
    QStringList Arguments;
    std::string TempFolder;
    std::string ViewerPath;
    std::string BrowserPath;
    std::time_t Now = 0;
    uint32_t Lcid = 0;
    QString DecimalSeparator;
};
THelpEnvironment SystemHelpEnvironment();

struct THelpProbe
{
    std::string ExePath;
    std::string ModuleName;
    std::string ModuleDir;
    std::string RunDir;
    std::string ReportFolder;
    bool DiagnosticsMode = false;
    TFileVersion ViewerVersion;
    bool hhInstalled = false;
    std::string hhVerStr;
    std::string hhFriendlyVerStr;
    bool ieInstalled = false;
    std::string ieVerStr;
    std::string ieFriendlyVerStr;
};
// Probes, removes the old report and writes the new one in diagnostics mode.
THelpProbe ProbeHelpEnvironment(const THelpEnvironment &environment);
std::string ReportPath(const THelpProbe &probe);
