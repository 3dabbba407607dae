#include "core/HelpFile.h"
#include "platform/HelpViewerLibrary.h"
#include "support/FuzzTarget.h"

#include <QFile>
#include <QTemporaryFile>
#include <map>

// The help reader as the help window's child process runs it, in this process: the checks of what
// the reader library trusts, the library itself on every object, and the parsers of what it gives.
TARNWICK_FUZZ_TARGET(HelpFile)
{
    static const bool bound = [] {
        BindHelpViewer();
        return HelpViewerBound();
    }();
    if (!bound)
        return 0;
    QTemporaryFile file;
    if (!file.open())
        return 0;
    file.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size));
    file.close();

    std::map<std::string, std::string> objects;
    UnpackChm(QFile::encodeName(file.fileName()).toStdString(), [&](const THelpObject &object) {
        if (object.Readable)
            objects[object.Name] = object.Bytes;
        return true;
    });
    const auto system = HelpFile::ParseSystem(objects["/#SYSTEM"]);
    const auto contexts = HelpFile::ParseContextMap(objects["/#IVB"], objects["/#STRINGS"]);
    for (const auto &[context, topic] : contexts)
        HelpFile::ResolveTopic(topic,
                               [&](const std::string &name) { return objects.count(name) != 0; });
    HelpFile::ResolveTopic(system.DefaultTopic,
                           [&](const std::string &name) { return objects.count(name) != 0; });
    std::map<std::string, uint32_t> defines;
    for (const auto &[name, bytes] : objects)
        if (name.ends_with(".h"))
            defines.merge(HelpFile::ParseDefines(bytes));
    HelpFile::ParsePopups(objects["/popups.txt"], defines);
    return 0;
}
