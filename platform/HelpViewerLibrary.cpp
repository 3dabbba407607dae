#include "platform/HelpViewerLibrary.h"

#include "platform/Registry.h"

#include "platform/ChmCheck.h"
#include "platform/ReadOpen.h"

#include <cerrno>
#include <chm_lib.h>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QString>

namespace {

constexpr const char *LibraryName = "libchm.so.1";
// A help object is a page, a picture or a map; anything bigger is a damaged length, and so is a
// file that holds more than this in all.
constexpr LONGUINT64 MaxObjectSize = 16 * 1024 * 1024;
constexpr uint64_t MaxArchiveSize = 64 * 1024 * 1024;
// Names (at most 512 bytes in the library), lengths and the end mark of the child's report.
constexpr int NameLengthBytes = 4;
constexpr int LengthBytes = 8;
constexpr uint64_t EndMark = 0xFFFFFFFF;
constexpr size_t MaxReportSize = MaxArchiveSize + 16 * 1024 * 1024;
constexpr size_t ReadChunk = 64 * 1024;
// Reading a help file of this program takes milliseconds; a reader still busy after this is
// caught in a loop.
constexpr std::chrono::seconds ChildTimeLimit{10};

struct TChmEntries
{
    void *library = nullptr;
    decltype(&chm_open) open = nullptr;
    decltype(&chm_close) close = nullptr;
    decltype(&chm_resolve_object) resolve = nullptr;
    decltype(&chm_retrieve_object) retrieve = nullptr;
    decltype(&chm_enumerate) enumerate = nullptr;
};

TChmEntries Chm;

bool FileExists(const std::string &path)
{
    return !path.empty() && QFileInfo(QFile::decodeName(QByteArray::fromStdString(path))).isFile();
}

template<typename Entry> bool Take(void *library, const char *name, Entry &entry)
{
    entry = reinterpret_cast<Entry>(dlsym(library, name));
    return entry != nullptr;
}

std::vector<std::string> SearchFolders()
{
    std::vector<std::string> folders;
    const QByteArray libraryPath = qgetenv("LD_LIBRARY_PATH");
    for (const QByteArray &folder : libraryPath.split(':'))
        if (!folder.isEmpty())
            folders.push_back(folder.toStdString());
    // Qt lies in the multiarch folder, which is where a packaged reader would be too.
    folders.push_back(
            QFile::encodeName(QLibraryInfo::path(QLibraryInfo::LibrariesPath)).toStdString());
    folders.emplace_back("/usr/lib");
    folders.emplace_back("/usr/local/lib");
    return folders;
}

int CollectUnit(chmFile *, chmUnitInfo *info, void *context)
{
    static_cast<std::vector<chmUnitInfo> *>(context)->push_back(*info);
    return CHM_ENUMERATOR_CONTINUE;
}

std::string LowerCase(std::string_view text)
{
    std::string lower(text);
    for (char &c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

// The library's "special" objects: "#SYSTEM", "$WWKeywordLinks" and the like at the root.
bool IsSpecialName(const std::string &name)
{
    return name.size() > 1 && name[0] == '/' && (name[1] == '#' || name[1] == '$');
}

// The child's report: per object its name's length, the name, whether it was readable and the
// length of its bytes, then the bytes; an end mark closes a complete report.
void PutNumber(std::string &out, uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>(value >> (8 * i) & 0xFF));
}

// The file as it is now, for the checks; a help file bigger than all it may hold is refused.
bool ReadWholeFile(const std::string &path, std::string &bytes)
{
    const int fd = OpenRegularFileForReading(path);
    if (fd < 0)
        return false;
    const int error = ReadToEnd(fd, MaxArchiveSize, bytes);
    ::close(fd);
    return error == 0;
}

[[noreturn]] void RunChild(int fd, int out)
{
    // A fault here must leave no core file behind.
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    const std::string path = "/proc/self/fd/" + std::to_string(fd);
    bool written = true;
    const THelpFailure failure = UnpackChm(path, [&](const THelpObject &object) {
        std::string record;
        PutNumber(record, object.Name.size(), NameLengthBytes);
        record += object.Name;
        PutNumber(record, object.Readable ? 1 : 0, 1);
        PutNumber(record, object.Bytes.size(), LengthBytes);
        record += object.Bytes;
        written = WriteAll(out, record);
        return written;
    });
    std::string end;
    PutNumber(end, EndMark, NameLengthBytes);
    PutNumber(end, static_cast<uint64_t>(failure), 1);
    _exit(written && WriteAll(out, end) ? EXIT_SUCCESS : EXIT_FAILURE);
}

// Everything the child writes, until it closes its end, gives more than the limit or runs out of
// time.
bool ReadReport(int in, std::string &report)
{
    const auto deadline = std::chrono::steady_clock::now() + ChildTimeLimit;
    std::vector<char> buffer(ReadChunk);
    while (true) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        pollfd wait{in, POLLIN, 0};
        const int ready = poll(&wait, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return false;
        const ssize_t got = ::read(in, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        if (report.size() + static_cast<size_t>(got) > MaxReportSize)
            return false;
        report.append(buffer.data(), static_cast<size_t>(got));
    }
}

class TReportReader
{
public:
    explicit TReportReader(const std::string &report)
        : report(report)
    { }
    bool Number(uint64_t &value, int bytes)
    {
        if (report.size() - at < static_cast<size_t>(bytes))
            return false;
        value = 0;
        for (int i = 0; i < bytes; ++i)
            value |= uint64_t{static_cast<unsigned char>(report[at + i])} << (8 * i);
        at += static_cast<size_t>(bytes);
        return true;
    }
    bool Bytes(std::string &out, uint64_t length)
    {
        if (report.size() - at < length)
            return false;
        out.assign(report, at, length);
        at += length;
        return true;
    }
    bool AtEnd() const { return at == report.size(); }

private:
    const std::string &report;
    size_t at = 0;
};

THelpFailure ParseReport(const std::string &report, std::map<std::string, THelpObject> &objects)
{
    TReportReader reader(report);
    while (true) {
        uint64_t nameLength = 0;
        if (!reader.Number(nameLength, NameLengthBytes))
            return THelpFailure::ReaderFailed;
        if (nameLength == EndMark) {
            uint64_t failure = 0;
            if (!reader.Number(failure, 1) || !reader.AtEnd()
                || failure > static_cast<uint64_t>(THelpFailure::ReaderFailed))
                return THelpFailure::ReaderFailed;
            return static_cast<THelpFailure>(failure);
        }
        THelpObject object;
        uint64_t readable = 0;
        uint64_t length = 0;
        if (!reader.Bytes(object.Name, nameLength) || !reader.Number(readable, 1)
            || !reader.Number(length, LengthBytes) || !reader.Bytes(object.Bytes, length))
            return THelpFailure::ReaderFailed;
        object.Readable = readable != 0;
        objects[LowerCase(object.Name)] = std::move(object);
    }
}

THelpFailure ReadInChild(int fd, std::map<std::string, THelpObject> &objects)
{
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0)
        return THelpFailure::ReaderFailed;
    const pid_t child = fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        RunChild(fd, pipeFds[1]);
    }
    ::close(pipeFds[1]);
    if (child < 0) {
        ::close(pipeFds[0]);
        return THelpFailure::ReaderFailed;
    }
    std::string report;
    const bool complete = ReadReport(pipeFds[0], report);
    ::close(pipeFds[0]);
    if (!complete)
        kill(child, SIGKILL);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) { }
    if (!complete || !WIFEXITED(status) || WEXITSTATUS(status) != EXIT_SUCCESS)
        return THelpFailure::ReaderFailed;
    const THelpFailure failure = ParseReport(report, objects);
    if (failure != THelpFailure::None)
        objects.clear();
    return failure;
}

} // namespace

