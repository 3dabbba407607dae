#include "platform/TempFile.h"

#include <QDir>
#include <QFileDevice>
#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::string_view TempSuffix = ".tmp";
constexpr size_t UniquePartLength = 6;
constexpr std::array<std::string_view, 3> TempPrefixes = {"ZRS", "ZRW", "ZRM"};

std::string TempFolder()
{
    return QFile::encodeName(QDir::tempPath()).toStdString();
}

// The process id in a name "<prefix><pid>-<six characters>.tmp"; 0 for any other name.
pid_t OwnerOf(std::string_view name)
{
    const auto prefix = std::find_if(TempPrefixes.begin(), TempPrefixes.end(),
                                     [&](std::string_view p) { return name.starts_with(p); });
    if (prefix == TempPrefixes.end() || !name.ends_with(TempSuffix))
        return 0;
    name.remove_prefix(prefix->size());
    name.remove_suffix(TempSuffix.size());
    const size_t dash = name.find('-');
    if (dash == std::string_view::npos || name.size() - dash - 1 != UniquePartLength)
        return 0;
    pid_t pid = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + dash, pid);
    return error == std::errc() && end == name.data() + dash && pid > 0 ? pid : 0;
}

// A process that exists, even one of another user, may be the trainer that owns the file.
bool ProcessRuns(pid_t pid)
{
    return kill(pid, 0) == 0 || errno == EPERM;
}

} // namespace

std::string CreateTempFile(const char *prefix)
{
    const std::string folder = TempFolder();
    // The process id in the name tells a later start whose file it is.
    const std::string pattern = folder + "/" + prefix + std::to_string(getpid()) + "-XXXXXX"
            + std::string(TempSuffix);
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = mkstemps(name.data(), static_cast<int>(TempSuffix.size()));
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
    if (const auto *file = qobject_cast<const QFileDevice *>(&device)) {
        // A file opened by its descriptor keeps its name only as the object's name.
        const QString name = file->fileName().isEmpty() ? file->objectName() : file->fileName();
        return QFile::encodeName(name).toStdString() + ": " + reason;
    }
    return reason;
}

int RemoveStaleTempFiles(const std::string &folder)
{
    DIR *dir = opendir(folder.c_str());
    if (!dir)
        return 0;
    int removed = 0;
    const uid_t user = geteuid();
    while (const dirent *entry = readdir(dir)) {
        const pid_t owner = OwnerOf(entry->d_name);
        if (owner == 0 || owner == getpid() || ProcessRuns(owner))
            continue;
        struct stat info
        { };
        if (fstatat(dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0
            || !S_ISREG(info.st_mode) || info.st_uid != user)
            continue;
        if (unlinkat(dirfd(dir), entry->d_name, 0) == 0)
            ++removed;
    }
    closedir(dir);
    return removed;
}

int RemoveStaleTempFiles()
{
    return RemoveStaleTempFiles(TempFolder());
}
