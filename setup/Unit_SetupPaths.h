#pragma once

#include <string>

// Names stored by setup (in data volumes and the log) are DEFAULT code-page bytes with "\"
// separators; the file system wants local paths with "/".
std::string LocalFileName(const std::string &storedName);
// A local path as DEFAULT code-page bytes, for messages.
std::string PathText(const std::string &localPath);
