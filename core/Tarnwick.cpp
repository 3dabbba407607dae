#include "mainwindow/ProgramStart.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    InitApplication();
    CreateForms();
    const int result = RunMessageLoop();
    DestroyForms();
    return result;
}
