#include "core/Unit_LanguagePack.h"
#include "support/FuzzTarget.h"

#include <QFile>
#include <QTemporaryFile>

// The loaders read files by name, so every input goes through a temporary file.
TARNWICK_FUZZ_TARGET(LanguagePack)
{
    QTemporaryFile file;
    if (!file.open())
        return 0;
    file.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size));
    file.close();
    const std::string path = QFile::encodeName(file.fileName()).toStdString();

    TLanguagePack pack;
    if (pack.LoadFile(path) && pack.Entries.size() != static_cast<size_t>(MainEntryCount))
        __builtin_trap();
    if (pack.LoadSetupFile(path) && pack.Entries.size() != static_cast<size_t>(SetupEntryCount))
        __builtin_trap();
    IsLanguagePack(path);
    return 0;
}
