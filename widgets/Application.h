#pragma once

#include "platform/ButtonKeys.h"
#include "widgets/MessageDialog.h"

#include <QApplication>

// The trainer's application object. A failure of the file layer that an event handler lets
// through is shown by the error presenter and the program goes on: no exception crosses the
// event loop. While it lives, messages are asked in the desktop's dialogs and Enter presses the
// focused push button.
class TApplication : public QApplication
{
    Q_OBJECT

public:
    TApplication(int &argc, char **argv);
    ~TApplication() override;

    bool notify(QObject *receiver, QEvent *event) override;

private:
    TDesktopMessageBox DesktopBox;
    TEnterPressesButtons EnterPressesButtons;
};
