#pragma once

#include <QObject>

// Enter and Return press the focused push button in every window, also where the button cannot
// become a dialog's default (outside dialogs, or with auto-default off so that Enter in an editor
// does not press the last button that had the focus). The trainer and the installer install it on
// their application object.
class TEnterPressesButtons : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
