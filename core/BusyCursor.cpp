#include "core/BusyCursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace {
bool Busy = false;
} // namespace

void SetBusyCursor(bool busy)
{
    if (busy == Busy)
        return;
    Busy = busy;
    if (busy)
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else
        QGuiApplication::restoreOverrideCursor();
}

bool BusyCursorShown()
{
    return Busy;
}
