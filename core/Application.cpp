#include "core/Application.h"

#include "core/Unit_Warnings.h"

#include <exception>

std::string ApplicationHelpFile;

TApplication::TApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{ }

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        ShowError(error.what());
    } catch (...) {
        ShowError("Unknown error");
    }
    return false;
}