std::string HelpViewerPath()
{
    TRegistry registry(Registry::Hive::ClassesRoot);
    const std::string stored
            = registry.OpenKeyReadOnly(HelpViewerKey) ? registry.ReadString("").value_or("") : "";
    if (!stored.empty())
        return FileExists(stored) ? stored : std::string();
    for (const std::string &folder : SearchFolders()) {
        const std::string path = folder + "/" + LibraryName;
        if (FileExists(path))
            return path;
    }
    return {};
}

void BindHelpViewer()
{
    if (Chm.library)
        return;
    const std::string path = HelpViewerPath();
    if (path.empty())
        return;
    void *library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library)
        return;
    TChmEntries entries;
    entries.library = library;
    if (Take(library, "chm_open", entries.open) && Take(library, "chm_close", entries.close)
        && Take(library, "chm_resolve_object", entries.resolve)
        && Take(library, "chm_retrieve_object", entries.retrieve)
        && Take(library, "chm_enumerate", entries.enumerate))
        Chm = entries;
    else
        dlclose(library);
}

void ReleaseHelpViewer()
{
    if (!Chm.library)
        return;
    dlclose(Chm.library);
    Chm = {};
}

bool HelpViewerBound()
{
    return Chm.library != nullptr;
}

THelpFailure UnpackChm(const std::string &path,
                       const std::function<bool(const THelpObject &)> &take)
{
    if (!Chm.library)
        return THelpFailure::Unbound;
    std::string bytes;
    if (!ReadWholeFile(path, bytes))
        return THelpFailure::NotOpened;
    if (!ChmIsSafeToOpen(bytes))
        return THelpFailure::Damaged;
    chmFile *file = Chm.open(path.c_str());
    if (!file)
        return THelpFailure::Damaged;
    std::vector<chmUnitInfo> units;
    Chm.enumerate(file, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_SPECIAL | CHM_ENUMERATE_FILES,
                  CollectUnit, &units);
    uint64_t total = 0;
    for (chmUnitInfo &unit : units) {
        THelpObject object;
        object.Name = unit.path;
        total += unit.length;
        // A plain object longer than the file is a damaged length.
        const bool plausible = unit.space == CHM_COMPRESSED || unit.length <= bytes.size();
        if (plausible && unit.length <= MaxObjectSize && total <= MaxArchiveSize) {
            object.Bytes.assign(unit.length, '\0');
            const auto length = static_cast<LONGINT64>(unit.length);
            object.Readable = length == 0
                    || Chm.retrieve(file, &unit,
                                    reinterpret_cast<unsigned char *>(object.Bytes.data()), 0,
                                    length)
                            == length;
            if (!object.Readable)
                object.Bytes.clear();
        }
        if (!take(object))
            break;
    }
    Chm.close(file);
    return THelpFailure::None;
}

