#include "platform/FontCatalog.h"

#include "platform/FontConfigCatalog.h"

namespace {
IFontCatalog *Installed = nullptr;
}

IFontCatalog *FontCatalog()
{
    static TFontConfigCatalog system;
    return Installed ? Installed : &system;
}

void SetFontCatalog(IFontCatalog *catalog)
{
    Installed = catalog;
}
