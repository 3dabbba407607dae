#include "platform/SpecialFolders.h"

#include "platform/MachineScope.h"

#include <QDir>
#include <QFile>
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

QString DesktopDataFolder()
{
    return MachineScope() == TMachineScope::System ? SystemFolder(SystemDataFolder)
                                                   : UserDataFolder();
}

QString DesktopConfigFolder()
{
    return MachineScope() == TMachineScope::System
            ? SystemFolder(SystemConfigFolder)
            : QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

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

QString SystemFolder(const char *absolute)
{
    return QFile::decodeName(QByteArray::fromStdString(SystemPath(absolute)));
}

QString DefaultProgramFilesFolder()
{
    return RunningAsAdministrator() ? SystemFolder("/opt") : UserDataFolder();
}

QString ProgramsFolder()
{
    const QString folder
            = QDir(RunningAsAdministrator() ? SystemFolder(SystemDataFolder) : UserDataFolder())
                      .filePath(QStringLiteral("applications"));
    QDir().mkpath(folder);
    return folder;
}
