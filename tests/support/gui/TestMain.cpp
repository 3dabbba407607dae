#include "support/TestEnvironment.h"
#include "widgets/Application.h"

// The trainer's windows run under its own application object, as in the program.
int main(int argc, char **argv)
{
    TTestEnvironment environment;
    if (!environment.IsValid())
        return 2;
    TApplication app(argc, argv);
    return RunAllTests(argc, argv);
}
