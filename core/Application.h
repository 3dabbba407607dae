#pragma once

#include <QApplication>
#include <string>

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

// The application's help file: the local path of the language pack's help file beside the
// program, or "" when there is none.
extern std::string ApplicationHelpFile;
