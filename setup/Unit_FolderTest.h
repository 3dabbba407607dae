#pragma once

#include <QString>
#include <string>

namespace Setup {

// Paths here are local file-name bytes.

// Splits a path into its longest leading part that is an existing folder and the rest. The root
// "/" keeps its slash; a relative path with no existing part gives Existing "".
void SplitExistingPath(const std::string &path, std::string &existing, std::string &missing);

// Whether the path is an existing folder or one that can be created. A folder made to find out is
// removed again, so the test leaves nothing behind; a plain file in the way fails the test.
bool FolderCanBeUsed(const std::string &path);

// A program group as the file system names it below the menu folder ("\" becomes "/").
std::string GroupFolderPath(const std::string &group);

// A typed folder with "~" or "~/" at its start read from the home folder, as a shell would.
QString ExpandHome(const QString &text);

// A group or folder text without its trailing separator ("\" or "/").
std::string WithoutTrailingSeparator(const std::string &text);

} // namespace Setup
