#include "platform/Beep.h"

#include <QApplication>

namespace {

// The desktop has one bell; both kinds ring it.
void DesktopBeep(TBeepKind)
{
    QApplication::beep();
}

TBeepHandler Handler = DesktopBeep;

} // namespace

void PlatformBeep(TBeepKind kind)
{
    Handler(kind);
}

TBeepHandler SetBeepHandler(TBeepHandler handler)
{
    const TBeepHandler previous = Handler;
    Handler = handler ? handler : DesktopBeep;
    return previous;
}
