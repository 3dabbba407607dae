#include "platform/AppIcon.h"

#include "platform/SpecialFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <array>

namespace {

constexpr std::array<int, 7> IconSizes{16, 24, 32, 48, 64, 128, 256};

QString Picture(int size)
{
    return QStringLiteral(":/forms/icons/tarnwick-%1.png").arg(size);
}

QString IconFile(int size)
{
    return QStringLiteral("icons/hicolor/%1x%1/apps/").arg(size)
            + QLatin1String(ApplicationIconName) + QStringLiteral(".png");
}

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

QIcon ApplicationIcon()
{
    QIcon icon;
    for (int size : IconSizes)
        icon.addFile(Picture(size), QSize(size, size));
    return icon;
}

QStringList ApplicationIconFiles()
{
    QStringList files;
    for (int size : IconSizes)
        files.push_back(IconFile(size));
    return files;
}

bool InstallApplicationIcon(QString &error)
{
    const QDir data(DesktopDataFolder());
    for (int size : IconSizes) {
        const QByteArray picture = ReadAll(Picture(size));
        const QString path = data.filePath(IconFile(size));
        const QString folder = QFileInfo(path).path();
        if (picture.isEmpty() || ReadAll(path) == picture)
            continue;
        if (!QDir().mkpath(folder)) {
            error = folder + QStringLiteral(": the folder cannot be created");
            return false;
        }
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(picture) != picture.size()
            || !file.commit()) {
            error = path + QStringLiteral(": ") + file.errorString();
            return false;
        }
    }
    return true;
}
