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

std::string ReplaceAll(std::string text, const std::string &what, const std::string &with)
{
    if (what.empty())
        return text;
    for (size_t pos = text.find(what); pos != std::string::npos;
         pos = text.find(what, pos + with.size()))
        text.replace(pos, what.size(), with);
    return text;
}
