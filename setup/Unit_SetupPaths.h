#pragma once

#include <QString>
#include <string>

// Names stored by setup (in data volumes and the log) are DEFAULT code-page bytes with "\"
// separators; the file system wants local paths with "/".
std::string LocalFileName(const std::string &storedName);
// A local path as DEFAULT code-page bytes, for messages.
std::string PathText(const std::string &localPath);
// A file that could not be created or written, as setup reports it: what failed, the file and
// the system's reason, so that a full disk or a read-only folder says so. DEFAULT code-page bytes.
std::string FileFailure(const std::string &what, const std::string &localPath,
                        const QString &reason);
