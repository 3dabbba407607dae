#pragma once

#include <QString>

// The folders the installer asks the desktop for.

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
