#include "platform/RegistryStore.h"

#include "platform/MachineScope.h"
#include "platform/ReadOpen.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace Registry {

namespace {

// Folders and files of the system-wide hives are read by every user and written by the
// administrator alone; the user's own are the user's alone.
constexpr mode_t OwnFolderMode = 0700;
constexpr mode_t OwnFileMode = 0600;
constexpr mode_t SharedFolderMode = 0755;
constexpr mode_t SharedFileMode = 0644;
const char *const SystemStoreFolder = "/etc/xdg/tarnwick/registry";

thread_local std::string LastErrorText;

struct TFileStamp
{
    bool Exists = false;
    dev_t Device = 0;
    ino_t Inode = 0;
    off_t Size = 0;
    timespec Modified{};

    bool operator==(const TFileStamp &o) const
    {
        return Exists == o.Exists && Device == o.Device && Inode == o.Inode && Size == o.Size
                && Modified.tv_sec == o.Modified.tv_sec && Modified.tv_nsec == o.Modified.tv_nsec;
    }
};

struct TCachedHive
{
    bool Loaded = false;
    // The file exists but could not be read: it must not be replaced.
    bool Unreadable = false;
    TFileStamp Stamp;
    // The file's bytes as last read, to tell a real change from a touch.
    std::string Text;
    THive Contents;
};

// One cache per file path: the directory may differ between calls (tests change it).
std::mutex CacheMutex;
std::map<std::string, TCachedHive> Cache;

// "<file>: <the system's reason>", as every failure of the store is reported.
std::string ErrorText(const std::string &path, int error)
{
    return path + ": " + std::strerror(error);
}

TFileStamp StampOf(const std::string &path)
{
    TFileStamp stamp;
    struct stat info
    { };
    if (::stat(path.c_str(), &info) != 0)
        return stamp;
    stamp.Exists = true;
    stamp.Device = info.st_dev;
    stamp.Inode = info.st_ino;
    stamp.Size = info.st_size;
    stamp.Modified = info.st_mtim;
    return stamp;
}

bool MakeDirectories(const std::string &dir, mode_t mode)
{
    std::string partial;
    size_t pos = 0;
    while (pos <= dir.size()) {
        const size_t slash = dir.find('/', pos);
        partial = dir.substr(0, slash);
        pos = slash == std::string::npos ? dir.size() + 1 : slash + 1;
        if (partial.empty())
            continue;
        if (::mkdir(partial.c_str(), mode) != 0 && errno != EEXIST) {
            LastErrorText = ErrorText(partial, errno);
            return false;
        }
    }
    struct stat info
    { };
    if (::stat(dir.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        LastErrorText = ErrorText(dir, ENOTDIR);
        return false;
    }
    return true;
}

enum class TReadResult {
    Ok,
    TooLarge,
    Failed,
};

// The whole file.
TReadResult ReadWholeFile(const std::string &path, std::string &text)
{
    const int fd = OpenRegularFileForReading(path);
    if (fd < 0) {
        LastErrorText = OpenErrorText(path, errno);
        return TReadResult::Failed;
    }
    const int error = ReadToEnd(fd, MaxHiveText, text);
    ::close(fd);
    if (error == TooLargeError)
        return TReadResult::TooLarge;
    if (error != 0) {
        LastErrorText = ErrorText(path, error);
        return TReadResult::Failed;
    }
    return TReadResult::Ok;
}

void SetAside(const std::string &path)
{
    char stamp[32];
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    std::string aside = path + ".bad-" + stamp;
    for (int n = 2; ::access(aside.c_str(), F_OK) == 0; ++n)
        aside = path + ".bad-" + stamp + "-" + std::to_string(n);
    if (::rename(path.c_str(), aside.c_str()) == 0)
        std::fprintf(stderr, "tarnwick: damaged settings file %s set aside as %s\n", path.c_str(),
                     aside.c_str());
    else
        std::fprintf(stderr, "tarnwick: damaged settings file %s ignored\n", path.c_str());
}

// Whether a file stamp can be trusted to change with the file: timestamps are coarse, so a file
// changed within the last seconds may still carry the stamp it had before.
bool StampSettled(const TFileStamp &stamp)
{
    constexpr time_t Settle = 2;
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return stamp.Modified.tv_sec + Settle < now.tv_sec;
}

// Brings the cached hive up to date with its file; the caller holds the lock when it can. A
// damaged file is set aside only by the one who may replace it (mayRepair).
TCachedHive &Refresh(const std::string &path, bool mayRepair = true)
{
    TCachedHive &cached = Cache[path];
    const TFileStamp stamp = StampOf(path);
    if (cached.Loaded && cached.Stamp == stamp && (!stamp.Exists || StampSettled(stamp)))
        return cached;
    cached.Unreadable = false;
    cached.Stamp = stamp;
    if (!stamp.Exists) {
        cached.Loaded = true;
        cached.Text.clear();
        cached.Contents = THive();
        return cached;
    }
    std::string text;
    const TReadResult result = ReadWholeFile(path, text);
    if (result == TReadResult::Failed) {
        cached.Loaded = false;
        cached.Unreadable = true;
        cached.Contents = THive();
        return cached;
    }
    if (cached.Loaded && result == TReadResult::Ok && text == cached.Text)
        return cached;
    cached.Loaded = true;
    auto parsed = result == TReadResult::Ok ? THive::Parse(text) : std::nullopt;
    if (parsed) {
        cached.Contents = std::move(*parsed);
        cached.Text = std::move(text);
    } else {
        if (mayRepair)
            SetAside(path);
        cached.Contents = THive();
        // Kept so that a file that could not be moved is not reported again and again.
        cached.Text = std::move(text);
        cached.Stamp = StampOf(path);
    }
    return cached;
}

// An exclusive lock on <hive file>.lock, released when the object goes.
class THiveLock
{
public:
    THiveLock(const std::string &hivePath, mode_t mode)
    {
        const std::string path = hivePath + ".lock";
        fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, mode);
        if (fd < 0) {
            LastErrorText = ErrorText(path, errno);
            return;
        }
        int result;
        do
            result = ::flock(fd, LOCK_EX);
        while (result != 0 && errno == EINTR);
        if (result != 0) {
            LastErrorText = ErrorText(path, errno);
            ::close(fd);
            fd = -1;
        }
    }
    ~THiveLock()
    {
        if (fd >= 0)
            ::close(fd);
    }
    THiveLock(const THiveLock &) = delete;
    THiveLock &operator=(const THiveLock &) = delete;
    bool Held() const { return fd >= 0; }

private:
    int fd = -1;
};

bool WriteHiveFile(const std::string &path, const std::string &text, mode_t mode)
{
    const std::string temp = path + ".tmp";
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    if (fd < 0) {
        LastErrorText = ErrorText(temp, errno);
        return false;
    }
    // Whatever the umask says: the system-wide hives must be readable by every user.
    const bool written = ::fchmod(fd, mode) == 0 && WriteAll(fd, text) && ::fsync(fd) == 0;
    const int error = errno;
    if (::close(fd) != 0 || !written) {
        LastErrorText = ErrorText(temp, written ? errno : error);
        ::unlink(temp.c_str());
        return false;
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        LastErrorText = ErrorText(path, errno);
        ::unlink(temp.c_str());
        return false;
    }
    const std::string dir = path.substr(0, path.rfind('/') + 1);
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

bool MachineWide(Hive hive)
{
    return hive == Hive::LocalMachine || hive == Hive::ClassesRoot;
}

// Whether the hive is the system-wide one alone (the administrator's installation).
bool SystemOnly(Hive hive)
{
    return MachineWide(hive) && MachineScope() == TMachineScope::System;
}

// Whether the system-wide hive lies beneath the process's own (the trainer).
bool Layered(Hive hive)
{
    return MachineWide(hive) && MachineScope() == TMachineScope::Layered;
}

// The file that changes of the hive go to.
std::string ChangedFilePath(Hive hive)
{
    return SystemOnly(hive) ? SystemHiveFilePath(hive) : HiveFilePath(hive);
}

// The hive of a file this process may write, read under its lock.
const THive &ReadLocked(const std::string &path, mode_t lockMode)
{
    // A hive nobody has written yet has no folder; reading it must not create one.
    std::optional<THiveLock> lock;
    if (StampOf(path.substr(0, path.rfind('/'))).Exists)
        lock.emplace(path, lockMode);
    return Refresh(path).Contents;
}

// A system-wide hive as an ordinary user reads it: without its lock, which only its writer may
// create, and whole all the same, as it is only ever replaced by a rename.
const THive &ReadShared(const std::string &path)
{
    return Refresh(path, false).Contents;
}

} // namespace

std::string StoreDirectory()
{
    const char *dir = std::getenv("TARNWICK_REGISTRY_DIR");
    if (dir && *dir)
        return dir;
    const char *config = std::getenv("XDG_CONFIG_HOME");
    std::string base;
    if (config && *config) {
        base = config;
    } else {
        const char *home = std::getenv("HOME");
        base = std::string(home ? home : "") + "/.config";
    }
    return base + "/tarnwick/registry";
}

const char *HiveName(Hive hive)
{
    switch (hive) {
    case Hive::LocalMachine:
        return "HKEY_LOCAL_MACHINE";
    case Hive::ClassesRoot:
        return "HKEY_CLASSES_ROOT";
    case Hive::CurrentUser:
        break;
    }
    return "HKEY_CURRENT_USER";
}

std::string HiveFilePath(Hive hive)
{
    std::string dir = StoreDirectory();
    if (dir.empty() || dir.back() != '/')
        dir += '/';
    return dir + HiveName(hive) + ".reg";
}

std::string SystemHiveFilePath(Hive hive)
{
    return SystemPath(SystemStoreFolder) + '/' + HiveName(hive) + ".reg";
}

void ReadHive(Hive hive, const std::function<void(const THive &)> &read)
{
    std::lock_guard guard(CacheMutex);
    if (!Layered(hive)) {
        read(ReadLocked(ChangedFilePath(hive), SystemOnly(hive) ? SharedFileMode : OwnFileMode));
        return;
    }
    const THive &own = ReadLocked(HiveFilePath(hive), OwnFileMode);
    const THive &system = ReadShared(SystemHiveFilePath(hive));
    if (system.Empty()) {
        read(own);
        return;
    }
    THive merged = system;
    merged.Overlay(own);
    read(merged);
}

bool KeyInSystemLayer(Hive hive, const std::vector<std::string> &names)
{
    if (!Layered(hive))
        return false;
    std::lock_guard guard(CacheMutex);
    return ReadShared(SystemHiveFilePath(hive)).KeyExists(names);
}

bool ChangeHive(Hive hive, const std::function<bool(THive &)> &change)
{
    LastErrorText.clear();
    const std::string path = ChangedFilePath(hive);
    const bool shared = SystemOnly(hive);
    std::lock_guard guard(CacheMutex);
    if (!MakeDirectories(path.substr(0, path.rfind('/')),
                         shared ? SharedFolderMode : OwnFolderMode))
        return false;
    THiveLock lock(path, shared ? SharedFileMode : OwnFileMode);
    if (!lock.Held())
        return false;
    TCachedHive &cached = Refresh(path);
    if (cached.Unreadable)
        return false;
    THive changed = cached.Contents;
    if (!change(changed))
        return false;
    std::string text = changed.Serialize();
    // On failure the file keeps what it held, and so does the cache.
    if (!WriteHiveFile(path, text, shared ? SharedFileMode : OwnFileMode))
        return false;
    cached.Text = std::move(text);
    cached.Contents = std::move(changed);
    cached.Stamp = StampOf(path);
    return true;
}

const std::string &LastError()
{
    return LastErrorText;
}

} // namespace Registry
