#include "setup/Unit_SetupTexts.h"

#include "core/Unit_LanguagePack.h"
#include "platform/CodePage.h"

#include <QFile>

namespace Setup {

QString SetupText(int number)
{
    QString text = FromBytes(LanguageText(number));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

QString FromBytes(const std::string &bytes)
{
    return CodePage::ToUnicode(bytes, CodePage::Default);
}

bool ToBytes(const QString &text, std::string &bytes)
{
    std::string result;
    if (!CodePage::FromUnicode(text, CodePage::Default, result))
        return false;
    bytes = std::move(result);
    return true;
}

QString FromLocal(const std::string &path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string ToLocal(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}

} // namespace Setup
