#include "platform/ReadOpen.h"

#include "platform/TempFile.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

int OpenRegularFileForReading(const std::string &path)
{
    // Non-blocking, so that opening a FIFO without a writer returns at once; its type is then
    // known before the first read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return -1;
    struct stat info
    { };
    int error = 0;
    if (fstat(fd, &info) != 0)
        error = errno;
    else if (S_ISDIR(info.st_mode))
        error = EISDIR;
    else if (!S_ISREG(info.st_mode))
        error = NotRegularFileError;
    else {
        const int flags = fcntl(fd, F_GETFL);
        if (flags < 0 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0)
            error = errno;
    }
    if (error != 0) {
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

bool OpenRegularFile(QFile &file, std::string *errorText)
{
    const std::string path = QFile::encodeName(file.fileName()).toStdString();
    const int fd = OpenRegularFileForReading(path);
    int error = errno;
    if (fd >= 0) {
        // A file opened by its descriptor forgets its name; the error texts take it from here.
        file.setObjectName(file.fileName());
        if (file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
            return true;
        ::close(fd);
        error = EIO;
    }
    if (errorText)
        *errorText = OpenErrorText(path, error);
    errno = error;
    return false;
}

std::string OpenErrorText(const std::string &path, int error)
{
    if (error == NotRegularFileError)
        return path + ": Not a regular file";
    return FileErrorText(path, error);
}

int ReadToEnd(int fd, size_t limit, std::string &out)
{
    constexpr size_t Chunk = 64 * 1024;
    std::vector<char> buffer(Chunk);
    while (true) {
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return errno;
        if (got == 0)
            return 0;
        if (out.size() + static_cast<size_t>(got) > limit)
            return TooLargeError;
        out.append(buffer.data(), static_cast<size_t>(got));
    }
}

bool WriteAll(int fd, const std::string &bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += static_cast<size_t>(written);
    }
    return true;
}
