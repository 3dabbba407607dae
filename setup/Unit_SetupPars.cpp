#include "setup/Unit_SetupPars.h"

#include "core/Unit_Paths.h"
#include "platform/MachineScope.h"
#include "platform/Registry.h"
#include "platform/SpecialFolders.h"
#include "setup/Unit_LogFile.h"
#include "setup/Unit_SetupTexts.h"

#include <optional>

namespace Setup {

TSetupPars SetupPars;

namespace {

const char *const CurrentVersionKey = "\\Software\\Microsoft\\Windows\\CurrentVersion";
const char *const ProgramName = "Tarnwick";

std::string ReadMachineString(const char *key, const char *name)
{
    TRegistry registry(Registry::Hive::LocalMachine);
    if (!registry.OpenKeyReadOnly(key))
        return std::string();
    return registry.ReadString(name).value_or(std::string());
}

// The folder part of the uninstaller's path. Only an absolute folder counts: an empty or relative
// one would point into setup's own folder.
std::string PreviousInstallFolder()
{
    const std::string uninstaller = ReadMachineString(UninstallKey, "UninstallString");
    const size_t slash = uninstaller.rfind('/');
    if (uninstaller.empty() || uninstaller[0] != '/' || slash == std::string::npos)
        return std::string();
    return RemoveTrailingBackslash(uninstaller.substr(0, slash + 1));
}

std::string DefaultInstallFolder()
{
    std::string programFiles = ReadMachineString(CurrentVersionKey, "ProgramFilesDir");
    if (programFiles.empty())
        programFiles = ToLocal(DefaultProgramFilesFolder());
    return JoinPath(programFiles, ProgramName);
}

} // namespace

void ChooseMachineScope()
{
    SetMachineScope(RunningAsAdministrator() ? TMachineScope::System : TMachineScope::Own);
}

bool InstallsForEveryUser()
{
    return RunningAsAdministrator();
}

void InitSetupPars(TSetupPars &pars)
{
    ChooseMachineScope();
    pars.State = 0;
    pars.PreviousFolder.clear();
    pars.PreviousGroup.clear();
    pars.PreviousFound = false;

    pars.PreviousFolder = PreviousInstallFolder();
    if (!pars.PreviousFolder.empty()) {
        TLogReader log;
        const std::optional<std::string> group = log.Open(JoinPath(pars.PreviousFolder, LogName))
                ? log.ProgramGroup()
                : std::nullopt;
        if (group) {
            pars.PreviousGroup = *group;
            pars.PreviousFound = true;
        }
    }
    pars.InstallFolder = pars.PreviousFolder;
    pars.ProgramGroup = pars.PreviousGroup;

    if (!pars.PreviousFound) {
        pars.InstallFolder = DefaultInstallFolder();
        pars.ProgramGroup = ProgramName;
    }
    pars.CloseWithoutAsking = true;
}

} // namespace Setup