std::unique_ptr<TChmFile> TChmFile::Open(const std::string &path, THelpFailure *failure)
{
    THelpFailure result = THelpFailure::None;
    std::unique_ptr<TChmFile> file(new TChmFile);
    if (!Chm.library || path.empty())
        result = THelpFailure::Unbound;
    else {
        const int fd = OpenRegularFileForReading(path);
        if (fd < 0)
            result = THelpFailure::NotOpened;
        else {
            result = ReadInChild(fd, file->objects);
            ::close(fd);
        }
    }
    if (failure)
        *failure = result;
    return result == THelpFailure::None ? std::move(file) : nullptr;
}

TChmFile::~TChmFile() = default;

std::optional<std::string> TChmFile::Read(std::string_view objectPath) const
{
    const auto found = objects.find(LowerCase(objectPath));
    if (found == objects.end() || !found->second.Readable)
        return std::nullopt;
    return found->second.Bytes;
}

bool TChmFile::Exists(std::string_view objectPath) const
{
    return objects.count(LowerCase(objectPath)) != 0;
}

std::vector<std::string> TChmFile::Files() const
{
    std::vector<std::string> names;
    for (const auto &[key, object] : objects)
        if (!IsSpecialName(object.Name))
            names.push_back(object.Name);
    return names;
}
