#pragma once

#include <string>

// Path helpers shared by the trainer and the installer. "/" is the separator, and the root "/"
// plays the part of a drive root: it keeps its slash.
std::string RemoveTrailingBackslash(const std::string &path);
std::string JoinPath(const std::string &dir, const std::string &name);

// The trainer's file name in the install folder and in the data volumes, and the separate
// uninstaller's beside it.
inline constexpr const char *kProgramFile = "tarnwick";
inline constexpr const char *kUninstallerFile = "Uninst";
