#pragma once

#include "setup/Unit_Shortcuts.h"

#include <QString>
#include <string>
#include <vector>

class TLogFile;

namespace Setup {

// Desktop menus do not turn a folder below the menu folder into a submenu; a merged menu file and
// a directory entry per level of the program group do. Names are DEFAULT code-page bytes, paths
// local.

// Where merged menu files are read from: $XDG_CONFIG_HOME/menus/applications-merged, or the
// system's folder for the administrator (beside the menu folder of ProgramsFolder).
QString MergedMenusFolder();
// Where the menus' directory entries are read from: $XDG_DATA_HOME/desktop-directories, or the
// system's folder for the administrator.
QString DesktopDirectoriesFolder();

// The levels of a program group ("\" or "/" between them), empty levels left out.
std::vector<std::string> GroupLevels(const std::string &group);
// The directory entry of the group's first `depth` levels: "tarnwick-A-B.directory".
std::string LevelDirectoryName(const std::vector<std::string> &levels, size_t depth);
// The merged menu file of a group: "tarnwick-A-B.menu".
std::string GroupMenuName(const std::vector<std::string> &levels);

// A directory entry that names one level in the menus.
std::string DirectoryEntry(const std::string &name);
// The merged menu: one nested menu per level, each named after its level and described by its
// directory entry; the innermost one includes the entries (file names in the group folder) by
// their desktop-file ids.
std::string GroupMenu(const std::vector<std::string> &levels,
                      const std::vector<std::string> &entryNames);

// Writes the directory entries and the merged menu for the entries written into the group's
// folder, each logged in its section once it exists. A group that is empty (the menu folder
// itself) needs neither.
void CreateGroupMenu(const std::string &group, const std::vector<std::string> &entryNames,
                     TLogFile &log, TFailures &failures);

} // namespace Setup
