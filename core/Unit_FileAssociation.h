#pragma once

#include <string>

// The ".wdl" file type under the classes root: ".wdl" names the type "Tarnwick.Wordlist", whose
// display name, icon and open command follow. The trainer checks it at every start and the
// installer writes it.

// The open command of a program: its path, a blank and "%1" in double quotes.
std::string AssociationCommand(const std::string &programPath);

// Whether all six keys and the desktop's association hold what RegisterFileAssociation would
// write. description is the type's display name; comparisons are exact.
bool CheckFileAssociation(const std::string &programPath, const std::string &description);

// Writes the six keys, then tells the desktop that the association changed. False with a reason
// in error when a key could not be written (the desktop is then not told) or the desktop's own
// association could not be written.
bool RegisterFileAssociation(const std::string &programPath, const std::string &description,
                             std::string &error);
