#pragma once

#include <QFileDevice>
#include <QString>
#include <string>

// Writes that end with the system's reason. A file opened buffered, or a write that the system
// cuts short (a full disk, the file-size limit), leaves Qt with a short count and no reason, and
// a buffered temporary file can even be committed short; so setup opens its files unbuffered and
// writes again after a short count, until the system refuses with its reason.

// Writes every byte to a file opened with QIODevice::Unbuffered; false with the reason in the
// file's errorString().
bool WriteAll(QFileDevice &file, const char *data, qint64 size);

// Writes a whole file through a temporary one beside it, creating its folders: all of contents,
// or nothing and the system's reason.
bool WriteWholeFile(const QString &path, const std::string &contents, QString &reason);
