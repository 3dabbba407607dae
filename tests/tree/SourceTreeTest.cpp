#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTextStream>
#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

const QString Root = QStringLiteral(TARNWICK_SOURCE_DIR);

// The program's folders, lowest layer first: a file may include headers of its own layer and of
// the layers below it.
const std::vector<QString> Layers{"platform",  "core",       "widgets",   "sound",
                                  "exercises", "helpviewer", "print",     "grid",
                                  "kbtool",    "dialogs",    "mainwindow"};

// The core units the installer links; they may include nothing else of the core.
const std::set<QString> SharedCore{"core/Unit_Paths.h",           "core/Unit_LanguagePack.h",
                                   "core/Unit_FileAssociation.h", "core/Texts.h",
                                   "core/LanguageEntries.h",      "core/ModalResult.h"};

int LayerOf(const QString &folder)
{
    for (size_t i = 0; i < Layers.size(); ++i) {
        if (Layers[i] == folder)
            return static_cast<int>(i);
    }
    return -1;
}

QString ReadAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

struct TInclude
{
    QString File;
    QString Header;
};

std::vector<TInclude> IncludesOf(const QString &folder)
{
    static const QRegularExpression include(QStringLiteral("^\\s*#\\s*include\\s+\"([^\"]+)\""),
                                            QRegularExpression::MultilineOption);
    std::vector<TInclude> result;
    QDirIterator it(Root + QLatin1Char('/') + folder, {"*.cpp", "*.h"}, QDir::Files);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString file = QDir(Root).relativeFilePath(path);
        auto matches = include.globalMatch(ReadAll(path));
        while (matches.hasNext())
            result.push_back({file, matches.next().captured(1)});
    }
    return result;
}

QString FolderOf(const QString &path)
{
    return path.section(QLatin1Char('/'), 0, 0);
}

// A window's generated form header belongs to the folder whose library builds that form.
bool OwnsForm(const QString &folder, const QString &header)
{
    const QString form = header.mid(3).chopped(2);
    if (folder == QLatin1String("setup"))
        return QFile::exists(Root + QStringLiteral("/forms/setup/") + form + QStringLiteral(".ui"));
    const QString build
            = ReadAll(Root + QLatin1Char('/') + folder + QStringLiteral("/CMakeLists.txt"));
    return build.contains(QRegularExpression(QStringLiteral("\\b") + form + QStringLiteral("\\b")));
}

std::vector<std::string> Violations(const QString &folder)
{
    std::vector<std::string> found;
    const int layer = LayerOf(folder);
    for (const TInclude &include : IncludesOf(folder)) {
        const QString target = FolderOf(include.Header);
        bool allowed = true;
        if (include.Header.startsWith(QLatin1String("ui_")))
            allowed = OwnsForm(folder, include.Header);
        else if (!include.Header.contains(QLatin1Char('/')))
            allowed = false;
        else if (folder == QLatin1String("setup"))
            allowed = target == QLatin1String("setup") || target == QLatin1String("platform")
                    || SharedCore.count(include.Header) > 0;
        else if (SharedCore.count(include.File.chopped(include.File.endsWith(".h") ? 2 : 4)
                                  + QStringLiteral(".h"))
                 > 0)
            allowed = target == QLatin1String("platform") || SharedCore.count(include.Header) > 0;
        else
            allowed = LayerOf(target) >= 0 && LayerOf(target) <= layer;
        if (!allowed)
            found.push_back(
                    (include.File + QStringLiteral(" includes ") + include.Header).toStdString());
    }
    return found;
}

} // namespace

TEST(SourceTree, NoFileIncludesAHeaderOfAHigherLayer)
{
    std::vector<QString> folders = Layers;
    folders.push_back(QStringLiteral("setup"));
    for (const QString &folder : folders) {
        SCOPED_TRACE(folder.toStdString());
        EXPECT_EQ(std::vector<std::string>(), Violations(folder));
    }
    // The check itself sees includes: the main window reaches the exercise windows.
    EXPECT_FALSE(IncludesOf(QStringLiteral("mainwindow")).empty());
}

namespace {

using TNames = std::vector<std::pair<std::string, int>>;

// The "#> Name" markers of the pack source: each names the entry that follows it.
std::map<QString, TNames> MarkedEntries()
{
    std::map<QString, TNames> names;
    QString section;
    int number = 0;
    QString pending;
    const QStringList lines
            = ReadAll(Root + QStringLiteral("/tools/lang/English.txt")).split(QLatin1Char('\n'));
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        const QString &line = lines[i];
        if (line.startsWith(QLatin1Char(':'))) {
            section = line;
            number = 0;
            pending.clear();
        } else if (line.startsWith(QLatin1String("#> "))) {
            pending = line.mid(3).trimmed();
        } else if (!line.startsWith(QLatin1Char('#'))) {
            if (!pending.isEmpty())
                names[section].push_back({pending.toStdString(), number});
            pending.clear();
            ++number;
        }
    }
    return names;
}

TNames HeaderEntries(const QString &header)
{
    static const QRegularExpression entry(QStringLiteral("^    (\\w+) = (\\d+),$"),
                                          QRegularExpression::MultilineOption);
    TNames names;
    auto matches = entry.globalMatch(ReadAll(Root + QLatin1Char('/') + header));
    while (matches.hasNext()) {
        const auto match = matches.next();
        names.push_back({match.captured(1).toStdString(), match.captured(2).toInt()});
    }
    return names;
}

} // namespace

TEST(SourceTree, TheEntryNamesAreThoseOfThePackSource)
{
    const auto marked = MarkedEntries();
    ASSERT_EQ(2u, marked.size());
    EXPECT_EQ(marked.at(QStringLiteral(":main")),
              HeaderEntries(QStringLiteral("core/LanguageEntries.h")));
    EXPECT_EQ(marked.at(QStringLiteral(":setup")),
              HeaderEntries(QStringLiteral("setup/SetupEntries.h")));
    // Numbers the code relies on by name, as the pack's readers count them.
    const TNames &main = marked.at(QStringLiteral(":main"));
    EXPECT_NE(
            main.end(),
            std::find(main.begin(), main.end(), std::pair<std::string, int>{"HelpFileName", 356}));
    EXPECT_NE(main.end(),
              std::find(main.begin(), main.end(),
                        std::pair<std::string, int>{"FirstCharsetName", 337}));
}
