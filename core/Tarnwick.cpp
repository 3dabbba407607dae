#include "mainwindow/ProgramStart.h"

#include "core/Application.h"

int main(int argc, char **argv)
{
    TApplication app(argc, argv);
    InitApplication();
    CreateForms();
    const int result = RunMessageLoop();
    DestroyForms();
    return result;
}
