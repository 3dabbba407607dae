#include "widgets/UpDown.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

TUpDown::TUpDown(QWidget *parent)
    : QWidget(parent)
    , Up(new QToolButton(this))
    , Down(new QToolButton(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QToolButton *button : {Up, Down}) {
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        layout->addWidget(button);
    }
    Up->setObjectName(QStringLiteral("UpButton"));
    Down->setObjectName(QStringLiteral("DownButton"));
    Up->setArrowType(Qt::UpArrow);
    Down->setArrowType(Qt::DownArrow);
    connect(Up, &QToolButton::clicked, this, [this] { StepBy(1); });
    connect(Down, &QToolButton::clicked, this, [this] { StepBy(-1); });
}

void TUpDown::SetAssociate(QLineEdit *edit)
{
    if (Edit)
        Edit->removeEventFilter(this);
    Edit = edit;
    if (Edit)
        Edit->installEventFilter(this);
}

bool TUpDown::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Edit && event->type() == QEvent::KeyPress && isEnabled()) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            StepBy(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TUpDown::SetMin(int value)
{
    SetRange(value, std::max(value, Maximum));
}

void TUpDown::SetMax(int value)
{
    SetRange(std::min(Minimum, value), value);
}

void TUpDown::SetRange(int min, int max)
{
    Minimum = min;
    Maximum = std::max(min, max);
    Pos = Clamped(Pos);
}

void TUpDown::SetIncrement(int value)
{
    Step = value;
}

void TUpDown::SetPosition(int value)
{
    Pos = Clamped(value);
    if (Edit)
        Edit->setText(QString::number(Pos));
    emit PositionChanged(Pos);
}

void TUpDown::StepBy(int steps)
{
    const long long next
            = static_cast<long long>(StartValue()) + static_cast<long long>(steps) * Step;
    const long long bounded = std::clamp<long long>(next, Minimum, Maximum);
    SetPosition(static_cast<int>(bounded));
}

int TUpDown::Clamped(int value) const
{
    return std::clamp(value, Minimum, Maximum);
}

int TUpDown::StartValue() const
{
    if (!Edit)
        return Pos;
    bool ok = false;
    const int value = Edit->text().trimmed().toInt(&ok);
    return ok ? value : Pos;
}
