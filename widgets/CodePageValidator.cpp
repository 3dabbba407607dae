#include "widgets/CodePageValidator.h"

#include "platform/CodePage.h"

#include <string>

TCodePageValidator::TCodePageValidator(int codePage, size_t maxBytes, QObject *parent)
    : QValidator(parent)
    , Page(codePage)
    , Limit(maxBytes)
{ }

void TCodePageValidator::SetCodePage(int codePage)
{
    if (codePage == Page)
        return;
    Page = codePage;
    emit changed();
}

QValidator::State TCodePageValidator::validate(QString &input, int &) const
{
    std::string bytes;
    if (!CodePage::FromUnicode(input, Page, bytes) || bytes.size() > Limit)
        return Invalid;
    return Acceptable;
}
