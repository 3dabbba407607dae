#include "setup/Unit_GroupMenu.h"

#include "core/Unit_Paths.h"
#include "platform/CodePage.h"
#include "platform/ShellAssociation.h"
#include "platform/SpecialFolders.h"
#include "setup/Unit_FileWrite.h"
#include "setup/Unit_LogFile.h"
#include "setup/Unit_SetupPaths.h"
#include "setup/Unit_SetupTexts.h"

#include <QStandardPaths>
#include <QXmlStreamWriter>
#include <algorithm>
#include <optional>

namespace Setup {

namespace {

const char *const NamePrefix = "tarnwick-";
const char *const DirectoryExtension = ".directory";
const char *const MenuExtension = ".menu";
const char *const LevelSeparator = "-";
const char *const MergedMenusSubfolder = "/menus/applications-merged";
const char *const DesktopDirectoriesSubfolder = "/desktop-directories";
const char *const MenuDoctype = "<!DOCTYPE Menu PUBLIC \"-//freedesktop//DTD Menu 1.0//EN\"\n"
                                "    \"http://www.freedesktop.org/standards/menu-spec/"
                                "menu-1.0.dtd\">";
constexpr int XmlIndent = 4;

QString Unicode(const std::string &name)
{
    return CodePage::ToUnicode(name, CodePage::Default);
}

std::string Joined(const std::vector<std::string> &levels, size_t depth)
{
    std::string joined;
    for (size_t i = 0; i < depth && i < levels.size(); ++i)
        joined += (i == 0 ? "" : LevelSeparator) + levels[i];
    return joined;
}

// A file below the menu folder is known by its path there, with "-" for every separator.
QString DesktopFileId(const std::vector<std::string> &levels, const std::string &entryName)
{
    return Unicode(Joined(levels, levels.size()) + LevelSeparator + entryName);
}

// Writes one menu file and logs it; a failure is reported with its reason instead.
void WriteLogged(const QString &folder, const std::string &name, const std::string &contents,
                 TLogFile &log, TFailures &failures)
{
    const std::string path = JoinPath(ToLocal(folder), LocalFileName(name));
    QString reason;
    if (!WriteWholeFile(FromLocal(path), contents, reason)) {
        failures.push_back(FileFailure("Could not write the menu file", path, reason));
        return;
    }
    log.WriteLine(name);
    if (const std::optional<int32_t> stamp = FileTimeStamp(path))
        log.WriteNumber(*stamp);
}

} // namespace

QString MergedMenusFolder()
{
    const QString base = RunningAsAdministrator()
            ? SystemFolder(SystemConfigFolder)
            : QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return base + QString::fromLatin1(MergedMenusSubfolder);
}

QString DesktopDirectoriesFolder()
{
    const QString base = RunningAsAdministrator()
            ? SystemFolder(SystemDataFolder)
            : QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return base + QString::fromLatin1(DesktopDirectoriesSubfolder);
}

std::vector<std::string> GroupLevels(const std::string &group)
{
    std::vector<std::string> levels;
    size_t start = 0;
    while (start <= group.size()) {
        const size_t end = std::min(group.find_first_of("\\/", start), group.size());
        if (end > start)
            levels.push_back(group.substr(start, end - start));
        start = end + 1;
    }
    return levels;
}

std::string LevelDirectoryName(const std::vector<std::string> &levels, size_t depth)
{
    return NamePrefix + Joined(levels, depth) + DirectoryExtension;
}

std::string GroupMenuName(const std::vector<std::string> &levels)
{
    return NamePrefix + Joined(levels, levels.size()) + MenuExtension;
}

std::string DirectoryEntry(const std::string &name)
{
    return "[Desktop Entry]\n"
           "Type=Directory\n"
           "Name="
            + ShellAssociation::DesktopValue(Unicode(name).toUtf8().toStdString()) + "\n";
}

std::string GroupMenu(const std::vector<std::string> &levels,
                      const std::vector<std::string> &entryNames)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(XmlIndent);
    xml.writeStartDocument();
    xml.writeDTD(QString::fromLatin1(MenuDoctype));
    xml.writeStartElement(QStringLiteral("Menu"));
    xml.writeTextElement(QStringLiteral("Name"), QStringLiteral("Applications"));
    for (size_t depth = 1; depth <= levels.size(); ++depth) {
        xml.writeStartElement(QStringLiteral("Menu"));
        xml.writeTextElement(QStringLiteral("Name"), Unicode(levels[depth - 1]));
        xml.writeTextElement(QStringLiteral("Directory"),
                             Unicode(LevelDirectoryName(levels, depth)));
    }
    xml.writeStartElement(QStringLiteral("Include"));
    for (const std::string &entry : entryNames)
        xml.writeTextElement(QStringLiteral("Filename"), DesktopFileId(levels, entry));
    xml.writeEndDocument();
    return bytes.toStdString();
}

void CreateGroupMenu(const std::string &group, const std::vector<std::string> &entryNames,
                     TLogFile &log, TFailures &failures)
{
    const std::vector<std::string> levels = GroupLevels(group);
    if (levels.empty() || entryNames.empty())
        return;
    log.StartMenuDirectoryFiles();
    const QString directories = DesktopDirectoriesFolder();
    for (size_t depth = 1; depth <= levels.size(); ++depth)
        WriteLogged(directories, LevelDirectoryName(levels, depth),
                    DirectoryEntry(levels[depth - 1]), log, failures);
    log.StartMenuFiles();
    WriteLogged(MergedMenusFolder(), GroupMenuName(levels), GroupMenu(levels, entryNames), log,
                failures);
}

} // namespace Setup
