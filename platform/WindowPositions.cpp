#include "platform/WindowPositions.h"

#include <QGuiApplication>

namespace {

bool DesktopReportsPositions()
{
    return QGuiApplication::platformName() != QLatin1String("wayland");
}

TPositionsQuery Query = DesktopReportsPositions;

} // namespace

bool WindowPositionsReported()
{
    return Query();
}

TPositionsQuery SetPositionsQuery(TPositionsQuery query)
{
    const TPositionsQuery previous = Query;
    Query = query ? query : DesktopReportsPositions;
    return previous;
}
