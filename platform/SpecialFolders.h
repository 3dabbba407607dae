#pragma once

#include <QString>

// The folders the installer asks the desktop for.

// The system's folders for data and configuration that every user's desktop reads.
inline constexpr const char *SystemDataFolder = "/usr/local/share";
inline constexpr const char *SystemConfigFolder = "/etc/xdg";

// A system-wide folder, below $TARNWICK_SYSTEM_ROOT when that is set (see MachineScope.h).
QString SystemFolder(const char *absolute);

// Where this process puts the desktop's data (icons, the file type, its desktop entry) and
// configuration: the system's folders when it installs for the whole machine (MachineScope()),
// else the user's ($XDG_DATA_HOME, $XDG_CONFIG_HOME).
QString DesktopDataFolder();
QString DesktopConfigFolder();

// Where programs are installed when the store names no other place: /opt for the system's
// administrator, else the user's data folder ($XDG_DATA_HOME, ~/.local/share).
QString DefaultProgramFilesFolder();

// The folder the desktop's menus are read from ($XDG_DATA_HOME/applications, or
// /usr/local/share/applications for the administrator), created when it is missing.
QString ProgramsFolder();

// Whether setup runs for the system's administrator; tests put their own answer in place.
using TAdministratorCheck = bool (*)();
bool RunningAsAdministrator();
// Replaces the check (nullptr restores the real one); returns the previous one.
TAdministratorCheck SetAdministratorCheck(TAdministratorCheck check);
