#include "widgets/MessageDialog.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace {

// Room beside the title for the window frame's buttons, so the title is never cut.
constexpr int TitleBarButtonsWidth = 120;

// Pack texts break lines with CR LF; labels want a bare line feed.
QString ShownText(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

QStyle::StandardPixmap IconOf(TMessageIcon icon)
{
    switch (icon) {
    case TMessageIcon::Confirmation:
        return QStyle::SP_MessageBoxQuestion;
    case TMessageIcon::Information:
        return QStyle::SP_MessageBoxInformation;
    case TMessageIcon::Stop:
        return QStyle::SP_MessageBoxCritical;
    case TMessageIcon::Warning:
    case TMessageIcon::None:
        break;
    }
    return QStyle::SP_MessageBoxWarning;
}

} // namespace

TMessageDialog::TMessageDialog(const TMessageRequest &request, QWidget *parent)
    : QDialog(parent)
    , message(ShownText(request.Text))
    , escapeButton(request.EscapeButton)
    , pressed(request.EscapeButton)
{
    setWindowTitle(ShownText(request.Title));

    auto *layout = new QGridLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    if (request.Icon != TMessageIcon::None) {
        auto *icon = new QLabel(this);
        icon->setObjectName(QStringLiteral("Image"));
        const int extent = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
        icon->setPixmap(style()->standardIcon(IconOf(request.Icon), nullptr, this).pixmap(extent));
        layout->addWidget(icon, 0, 0, Qt::AlignTop);
    }

    auto *text = new QLabel(message, this);
    text->setObjectName(QStringLiteral("Message"));
    text->setTextFormat(Qt::PlainText);
    text->setWordWrap(true);
    layout->addWidget(text, 0, 1);
    // A short message under a long title: the dialog grows to show the whole title.
    layout->setColumnMinimumWidth(1,
                                  QFontMetrics(QApplication::font("QMdiSubWindowTitleBar"))
                                                  .horizontalAdvance(windowTitle())
                                          + TitleBarButtonsWidth);

    auto *row = new QHBoxLayout;
    row->addStretch();
    for (qsizetype i = 0; i < request.Buttons.size(); ++i) {
        auto *button = new QPushButton(ShownText(request.Buttons[i]), this);
        const int index = static_cast<int>(i);
        connect(button, &QPushButton::clicked, this, [this, index] {
            pressed = index;
            accept();
        });
        buttons.append(button);
        row->addWidget(button);
    }
    row->addStretch();
    layout->addLayout(row, 1, 0, 1, 2);

    if (!buttons.isEmpty()) {
        buttons.first()->setDefault(true);
        buttons.first()->setFocus();
    }
}

QString TMessageDialog::Message() const
{
    return message;
}

void TMessageDialog::reject()
{
    pressed = escapeButton;
    QDialog::reject();
}

int TDesktopMessageBox::Show(const TMessageRequest &request)
{
    TMessageDialog dialog(request, QApplication::activeWindow());
    dialog.exec();
    return dialog.Pressed();
}
