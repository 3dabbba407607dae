#include "setup/Unit_SetupTexts.h"

#include "core/Unit_LanguagePack.h"
#include "platform/CodePage.h"

#include <QFile>

namespace Setup {

const std::string &SetupBytes(TSetupEntry entry)
{
    return LanguageText(static_cast<int>(entry));
}

QString SetupText(TSetupEntry entry)
{
    QString text = DecodeText(SetupBytes(entry));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
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
