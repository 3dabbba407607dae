#include "platform/HelpViewerLibrary.h"

#include "platform/Registry.h"

#include <chm_lib.h>
#include <dlfcn.h>

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QString>

namespace {

constexpr const char *LibraryName = "libchm.so.1";
// A help object is a page, a picture or a map; anything bigger is a damaged length.
constexpr LONGUINT64 MaxObjectSize = 64 * 1024 * 1024;

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

int CollectFile(chmFile *, chmUnitInfo *info, void *context)
{
    static_cast<std::vector<std::string> *>(context)->emplace_back(info->path);
    return CHM_ENUMERATOR_CONTINUE;
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

std::unique_ptr<TChmFile> TChmFile::Open(const std::string &path)
{
    if (!Chm.library || path.empty())
        return nullptr;
    chmFile *handle = Chm.open(path.c_str());
    if (!handle)
        return nullptr;
    return std::unique_ptr<TChmFile>(new TChmFile(handle));
}

TChmFile::TChmFile(void *handle)
    : handle(handle)
{ }

TChmFile::~TChmFile()
{
    if (Chm.library)
        Chm.close(static_cast<chmFile *>(handle));
}

std::optional<std::string> TChmFile::Read(std::string_view objectPath) const
{
    chmUnitInfo info{};
    auto *file = static_cast<chmFile *>(handle);
    if (Chm.resolve(file, std::string(objectPath).c_str(), &info) != CHM_RESOLVE_SUCCESS
        || info.length > MaxObjectSize)
        return std::nullopt;
    std::string bytes(info.length, '\0');
    const auto length = static_cast<LONGINT64>(info.length);
    if (length > 0
        && Chm.retrieve(file, &info, reinterpret_cast<unsigned char *>(bytes.data()), 0, length)
                != length)
        return std::nullopt;
    return bytes;
}

bool TChmFile::Exists(std::string_view objectPath) const
{
    chmUnitInfo info{};
    return Chm.resolve(static_cast<chmFile *>(handle), std::string(objectPath).c_str(), &info)
            == CHM_RESOLVE_SUCCESS;
}

std::vector<std::string> TChmFile::Files() const
{
    std::vector<std::string> names;
    Chm.enumerate(static_cast<chmFile *>(handle), CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES,
                  CollectFile, &names);
    return names;
}
