#include "setup/Unit_SetupPaths.h"

#include "platform/CodePage.h"

#include <QFile>

std::string LocalFileName(const std::string &storedName)
{
    QString name = CodePage::ToUnicode(storedName, CodePage::Default);
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QFile::encodeName(name).toStdString();
}

std::string PathText(const std::string &localPath)
{
    return CodePage::FromUnicodeLossy(QFile::decodeName(QByteArray::fromStdString(localPath)),
                                      CodePage::Default);
}

std::string FileFailure(const std::string &what, const std::string &localPath,
                        const QString &reason)
{
    return what + " \"" + PathText(localPath)
            + "\": " + CodePage::FromUnicodeLossy(reason, CodePage::Default) + ".";
}
