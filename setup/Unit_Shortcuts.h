#pragma once

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

// A menu entry's file contents: an application started in workingFolder with the command exec
// (already quoted for an Exec value). Name is DEFAULT code-page bytes, the folder local.
std::string ShortcutEntry(const std::string &name, const std::string &exec,
                          const std::string &workingFolder);

// The file name of a shortcut, without ".desktop": separators would make a folder of it.
std::string ShortcutName(const std::string &text);

// The trainer's path as the association stores it: canonical when the file exists.
std::string InstalledProgramPath(const std::string &folder);

// The warning that lists the failures.
std::string FailureWarning(const TFailures &failures);

} // namespace Setup
