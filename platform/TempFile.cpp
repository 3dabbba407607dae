#include "platform/TempFile.h"

#include <QDir>
#include <QFileDevice>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <vector>

std::string CreateTempFile(const char *prefix)
{
    const std::string folder = QFile::encodeName(QDir::tempPath()).toStdString();
    const std::string pattern = folder + "/" + prefix + "XXXXXX.tmp";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = mkstemps(name.data(), 4);
    // The file has no name yet: the folder it was to go into is what failed.
    if (fd < 0)
        throw EInOutError(FileErrorText(folder, errno));
    close(fd);
    return std::string(name.data());
}

std::string SystemErrorText(int error)
{
    return std::strerror(error);
}

std::string FileErrorText(const std::string &fileName, int error)
{
    return fileName + ": " + SystemErrorText(error);
}

std::string FileErrorText(const QIODevice &device)
{
    const std::string reason = device.errorString().toStdString();
    if (const auto *file = qobject_cast<const QFileDevice *>(&device))
        return QFile::encodeName(file->fileName()).toStdString() + ": " + reason;
    return reason;
}
