#include "setup/Unit_FolderTest.h"

#include "core/Unit_Paths.h"
#include "setup/Unit_SetupTexts.h"

#include <QDir>
#include <QFileInfo>

namespace Setup {

namespace {

bool IsFolder(const std::string &path)
{
    return !path.empty() && QFileInfo(FromLocal(path)).isDir();
}

bool Exists(const std::string &path)
{
    return !path.empty() && QFileInfo::exists(FromLocal(path));
}

// Creates every folder of the path up to its last separator.
bool MakeSureDirectoryPathExists(const std::string &path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos || slash == 0)
        return true;
    return QDir().mkpath(FromLocal(path.substr(0, slash)));
}

} // namespace

void SplitExistingPath(const std::string &path, std::string &existing, std::string &missing)
{
    existing = path;
    missing.clear();
    while (!existing.empty() && !IsFolder(existing)) {
        const size_t slash = existing.rfind('/');
        const std::string last = slash == std::string::npos ? existing : existing.substr(slash + 1);
        missing = missing.empty() ? last : last + "/" + missing;
        if (slash == std::string::npos)
            existing.clear();
        else
            existing = slash == 0 ? std::string("/") : existing.substr(0, slash);
    }
}

bool FolderCanBeUsed(const std::string &path)
{
    if (path.empty())
        return false;
    const std::string folder = ToLocal(QDir::cleanPath(FromLocal(path)));
    if (IsFolder(folder))
        return true;
    if (Exists(folder))
        return false;

    std::string existing;
    std::string missing;
    SplitExistingPath(folder, existing, missing);
    const bool created = MakeSureDirectoryPathExists(folder) && QDir().mkdir(FromLocal(folder));

    while (!missing.empty()) {
        QDir().rmdir(FromLocal(JoinPath(existing, missing)));
        const size_t slash = missing.rfind('/');
        missing = slash == std::string::npos ? std::string() : missing.substr(0, slash);
    }
    return created;
}

std::string GroupFolderPath(const std::string &group)
{
    std::string path = group;
    for (char &c : path) {
        if (c == '\\')
            c = '/';
    }
    return path;
}

QString ExpandHome(const QString &text)
{
    if (text == QLatin1String("~"))
        return QDir::homePath();
    if (text.startsWith(QLatin1String("~/")))
        return QDir::homePath() + text.mid(1);
    return text;
}

std::string WithoutTrailingSeparator(const std::string &text)
{
    if (!text.empty() && (text.back() == '\\' || text.back() == '/') && text != "/")
        return text.substr(0, text.size() - 1);
    return text;
}

} // namespace Setup
