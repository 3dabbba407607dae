#include "setup/Unit_Uninstall.h"

#include "core/Unit_Paths.h"
#include "platform/Registry.h"
#include "platform/SpecialFolders.h"
#include "setup/Unit_GroupMenu.h"
#include "setup/Unit_LogFile.h"
#include "setup/Unit_SetupPars.h"
#include "setup/Unit_SetupPaths.h"
#include "setup/Unit_SetupTexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace Setup {

namespace {

QString Local(const std::string &path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

// A file counts as changed unless its logged stamp is 0 or equals its stamp now; a missing or
// unreadable stamp line (a log cut short) counts as changed as well.
void RemoveIfUnchanged(const std::string &path, const TLogItem &item, bool stamps)
{
    const QFileInfo info(Local(path));
    if (!info.exists() && !info.isSymLink())
        return;
    if (stamps) {
        if (!item.StampValid)
            return;
        if (item.Stamp != 0 && FileTimeStamp(path) != item.Stamp)
            return;
    }
    QFile::remove(Local(path));
}

// The folders of rel below base, deepest first, each removed when empty; base itself stays.
void RemoveEmptyParents(const std::string &base, std::string rel)
{
    for (size_t slash = rel.rfind('/'); slash != std::string::npos && slash > 0;
         slash = rel.rfind('/')) {
        rel.resize(slash);
        QDir().rmdir(Local(JoinPath(base, rel)));
    }
}

// Every item of the log's section, below base and with prefix put before each name.
void RemoveSection(const TLogReader &log, const char *marker, size_t from, const std::string &base,
                   const std::string &prefix)
{
    for (const TLogItem &item : log.Section(marker, from)) {
        if (!IsSafeLoggedName(item.Name))
            continue;
        const std::string rel
                = LocalFileName(prefix.empty() ? item.Name : prefix + "\\" + item.Name);
        RemoveIfUnchanged(JoinPath(base, rel), item, log.HasStamps());
        RemoveEmptyParents(base, rel);
    }
}

std::string WithoutTrailingSeparators(std::string group)
{
    while (!group.empty() && (group.back() == '\\' || group.back() == '/'))
        group.pop_back();
    return group;
}

} // namespace

bool IsSafeLoggedName(const std::string &name)
{
    if (name.empty() || name[0] == '\\' || name[0] == '/')
        return false;
    size_t start = 0;
    while (start <= name.size()) {
        const size_t end = name.find_first_of("\\/", start);
        const size_t stop = end == std::string::npos ? name.size() : end;
        if (name.compare(start, stop - start, "..") == 0)
            return false;
        start = stop + 1;
    }
    return true;
}

void DeleteKeyIfEmpty(const std::string &key)
{
    TRegistry registry(Registry::Hive::ClassesRoot);
    if (!registry.OpenKeyReadOnly(key))
        return;
    const bool empty = registry.SubKeyCount() == 0 && registry.ValueCount() == 0;
    registry.CloseKey();
    if (empty)
        registry.DeleteKey(key);
}

void DeleteDefaultAndKeyIfEmpty(const std::string &key)
{
    TRegistry registry(Registry::Hive::ClassesRoot);
    if (!registry.KeyExists(key))
        return;
    if (registry.OpenKey(key, false))
        registry.DeleteValue("");
    registry.CloseKey();
    DeleteKeyIfEmpty(key);
}

void UninstallPrevious(const std::string &folder, const std::string &group)
{
    ChooseMachineScope();
    DeleteDefaultAndKeyIfEmpty("\\Tarnwick.Wordlist\\Shell\\Openen\\command");
    DeleteKeyIfEmpty("\\Tarnwick.Wordlist\\Shell\\Openen");
    DeleteDefaultAndKeyIfEmpty("\\Tarnwick.Wordlist\\Shell\\Open\\command");
    DeleteKeyIfEmpty("\\Tarnwick.Wordlist\\Shell\\Open");

    // Without an absolute folder every name would be taken relative to setup's own folder.
    if (folder.empty() || folder[0] != '/')
        return;
    const std::string programs = ToLocal(ProgramsFolder());
    const std::string logPath = JoinPath(folder, LogName);
    TLogReader log;
    if (log.Open(logPath)) {
        const std::string rootGroup = WithoutTrailingSeparators(group);
        if (rootGroup.empty() || IsSafeLoggedName(rootGroup))
            RemoveSection(log, "{program folder files}", 2, programs, rootGroup);
        RemoveSection(log, MenuDirectoryFilesMarker, 2, ToLocal(DesktopDirectoriesFolder()),
                      std::string());
        RemoveSection(log, MenuFilesMarker, 2, ToLocal(MergedMenusFolder()), std::string());
        RemoveSection(log, DesktopDataFilesMarker, 2, ToLocal(DesktopDataFolder()), std::string());
        RemoveSection(log, "{program files}", 1, folder, std::string());
    }
    QFile::remove(Local(logPath));
    QDir().rmdir(Local(folder));
}

} // namespace Setup
