#pragma once

#include <cerrno>
#include <string>

class QFile;

// Opening a file for reading that never waits: a FIFO, a device, a socket or a folder is refused
// at once, before anything is read from it. Every reader of outside files opens through here.

// The errno set for a path that exists but is not a regular file and not a folder (a folder
// gives EISDIR).
inline constexpr int NotRegularFileError = ENODEV;

// A descriptor open for blocking reads of a regular file, or -1 with errno set.
int OpenRegularFileForReading(const std::string &path);
// The same for a QFile named by its file name; on failure the file stays closed, errno is set and
// errorText (when given) says why, naming the file.
bool OpenRegularFile(QFile &file, std::string *errorText = nullptr);
// "<file>: <reason>", with a readable reason for a file that is not a regular one.
std::string OpenErrorText(const std::string &path, int error);

// The error ReadToEnd gives when the file holds more than its limit.
inline constexpr int TooLargeError = EFBIG;

// Appends everything left to read from fd to out, in large chunks: 0 once the end is reached,
// TooLargeError when out would grow past limit bytes, else the failed read's errno.
int ReadToEnd(int fd, size_t limit, std::string &out);
// Writes all of bytes to fd, going on after interruptions and short writes.
bool WriteAll(int fd, const std::string &bytes);
