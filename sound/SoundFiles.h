#pragma once

#include <QString>
#include <QtGlobal>
#include <string>

class QIODevice;

// File helpers that the sound code shares.

// A file name as the file system holds it, for Qt's file classes (never through a code page).
QString FileNameOf(const std::string &fileName);

// Copies size bytes from the current position of one device to the current position of the
// other, in blocks; false when fewer could be read or written.
bool CopyBlocks(QIODevice &from, QIODevice &to, qint64 size);
// Copies a whole file over another, which is replaced when it exists; false on failure.
bool CopyFileOver(const std::string &from, const std::string &to);
// The same, telling why a copy failed.
bool CopyFileOver(const std::string &from, const std::string &to, QString &reason);
// Removes a file the program made; a missing file is no failure.
void RemoveFile(const std::string &fileName);
qint64 FileSize(const std::string &fileName);
