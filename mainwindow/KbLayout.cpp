#include "mainwindow/KbLayout.h"

#include <QVariant>
#include <QWidget>

namespace {
constexpr const char *LayoutProperty = "KbLayout";
} // namespace

void SetKbLayout(QWidget &edit, TKbLayoutHandle layout)
{
    edit.setProperty(LayoutProperty, QVariant::fromValue<qint64>(layout));
}

TKbLayoutHandle KbLayoutOf(const QWidget &edit)
{
    return static_cast<TKbLayoutHandle>(edit.property(LayoutProperty).value<qint64>());
}
