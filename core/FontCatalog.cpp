#include "core/FontCatalog.h"

namespace {
IFontCatalog *Installed = nullptr;
}

IFontCatalog *FontCatalog()
{
    return Installed;
}

void SetFontCatalog(IFontCatalog *catalog)
{
    Installed = catalog;
}
