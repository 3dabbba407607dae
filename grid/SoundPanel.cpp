#include "grid/SoundPanel.h"

#include <QHBoxLayout>
#include <QHideEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QToolButton>

namespace {

constexpr int IconSize = 16;
constexpr int DotMargin = 3;

// The style has no record picture: a red dot.
QIcon RecordIcon()
{
    QPixmap dot(IconSize, IconSize);
    dot.fill(Qt::transparent);
    QPainter painter(&dot);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(Qt::red));
    painter.drawEllipse(dot.rect().adjusted(DotMargin, DotMargin, -DotMargin, -DotMargin));
    return QIcon(dot);
}

} // namespace

TSoundPanel::TSoundPanel(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("SoundPanel"));
    setFocusPolicy(Qt::StrongFocus);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const std::array<std::pair<const char *, QIcon>, 3> buttons{{
            {"PlayButton", style()->standardIcon(QStyle::SP_MediaPlay)},
            {"StopButton", style()->standardIcon(QStyle::SP_MediaStop)},
            {"RecordButton", RecordIcon()},
    }};
    for (size_t i = 0; i < buttons.size(); ++i) {
        auto *button = new QToolButton(this);
        button->setObjectName(QLatin1String(buttons[i].first));
        button->setIcon(buttons[i].second);
        button->setCheckable(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoRaise(true);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        layout->addWidget(button);
        Buttons[i] = button;
    }
    hide();
}

void TSoundPanel::SetStates(bool play, bool playDown, bool stop, bool record, bool recordDown)
{
    Button(sbPlay)->setEnabled(play);
    Button(sbPlay)->setChecked(playDown);
    Button(sbStop)->setEnabled(stop);
    Button(sbStop)->setChecked(false);
    Button(sbRecord)->setEnabled(record);
    Button(sbRecord)->setChecked(recordDown);
}

void TSoundPanel::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (!event->spontaneous() && OnExit)
        OnExit();
}

void TSoundPanel::keyPressEvent(QKeyEvent *event)
{
    if (OnKeyDown && OnKeyDown(*event))
        return;
    QWidget::keyPressEvent(event);
}
