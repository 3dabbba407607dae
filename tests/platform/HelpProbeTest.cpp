#include "platform/HelpProbe.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

std::string Path(const QTemporaryDir &dir)
{
    return QFile::encodeName(dir.path()).toStdString();
}

std::string ReadAll(const std::string &path)
{
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string("<none>");
}

void Write(const std::string &path, const std::string &text)
{
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.data(), static_cast<qint64>(text.size()));
}

} // namespace

TEST(HelpProbe, TextHelpersAndVersions)
{
    EXPECT_EQ("a", TrimTrailingChar("a//", '/'));
    EXPECT_EQ("", TrimTrailingChar("////", '/'));
    EXPECT_EQ("", TrimTrailingChar("", '/'));
    EXPECT_EQ("", RepeatCharText('x', 0));
    EXPECT_EQ("", RepeatCharText('x', -1));
    EXPECT_EQ("xxx", RepeatCharText('x', 3));
    EXPECT_STREQ("YES", YesNoText(true));
    EXPECT_STREQ("NO", YesNoText(false));

    const TFileVersion base = MakeVersion(2, 3, 4, 5);
    EXPECT_EQ("2.3.4.5", base.Text);
    EXPECT_EQ(0, CompareVersion4(base, MakeVersion(2, 3, 4, 5)));
    for (const TFileVersion &newer : {MakeVersion(3, 0, 0, 0), MakeVersion(2, 4, 0, 0),
                                      MakeVersion(2, 3, 5, 0), MakeVersion(2, 3, 4, 6)}) {
        EXPECT_EQ(1, CompareVersion4(newer, base)) << newer.Text;
        EXPECT_EQ(-1, CompareVersion4(base, newer)) << newer.Text;
    }

    EXPECT_EQ("1.0.0.0", SonameVersion("libchm.so.1.0.0").Text);
    EXPECT_EQ("6.4.2.0", SonameVersion("libQt6Widgets.so.6.4.2").Text);
    EXPECT_EQ("1.2.3.4", SonameVersion("lib.so.1.2.3.4").Text);
    for (const char *none : {"libchm.so", "libchm.so.", "libchm.a", "libchm.so.1.x",
                             "libchm.so.1..2", "lib.so.1.2.3.4.5", "lib.so.70000"})
        EXPECT_EQ("", SonameVersion(none).Text) << none;
    EXPECT_EQ("", ReadFileVersion("").Text);
    EXPECT_EQ("", ReadFileVersion("/nonexistent/libchm.so.1").Text);

    // The classic tables, as the original platform named its versions.
    const auto viewer = [](uint16_t a, uint16_t b, uint16_t c, uint16_t d) {
        return FriendlyVersionName(MakeVersion(a, b, c, d), ClassicViewerNames());
    };
    EXPECT_EQ("1.31", viewer(4, 74, 8793, 0));
    EXPECT_EQ("> 1.31", viewer(4, 74, 8793, 1));
    EXPECT_EQ("1.3", viewer(4, 74, 8792, 0));
    EXPECT_EQ("< 1.0", viewer(4, 72, 7289, 0));
    EXPECT_EQ("", FriendlyVersionName({}, ClassicViewerNames()));
    const TFileVersion old = RepackBrowserVersion(MakeVersion(4, 70, 0, 1300));
    EXPECT_EQ("4.70.1300.0", old.Text);
    EXPECT_EQ("Internet Explorer 3.02", FriendlyVersionName(old, ClassicBrowserNames()));
    EXPECT_EQ("4.71.0.1300", RepackBrowserVersion(MakeVersion(4, 71, 0, 1300)).Text);
    EXPECT_EQ("Internet Explorer 5.01",
              FriendlyVersionName(MakeVersion(5, 0, 2919, 6350), ClassicBrowserNames()));
    // This platform's reader and page engine.
    EXPECT_EQ("chmlib 0.40", FriendlyVersionName(MakeVersion(1, 0, 0, 0), ViewerNames()));
    EXPECT_EQ("> Qt 6.4.2", FriendlyVersionName(MakeVersion(6, 5, 0, 0), BrowserNames()));
    EXPECT_EQ("Qt 6", FriendlyVersionName(MakeVersion(6, 2, 0, 0), BrowserNames()));
    EXPECT_EQ("< Qt 6", FriendlyVersionName(MakeVersion(5, 15, 0, 0), BrowserNames()));
}

