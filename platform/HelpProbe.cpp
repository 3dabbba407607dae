#include "platform/HelpProbe.h"

#include "platform/HelpViewerLibrary.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <array>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/auxv.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char *ReportName = "HHDebug.txt";
constexpr const char *MarkerName = "debug.debug";
constexpr const char *TestFileName = "$_Temp_$.$$$";
constexpr const char *WidgetsLibrary = "libQt6Widgets.so.6";
constexpr int RuleLength = 80;
constexpr int VersionParts = 4;
constexpr uint16_t OldBrowserMajor = 4;
constexpr uint16_t RepackedMinorBelow = 71;
constexpr uint32_t PrimaryLanguageMask = 0x3FF;
constexpr int SubLanguageShift = 10;
constexpr uint32_t SubLanguageMask = 0x3F;

std::string FolderOf(const std::string &path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string()
                                      : TrimTrailingChar(path.substr(0, slash), '/');
}

std::string NameOf(const std::string &path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool FileExists(const std::string &path)
{
    struct stat info
    { };
    return stat(path.c_str(), &info) == 0;
}

std::string LocalPath(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}

std::string TimeText(std::time_t now, const char *format)
{
    std::tm local{};
    localtime_r(&now, &local);
    std::array<char, 128> text{};
    const size_t length = std::strftime(text.data(), text.size(), format, &local);
    return std::string(text.data(), length);
}

std::string Hex4(uint32_t value)
{
    std::array<char, 8> text{};
    std::snprintf(text.data(), text.size(), "0x%04X", value & 0xFFFFu);
    return text.data();
}

// The program's own file, however it was started: by name through PATH the loader knows it only
// by that bare name.
std::string ProgramFile()
{
    char *resolved = realpath("/proc/self/exe", nullptr);
    if (resolved) {
        std::string path(resolved);
        std::free(resolved);
        return path;
    }
    return LocalPath(QCoreApplication::applicationFilePath());
}

// The file the code at an address was loaded from: the program itself or a shared library.
std::string SharedObjectOf(const void *address)
{
    Dl_info info{};
    if (!dladdr(address, &info) || !info.dli_fname)
        return {};
    Dl_info program{};
    if (dladdr(reinterpret_cast<const void *>(getauxval(AT_ENTRY)), &program)
        && program.dli_fbase == info.dli_fbase)
        return ProgramFile();
    char *resolved = realpath(info.dli_fname, nullptr);
    if (!resolved)
        return info.dli_fname;
    std::string path(resolved);
    std::free(resolved);
    return path;
}

uint32_t LocaleLcid(const QLocale &locale)
{
    struct TLcid
    {
        QLocale::Language Language;
        QLocale::Territory Territory;
        uint32_t Lcid;
    };
    static constexpr TLcid Table[] = {
            {QLocale::Dutch, QLocale::Netherlands, 0x0413},
            {QLocale::Dutch, QLocale::Belgium, 0x0813},
            {QLocale::English, QLocale::UnitedStates, 0x0409},
            {QLocale::English, QLocale::UnitedKingdom, 0x0809},
            {QLocale::German, QLocale::Germany, 0x0407},
            {QLocale::French, QLocale::France, 0x040C},
            {QLocale::Spanish, QLocale::Spain, 0x0C0A},
            {QLocale::Italian, QLocale::Italy, 0x0410},
    };
    for (const TLcid &entry : Table)
        if (entry.Language == locale.language() && entry.Territory == locale.territory())
            return entry.Lcid;
    return 0;
}

} // namespace

std::string TrimTrailingChar(std::string text, char c)
{
    while (!text.empty() && text.back() == c)
        text.pop_back();
    return text;
}

std::string RepeatCharText(char c, int count)
{
    return std::string(count > 0 ? count : 0, c);
}

const char *YesNoText(bool value)
{
    return value ? "YES" : "NO";
}

TFileVersion MakeVersion(uint16_t major, uint16_t minor, uint16_t release, uint16_t build)
{
    return {major, minor, release, build,
            std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(release)
                    + "." + std::to_string(build)};
}

int CompareVersion4(const TFileVersion &a, const TFileVersion &b)
{
    const std::array<uint16_t, VersionParts> left{a.Major, a.Minor, a.Release, a.Build};
    const std::array<uint16_t, VersionParts> right{b.Major, b.Minor, b.Release, b.Build};
    return left > right ? 1 : left < right ? -1 : 0;
}

