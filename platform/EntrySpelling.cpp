#include "platform/EntrySpelling.h"

#include <QFile>
#include <QString>
#include <cstring>
#include <dirent.h>
#include <memory>
#include <sys/stat.h>

std::optional<TFileIdentity> FileIdentity(const std::string &path)
{
    struct stat info
    { };
    if (::stat(path.c_str(), &info) != 0)
        return std::nullopt;
    return TFileIdentity{info.st_dev, info.st_ino};
}

std::string WithEntrySpelling(const std::string &path, const TIdentityQuery &identity)
{
    // The folder part keeps its separator, so that the entry's name simply follows it.
    const size_t nameStart = path.rfind('/') + 1;
    const std::string folder = path.substr(0, nameStart);
    const std::string name = path.substr(nameStart);
    const std::optional<TFileIdentity> wanted = identity(path);
    if (name.empty() || !wanted)
        return path;
    const std::unique_ptr<DIR, int (*)(DIR *)> dir(::opendir(folder.empty() ? "." : folder.c_str()),
                                                   ::closedir);
    if (!dir)
        return path;
    const QString decodedName = QFile::decodeName(QByteArray::fromStdString(name));
    std::optional<std::string> spelled;
    while (const dirent *entry = ::readdir(dir.get())) {
        if (std::strcmp(entry->d_name, name.c_str()) == 0)
            return path;
        if (spelled
            || QFile::decodeName(entry->d_name).compare(decodedName, Qt::CaseInsensitive) != 0)
            continue;
        const std::string candidate = folder + entry->d_name;
        if (identity(candidate) == wanted)
            spelled = candidate;
    }
    return spelled.value_or(path);
}
