#include "kbtool/KeyboardShape.h"

#include <QPainter>

namespace {

const QColor LabelColor(0, 128, 128);
constexpr int CornerRadius = 6;

} // namespace

TKeyboardShape::TKeyboardShape(QWidget *parent)
    : QWidget(parent)
{
    QPalette shape = palette();
    shape.setColor(QPalette::WindowText, LabelColor);
    setPalette(shape);
}

void TKeyboardShape::SetLabels(std::vector<TLabel> newLabels)
{
    labels = std::move(newLabels);
    update();
}

void TKeyboardShape::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawRoundedRect(rect(), CornerRadius, CornerRadius);
    painter.setPen(LabelColor);
    for (const TLabel &label : labels)
        painter.drawText(label.Rect, Qt::AlignCenter | Qt::TextWordWrap, label.Text);
}