TFileVersion SonameVersion(std::string_view fileName)
{
    constexpr std::string_view Suffix = ".so.";
    const size_t at = fileName.rfind(Suffix);
    if (at == std::string_view::npos)
        return {};
    std::string_view rest = fileName.substr(at + Suffix.size());
    std::array<uint16_t, VersionParts> parts{};
    for (size_t i = 0; i < parts.size(); ++i) {
        const size_t dot = std::min(rest.find('.'), rest.size());
        const std::string_view part = rest.substr(0, dot);
        const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), parts[i]);
        if (part.empty() || error != std::errc() || end != part.data() + part.size())
            return {};
        rest.remove_prefix(dot);
        if (rest.empty())
            return MakeVersion(parts[0], parts[1], parts[2], parts[3]);
        rest.remove_prefix(1);
    }
    return {};
}

TFileVersion ReadFileVersion(const std::string &path)
{
    if (path.empty())
        return {};
    char *resolved = realpath(path.c_str(), nullptr);
    if (!resolved)
        return {};
    const std::string target(resolved);
    std::free(resolved);
    return SonameVersion(NameOf(target));
}

TFileVersion RepackBrowserVersion(TFileVersion version)
{
    if (version.Text.empty() || version.Major != OldBrowserMajor
        || version.Minor >= RepackedMinorBelow || version.Release != 0)
        return version;
    return MakeVersion(version.Major, version.Minor, version.Build, 0);
}

std::string FriendlyVersionName(const TFileVersion &version, const TVersionTable &table)
{
    if (version.Text.empty())
        return {};
    for (const TVersionName &row : table.Rows) {
        const int order = CompareVersion4(version, row.Version);
        if ((row.Match == TVersionMatch::Newer && order > 0)
            || (row.Match == TVersionMatch::Equal && order == 0)
            || (row.Match == TVersionMatch::AtLeast && order >= 0))
            return row.Name;
    }
    return table.Older;
}

const TVersionTable &ClassicViewerNames()
{
    using enum TVersionMatch;
    static const TVersionTable table{{
                                             {Newer, MakeVersion(4, 74, 8793, 0), "> 1.31"},
                                             {Equal, MakeVersion(4, 74, 8793, 0), "1.31"},
                                             {AtLeast, MakeVersion(4, 74, 8702, 0), "1.3"},
                                             {AtLeast, MakeVersion(4, 73, 8561, 0), "1.22"},
                                             {AtLeast, MakeVersion(4, 73, 8474, 0), "1.21a"},
                                             {AtLeast, MakeVersion(4, 73, 8412, 0), "1.21"},
                                             {AtLeast, MakeVersion(4, 73, 8252, 0), "1.2"},
                                             {AtLeast, MakeVersion(4, 72, 8164, 0), "1.1b"},
                                             {AtLeast, MakeVersion(4, 72, 7325, 0), "1.1a"},
                                             {AtLeast, MakeVersion(4, 72, 7323, 0), "1.1"},
                                             {AtLeast, MakeVersion(4, 72, 7290, 0), "1.0"},
                                     },
                                     "< 1.0"};
    return table;
}

