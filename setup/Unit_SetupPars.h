#pragma once

#include <cstdint>
#include <string>

namespace Setup {

// The store's entry through which a later run finds this installation (machine-wide).
inline constexpr const char *UninstallKey
        = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tarnwick";
// The installation log in the install folder.
inline constexpr const char *LogName = "Install.log";

// The wizard's choices. Folders are local paths without a trailing separator; the language and
// the groups are DEFAULT code-page bytes.
struct TSetupPars
{
    uint8_t State = 0;
    // The chosen pack's file name without ".lng".
    std::string Language;
    std::string InstallFolder;
    // Relative to the desktop's menu folder; levels are separated by "\" (or "/").
    std::string ProgramGroup;
    std::string PreviousFolder;
    std::string PreviousGroup;
    // An earlier installation with a readable log was found.
    bool PreviousFound = false;
    bool CloseWithoutAsking = true;
};

extern TSetupPars SetupPars;

// The wizard's starting values: the earlier installation the store's uninstall entry points to,
// else the default folder and group. Chooses the machine scope first.
void InitSetupPars(TSetupPars &pars);

// Setup run by the administrator installs for the whole machine: the store's machine-wide
// values, the file type, its entry and the icon go to the system's places, which every user's
// trainer reads. Any other user installs for themselves alone, into their own store and folders.
void ChooseMachineScope();
// Whether this run installs for the whole machine.
bool InstallsForEveryUser();

} // namespace Setup
