#include "platform/TempFile.h"

#include <QDir>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <vector>

std::string CreateTempFile(const char *prefix)
{
    const std::string pattern = QDir::tempPath().toStdString() + "/" + prefix + "XXXXXX.tmp";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = mkstemps(name.data(), 4);
    if (fd < 0) {
        const int error = errno;
        throw EInOutError(pattern + ": " + SystemErrorText(error));
    }
    close(fd);
    return std::string(name.data());
}

std::string SystemErrorText(int error)
{
    return std::strerror(error);
}
