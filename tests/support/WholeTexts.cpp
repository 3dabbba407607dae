#include "support/WholeTexts.h"

#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QStyle>
#include <QStyleOptionGroupBox>

std::vector<std::string> CutTexts(const QWidget &window)
{
    // A window laid out by layouts gets its controls' sizes when it is shown; a hidden one is
    // measured as it will then be.
    if (QLayout *layout = window.layout())
        layout->activate();
    for (const QWidget *child : window.findChildren<QWidget *>())
        if (QLayout *layout = child->layout())
            layout->activate();
    std::vector<std::string> cut;
    auto report = [&](const QWidget &control, const QString &text) {
        cut.push_back(
                (window.objectName() + u'.' + control.objectName() + QStringLiteral(": ") + text)
                        .toStdString());
    };
    for (const QLabel *label : window.findChildren<QLabel *>()) {
        if (label->text().isEmpty() || !label->isVisibleTo(&window))
            continue;
        const bool fits = label->wordWrap() ? label->minimumSizeHint().width() <= label->width()
                        && label->heightForWidth(label->width()) <= label->height()
                                            : label->sizeHint().width() <= label->width();
        if (!fits)
            report(*label, label->text());
    }
    for (const QGroupBox *box : window.findChildren<QGroupBox *>()) {
        if (box->title().isEmpty() || !box->isVisibleTo(&window))
            continue;
        QStyleOptionGroupBox option;
        option.initFrom(box);
        option.text = box->title();
        option.textAlignment = box->alignment();
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        const QRect title = box->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                         QStyle::SC_GroupBoxLabel, box);
        if (title.right() >= box->width())
            report(*box, box->title());
    }
    return cut;
}
