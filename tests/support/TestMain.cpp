#include "support/TestEnvironment.h"

#include <QApplication>

// The core, platform, installer and fuzz tests need widgets for the installer's windows and the
// desktop message dialog, but nothing of the trainer's windows.
int main(int argc, char **argv)
{
    TTestEnvironment environment;
    if (!environment.IsValid())
        return 2;
    QApplication app(argc, argv);
    return RunAllTests(argc, argv);
}
