#include "platform/SpecialFolders.h"

#include <QDir>
#include <QStandardPaths>
#include <unistd.h>

namespace {

bool EffectiveUserIsRoot()
{
    return geteuid() == 0;
}

TAdministratorCheck AdministratorCheck = EffectiveUserIsRoot;

QString UserDataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

} // namespace

bool RunningAsAdministrator()
{
    return AdministratorCheck();
}

TAdministratorCheck SetAdministratorCheck(TAdministratorCheck check)
{
    const TAdministratorCheck previous = AdministratorCheck;
    AdministratorCheck = check ? check : EffectiveUserIsRoot;
    return previous;
}

QString DefaultProgramFilesFolder()
{
    return RunningAsAdministrator() ? QStringLiteral("/opt") : UserDataFolder();
}

QString ProgramsFolder()
{
    const QString folder = RunningAsAdministrator()
            ? QStringLiteral("/usr/local/share/applications")
            : QDir(UserDataFolder()).filePath(QStringLiteral("applications"));
    QDir().mkpath(folder);
    return folder;
}
