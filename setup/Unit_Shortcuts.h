#pragma once

#include <functional>
#include <string>
#include <vector>

class TLogFile;

namespace Setup {

// What could not be written while finishing an installation, as English texts. They are
// shown together at the end; the installation still counts as complete.
using TFailures = std::vector<std::string>;

// The menu entries in the program group (Group relative to the desktop's menu folder, "\" or "/"
// between levels), each logged under its file name once it exists, and the submenu that shows
// them. The uninstaller's entry is made only when the uninstaller is in Folder, the local install
// folder.
void CreateShortcuts(const std::string &folder, const std::string &group, TLogFile &log,
                     TFailures &failures);

// The machine-wide language, the uninstall entry and the word-list association of the trainer
// installed in Folder, with the desktop's side of the association.
void WriteSettings(const std::string &language, const std::string &folder, TFailures &failures);

// Logs the desktop's files that the installation put into the desktop's data folder (icons, the
// file type, its desktop entry), each that exists with its stamp, in the log's last section.
void LogDesktopDataFiles(TLogFile &log);

// Whether the desktop can open the help file (a local path) with xdg-open; the help entry is
// made only then, so that it never starts nothing. Tests put their own answer in place; an empty
// function restores the desktop's. Returns the previous check.
using THelpViewerCheck = std::function<bool(const std::string &helpFile)>;
THelpViewerCheck SetHelpViewerCheck(THelpViewerCheck check);

// A menu entry's file contents: an application started in workingFolder with the command exec
// (already quoted for an Exec value). Name is DEFAULT code-page bytes, the folder local. An entry
// of a program group is shown by the group's submenu alone; one put straight into the menu
// folder (no group) is given a category, so that the menus show it at all.
std::string ShortcutEntry(const std::string &name, const std::string &exec,
                          const std::string &workingFolder, bool withCategory);

// The file name of a shortcut, without ".desktop": separators would make a folder of it.
std::string ShortcutName(const std::string &text);

// The trainer's path as the association stores it: canonical when the file exists.
std::string InstalledProgramPath(const std::string &folder);

// The warning that lists the failures.
std::string FailureWarning(const TFailures &failures);

} // namespace Setup
