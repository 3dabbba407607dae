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
// else the default folder and group.
void InitSetupPars(TSetupPars &pars);

} // namespace Setup
