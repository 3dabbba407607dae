#include "setup/Unit_LogFile.h"
#include "support/FuzzTarget.h"

#include <QFile>
#include <QTemporaryFile>

TARNWICK_FUZZ_TARGET(InstallLog)
{
    QTemporaryFile file;
    if (!file.open())
        return 0;
    file.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size));
    file.close();

    TLogReader reader;
    if (!reader.Open(QFile::encodeName(file.fileName()).toStdString()))
        return 0;
    reader.HasStamps();
    if (const auto group = reader.ProgramGroup(); group && group->find('\n') != std::string::npos)
        __builtin_trap();
    for (const TLogItem &item : reader.Section("{program files}"))
        if (item.Name.empty() || (item.StampValid && !item.HasStamp))
            __builtin_trap();
    reader.Section("{program folder files}", 2);
    return 0;
}
