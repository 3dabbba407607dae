#pragma once

#include <QApplication>

// The trainer's application object. A failure of the file layer that an event handler lets
// through is shown by the error presenter and the program goes on: no exception crosses the
// event loop.
class TApplication : public QApplication
{
    Q_OBJECT

public:
    TApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
};
