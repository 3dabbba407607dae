#include "core/ListFont.h"

#include "platform/CodePage.h"

QFont TListFont::toQFont() const
{
    QFont font(CodePage::ToUnicode(Name, CodePage::Default));
    if (Size > 0)
        font.setPointSize(Size);
    return font;
}
