#include "widgets/Application.h"

#include "core/Unit_Warnings.h"

#include <exception>

TApplication::TApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    SetDefaultMessageBox(&DesktopBox);
    installEventFilter(&EnterPressesButtons);
}

TApplication::~TApplication()
{
    SetDefaultMessageBox(nullptr);
}

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        ShowError(error);
    } catch (...) {
        ShowError("Unknown error");
    }
    return false;
}