const TVersionTable &ClassicBrowserNames()
{
    using enum TVersionMatch;
    constexpr const char *Ie501 = "Internet Explorer 5.01";
    constexpr const char *Ie50Updated = "Internet Explorer 5.0 updated";
    static const TVersionTable table{
            {
                    {Newer, MakeVersion(5, 50, 3825, 1300),
                     "> Internet Explorer 5.5 Developer Preview"},
                    {Equal, MakeVersion(5, 50, 3825, 1300),
                     "Internet Explorer 5.5 Developer Preview"},
                    {AtLeast, MakeVersion(5, 0, 2919, 6400), Ie501},
                    {AtLeast, MakeVersion(5, 0, 2919, 6307), Ie501},
                    {AtLeast, MakeVersion(5, 0, 2919, 3800),
                     "Internet Explorer 5.01 (Windows 2000 RC2, build 5.00.2128)"},
                    {AtLeast, MakeVersion(5, 0, 2919, 800),
                     "Internet Explorer 5.01 (Windows 2000 RC1, build 5.00.2072)"},
                    {AtLeast, MakeVersion(5, 0, 2723, 2900), Ie50Updated},
                    {AtLeast, MakeVersion(5, 0, 2721, 1400), Ie50Updated},
                    {AtLeast, MakeVersion(5, 0, 2614, 0), "Internet Explorer 5.0b"},
                    {AtLeast, MakeVersion(5, 0, 2314, 0), "Internet Explorer 5.0a"},
                    {AtLeast, MakeVersion(5, 0, 2014, 0), "Internet Explorer 5.0"},
                    {AtLeast, MakeVersion(5, 0, 910, 0), "Internet Explorer 5 Beta (Beta 2)"},
                    {AtLeast, MakeVersion(5, 0, 518, 0),
                     "Internet Explorer 5 Developer Preview (Beta 1)"},
                    {AtLeast, MakeVersion(4, 72, 3612, 0),
                     "Internet Explorer 4.01 Service Pack 2 (SP2)"},
                    {AtLeast, MakeVersion(4, 72, 3110, 0),
                     "Internet Explorer 4.01 Service Pack 1 (SP1)"},
                    {AtLeast, MakeVersion(4, 72, 2106, 0), "Internet Explorer 4.01"},
                    {AtLeast, MakeVersion(4, 71, 1712, 0), "Internet Explorer 4.0"},
                    {AtLeast, MakeVersion(4, 71, 1008, 0),
                     "Internet Explorer 4.0 Platform Preview 2.0 (PP2)"},
                    {AtLeast, MakeVersion(4, 71, 544, 0),
                     "Internet Explorer 4.0 Platform Preview 1.0 (PP1)"},
                    {AtLeast, MakeVersion(4, 70, 1300, 0), "Internet Explorer 3.02"},
                    {AtLeast, MakeVersion(4, 70, 1215, 0), "Internet Explorer 3.01"},
                    {AtLeast, MakeVersion(4, 70, 1158, 0), "Internet Explorer 3.0 (OSR2)"},
                    {AtLeast, MakeVersion(4, 70, 1155, 0), "Internet Explorer 3.0"},
                    {AtLeast, MakeVersion(4, 40, 520, 0), "Internet Explorer 2.0"},
                    {AtLeast, MakeVersion(4, 40, 308, 0), "Internet Explorer 1.0 (Plus!)"},
            },
            "< Internet Explorer 1.0 (Plus!)"};
    return table;
}

const TVersionTable &ViewerNames()
{
    using enum TVersionMatch;
    static const TVersionTable table{{
                                             {Newer, MakeVersion(1, 0, 0, 0), "> chmlib 0.40"},
                                             {Equal, MakeVersion(1, 0, 0, 0), "chmlib 0.40"},
                                     },
                                     "< chmlib 0.40"};
    return table;
}

const TVersionTable &BrowserNames()
{
    using enum TVersionMatch;
    static const TVersionTable table{{
                                             {Newer, MakeVersion(6, 4, 2, 0), "> Qt 6.4.2"},
                                             {Equal, MakeVersion(6, 4, 2, 0), "Qt 6.4.2"},
                                             {AtLeast, MakeVersion(6, 0, 0, 0), "Qt 6"},
                                     },
                                     "< Qt 6"};
    return table;
}

bool FolderIsWritable(const std::string &folder)
{
    const std::string path = TrimTrailingChar(folder, '/') + "/" + TestFileName;
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) {
        close(fd);
        unlink(path.c_str());
        return true;
    }
    return errno == EEXIST && access(path.c_str(), W_OK) == 0;
}

bool IsDiagnosticsArgument(const QString &argument)
{
    return argument.compare(QLatin1String("/debug"), Qt::CaseInsensitive) == 0
            || argument.compare(QLatin1String("-debug"), Qt::CaseInsensitive) == 0;
}

std::string FormatDiagnosticLine(std::string_view line, std::string_view time)
{
    std::string text(line);
    if (text == "-" || text == "=")
        text = RepeatCharText(text[0], RuleLength);
    if (!text.empty() && (text[0] == '!' || text[0] == '-' || text[0] == '='))
        return text.substr(1);
    return std::string(time) + "   " + text;
}

// The report may lie in the shared temp folder: it is written only when it is a regular file of
// this user's, never through a link, and a FIFO planted in its place cannot make the open wait.
void AppendDiagnosticLine(const std::string &report, std::string_view line, std::time_t now)
{
    const int fd = open(
            report.c_str(),
            O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644);
    if (fd < 0)
        return;
    struct stat info
    { };
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == geteuid()) {
        const std::string text = FormatDiagnosticLine(line, TimeText(now, "%X")) + "\n";
        [[maybe_unused]] const ssize_t written = write(fd, text.data(), text.size());
    }
    close(fd);
}

