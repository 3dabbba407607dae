#pragma once

#include <string>

namespace Setup {

// Removes the installation that Folder's log describes, before a new one is written over it:
// files, shortcuts and the group's menu files that are unchanged since (by their logged stamps),
// the folders that become empty, the log, and the older word-list open verbs. What the new
// installation writes again in the store stays. Folder is local; Group is the logged group (DEFAULT
// code-page bytes).
void UninstallPrevious(const std::string &folder, const std::string &group);

// Keys of the classes root. A key that does not exist is left alone; one that still holds a
// sub-key or a value stays.
void DeleteKeyIfEmpty(const std::string &key);
// As DeleteKeyIfEmpty, after removing the key's default value.
void DeleteDefaultAndKeyIfEmpty(const std::string &key);

// Whether a logged name stays inside the folder it is joined with: not absolute, no "..".
bool IsSafeLoggedName(const std::string &name);

} // namespace Setup
