#include "sound/SoundTexts.h"

#include "sound/SoundFiles.h"

#include <QDir>

namespace {

QString DeviceText(const char *what, const TSoundDeviceFailure &failure)
{
    return QStringLiteral("The sound device \"%1\" cannot %2: %3")
            .arg(QString::fromStdString(failure.Device), QString::fromLatin1(what),
                 QString::fromStdString(failure.Reason));
}

} // namespace

QString CannotRecordText(const TSoundDeviceFailure &failure)
{
    return DeviceText("record", failure);
}

QString CannotPlayText(const TSoundDeviceFailure &failure)
{
    return DeviceText("play", failure);
}

QString CannotCopySoundText(const std::string &fileName, const QString &reason)
{
    return QStringLiteral("The sound \"%1\" could not be copied: %2")
            .arg(QDir::toNativeSeparators(FileNameOf(fileName)), reason);
}

QString SoundOutsideStoreText()
{
    return QStringLiteral("The word's sound lies outside the sound store and cannot be played");
}
