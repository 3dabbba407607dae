#include "platform/AppIcon.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <array>

namespace {

constexpr std::array<int, 7> IconSizes{16, 24, 32, 48, 64, 128, 256};

QString Picture(int size)
{
    return QStringLiteral(":/forms/icons/tarnwick-%1.png").arg(size);
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

bool InstallApplicationIcon(QString &error)
{
    const QString theme = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
            + QStringLiteral("/icons/hicolor/");
    for (int size : IconSizes) {
        const QByteArray picture = ReadAll(Picture(size));
        const QString folder = theme + QStringLiteral("%1x%1/apps").arg(size);
        const QString path
                = folder + QLatin1Char('/') + QLatin1String(ApplicationIconName) + ".png";
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
