#include "setup/Unit_FileWrite.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

bool WriteAll(QFileDevice &file, const char *data, qint64 size)
{
    while (size > 0) {
        const qint64 written = file.write(data, size);
        if (written <= 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

bool WriteWholeFile(const QString &path, const std::string &contents, QString &reason)
{
    // A folder that cannot be made shows up as the reason the file cannot be opened.
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)
        || !WriteAll(file, contents.data(), static_cast<qint64>(contents.size()))) {
        reason = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        reason = file.errorString();
        return false;
    }
    return true;
}
