#include "grid/SoundGlyph.h"

#include <QPainter>
#include <QPolygon>

QPixmap SoundGlyph(const QColor &color)
{
    QPixmap glyph(16, 16);
    glyph.fill(Qt::transparent);
    QPainter painter(&glyph);
    painter.setPen(color);
    painter.setBrush(color);
    painter.drawPolygon(QPolygon(
            {QPoint(2, 6), QPoint(5, 6), QPoint(9, 2), QPoint(9, 13), QPoint(5, 9), QPoint(2, 9)}));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRect(7, 5, 5, 6), -60 * 16, 120 * 16);
    painter.drawArc(QRect(7, 2, 8, 12), -60 * 16, 120 * 16);
    return glyph;
}