TEST(HelpProbe, LinesArgumentsAndWritableFolders)
{
    EXPECT_EQ(std::string(79, '-'), FormatDiagnosticLine("-", "12:00:00"));
    EXPECT_EQ(std::string(79, '='), FormatDiagnosticLine("=", "12:00:00"));
    EXPECT_EQ("x", FormatDiagnosticLine("!x", "12:00:00"));
    EXPECT_EQ("-", FormatDiagnosticLine("--", "12:00:00"));
    EXPECT_EQ("12:00:00   abc", FormatDiagnosticLine("abc", "12:00:00"));

    EXPECT_TRUE(IsDiagnosticsArgument("/DEBUG"));
    EXPECT_TRUE(IsDiagnosticsArgument("-Debug"));
    EXPECT_FALSE(IsDiagnosticsArgument("debug"));
    EXPECT_FALSE(IsDiagnosticsArgument("--debug"));

    QTemporaryDir dir;
    const std::string folder = Path(dir);
    EXPECT_TRUE(FolderIsWritable(folder + "//"));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    // A file of the test file's name is left as it is.
    Write(folder + "/$_Temp_$.$$$", "mine");
    EXPECT_TRUE(FolderIsWritable(folder));
    EXPECT_EQ("mine", ReadAll(folder + "/$_Temp_$.$$$"));
    // Not writable even for the superuser.
    EXPECT_FALSE(FolderIsWritable("/proc"));
    EXPECT_FALSE(FolderIsWritable(folder + "/missing"));
}

TEST(HelpProbe, ReportGoesToTheTempFolderAndOnlyInDiagnosticsMode)
{
    QTemporaryDir temp;
    QTemporaryDir program;
    THelpEnvironment environment;
    // A program folder that cannot be written to: the report goes to the temp folder.
    environment.ModuleFile = "/proc/tarnwick";
    environment.Arguments = {QStringLiteral("/opt/app/bin/tarnwick"), QStringLiteral("list.wdl")};
    environment.TempFolder = Path(temp) + "/";
    environment.Lcid = 0x0813;
    environment.DecimalSeparator = QStringLiteral(",");
    const std::string report = Path(temp) + "/HHDebug.txt";
    Write(report, "old");

    THelpProbe probe = ProbeHelpEnvironment(environment);
    EXPECT_EQ("/proc", probe.ModuleDir);
    EXPECT_EQ("tarnwick", probe.ModuleName);
    EXPECT_EQ("/opt/app/bin", probe.RunDir);
    EXPECT_EQ(Path(temp), probe.ReportFolder);
    EXPECT_FALSE(probe.DiagnosticsMode);
    EXPECT_EQ("<none>", ReadAll(report));
    EXPECT_FALSE(probe.hhInstalled);
    EXPECT_EQ("", probe.hhFriendlyVerStr);

    // A planted link is not written through.
    const std::string target = Path(program) + "/target";
    Write(target, "keep");
    ASSERT_TRUE(QFile::link(QString::fromStdString(target), QString::fromStdString(report)));
    environment.Arguments << QStringLiteral("-DEBUG");
    probe = ProbeHelpEnvironment(environment);
    EXPECT_TRUE(probe.DiagnosticsMode);
    EXPECT_EQ("keep", ReadAll(target));
    EXPECT_FALSE(QFileInfo(QString::fromStdString(report)).isSymLink());
    EXPECT_EQ(0u, ReadAll(report).find("Filename:"));

    // A writable program folder with the marker: the report lies beside the program.
    environment.ModuleFile = Path(program) + "/tarnwick";
    environment.Arguments = {QStringLiteral("tarnwick")};
    environment.ViewerPath = Path(program) + "/libchm.so.1";
    Write(Path(program) + "/libchm.so.1.0.0", "");
    ASSERT_TRUE(QFile::link(QStringLiteral("libchm.so.1.0.0"),
                            QString::fromStdString(environment.ViewerPath)));
    Write(Path(program) + "/debug.debug", "");
    probe = ProbeHelpEnvironment(environment);
    EXPECT_TRUE(probe.DiagnosticsMode);
    EXPECT_TRUE(probe.hhInstalled);
    EXPECT_EQ("1.0.0.0", probe.hhVerStr);
    EXPECT_EQ("chmlib 0.40", probe.hhFriendlyVerStr);
    const std::string written = ReadAll(Path(program) + "/HHDebug.txt");
    const std::string expected = "Filename:             \t" + Path(program) + "/HHDebug.txt\n";
    EXPECT_EQ(0u, written.find(expected)) << written;
    for (const char *line :
         {"\nSysLocale.DefaultLCID: \t0x0813\n", "\nSysLocale.PriLangID:   \t0x0013\n",
          "\nSysLocale.SubLangID:   \t0x0002\n", "\nDecimalSeparator:      \t,\n",
          "\n_RunDir =           \t\n", "\n_ModuleName =       \ttarnwick\n",
          "\n_hhInstalled =      \tYES\n", "\n_ieInstalled =      \tNO\n",
          "\n_ieFriendlyVerStr = \t\n"})
        EXPECT_NE(std::string::npos, written.find(line)) << line;
    EXPECT_NE(std::string::npos, written.find("\n" + std::string(79, '-') + "\n_hhInstalled"));
    EXPECT_TRUE(written.ends_with("\n" + std::string(79, '=') + "\n")) << written;
}