THelpEnvironment SystemHelpEnvironment()
{
    THelpEnvironment environment;
    environment.ModuleFile = SharedObjectOf(reinterpret_cast<const void *>(&ProbeHelpEnvironment));
    environment.Arguments = QCoreApplication::arguments();
    if (!environment.Arguments.isEmpty())
        environment.Arguments.front() = QCoreApplication::applicationFilePath();
    const QString temp = QDir::tempPath();
    environment.TempFolder = QDir(temp).exists() ? LocalPath(temp) : "/";
    environment.ViewerPath = HelpViewerPath();
    const std::string widgets
            = SharedObjectOf(reinterpret_cast<const void *>(&QApplication::style));
    environment.BrowserPath = widgets.empty() ? "" : FolderOf(widgets) + "/" + WidgetsLibrary;
    environment.Now = std::time(nullptr);
    const QLocale locale = QLocale::system();
    environment.Lcid = LocaleLcid(locale);
    environment.DecimalSeparator = locale.decimalPoint();
    return environment;
}

std::string ReportPath(const THelpProbe &probe)
{
    return probe.ReportFolder + "/" + ReportName;
}

THelpProbe ProbeHelpEnvironment(const THelpEnvironment &environment)
{
    THelpProbe probe;
    probe.ModuleDir = FolderOf(environment.ModuleFile);
    probe.ModuleName = NameOf(environment.ModuleFile);
    probe.ExePath = environment.Arguments.isEmpty() ? "" : LocalPath(environment.Arguments.front());
    probe.RunDir = FolderOf(probe.ExePath);
    // An unknown folder is not the root folder.
    probe.ReportFolder = !probe.ModuleDir.empty() && FolderIsWritable(probe.ModuleDir)
            ? probe.ModuleDir
            : TrimTrailingChar(environment.TempFolder, '/');
    probe.DiagnosticsMode
            = !probe.ModuleDir.empty() && FileExists(probe.ModuleDir + "/" + MarkerName);
    for (qsizetype i = 1; !probe.DiagnosticsMode && i < environment.Arguments.size(); ++i)
        probe.DiagnosticsMode = IsDiagnosticsArgument(environment.Arguments[i]);

    probe.ViewerVersion = ReadFileVersion(environment.ViewerPath);
    probe.hhVerStr = probe.ViewerVersion.Text;
    probe.hhInstalled = !probe.hhVerStr.empty();
    probe.hhFriendlyVerStr = FriendlyVersionName(probe.ViewerVersion, ViewerNames());
    const TFileVersion browser = RepackBrowserVersion(ReadFileVersion(environment.BrowserPath));
    probe.ieVerStr = browser.Text;
    probe.ieInstalled = !probe.ieVerStr.empty();
    probe.ieFriendlyVerStr = FriendlyVersionName(browser, BrowserNames());

    const std::string report = ReportPath(probe);
    unlink(report.c_str());
    if (!probe.DiagnosticsMode)
        return probe;
    const auto line = [&](std::string_view key, const std::string &value) {
        AppendDiagnosticLine(report, std::string(key) + "\t" + value, environment.Now);
    };
    const auto rule
            = [&](std::string_view text) { AppendDiagnosticLine(report, text, environment.Now); };
    line("!Filename:             ", report);
    line("!Date:                 ", TimeText(environment.Now, "%x %X"));
    line("!SysLocale.DefaultLCID: ", Hex4(environment.Lcid));
    line("!SysLocale.PriLangID:   ", Hex4(environment.Lcid & PrimaryLanguageMask));
    line("!SysLocale.SubLangID:   ",
         Hex4((environment.Lcid >> SubLanguageShift) & SubLanguageMask));
    line("!DecimalSeparator:      ", environment.DecimalSeparator.toStdString());
    rule("-");
    line("!EXE Path =          ", probe.ExePath);
    line("!_RunDir =           ", probe.RunDir);
    line("!_ModuleName =       ", probe.ModuleName);
    line("!_ModuleDir =        ", probe.ModuleDir);
    rule("-");
    line("!_hhInstalled =      ", YesNoText(probe.hhInstalled));
    line("!_hhVerStr =         ", probe.hhVerStr);
    line("!_hhFriendlyVerStr = ", probe.hhFriendlyVerStr);
    rule("-");
    line("!_ieInstalled =      ", YesNoText(probe.ieInstalled));
    line("!_ieVerStr =         ", probe.ieVerStr);
    line("!_ieFriendlyVerStr = ", probe.ieFriendlyVerStr);
    rule("=");
    return probe;
}
