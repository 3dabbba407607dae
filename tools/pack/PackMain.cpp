#include "platform/CodePage.h"
#include "tools/pack/Packer.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <cstdio>

// tarnwick_pack CAPACITY FOLDER NAME=FILE...: writes the data volumes of the files into FOLDER.
// NAME is the file's name in the install folder, with "\" between folders.
int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: tarnwick_pack CAPACITY FOLDER NAME=FILE...\n");
        return 2;
    }
    bool ok = false;
    const qint64 capacity = args[1].toLongLong(&ok);
    if (!ok) {
        std::fprintf(stderr, "tarnwick_pack: bad capacity\n");
        return 2;
    }
    std::vector<TPackItem> items;
    for (qsizetype i = 3; i < args.size(); ++i) {
        const qsizetype split = args[i].indexOf(QLatin1Char('='));
        std::string name;
        if (split <= 0 || !CodePage::FromUnicode(args[i].left(split), CodePage::Default, name)) {
            std::fprintf(stderr, "tarnwick_pack: bad item %s\n", qPrintable(args[i]));
            return 2;
        }
        items.push_back({name, QFile::encodeName(args[i].mid(split + 1)).toStdString()});
    }
    std::string error;
    const int volumes
            = PackVolumes(items, capacity, QFile::encodeName(args[2]).toStdString(), error);
    if (volumes == 0) {
        std::fprintf(stderr, "tarnwick_pack: %s\n", error.c_str());
        return 1;
    }
    std::printf("tarnwick_pack: %d volume(s)\n", volumes);
    return 0;
}
