#include "platform/AppIcon.h"
#include "platform/Translations.h"
#include "setup/SetupMain.h"
#include "setup/Unit_SetupDialogs.h"
#include "setup/Unit_SetupStart.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Setup"));
    InstallToolkitTranslations(app);
    QApplication::setWindowIcon(ApplicationIcon());
    Setup::TDesktopDialogs dialogs;
    Setup::CreateSetupWindows(dialogs, QCoreApplication::applicationDirPath());
    QObject::connect(Setup::MainForm, &QDialog::finished, &app, &QCoreApplication::quit);
    Setup::MainForm->show();
    const int result = app.exec();
    Setup::DestroySetupWindows();
    return result;
}
