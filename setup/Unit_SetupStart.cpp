#include "setup/Unit_SetupStart.h"

#include "core/Unit_LanguagePack.h"
#include "platform/ButtonKeys.h"
#include "setup/SetupMain.h"
#include "setup/Unit_ExitForm.h"
#include "setup/Unit_Extract.h"
#include "setup/Unit_FullScreenForm.h"
#include "setup/Unit_Overwrite.h"

#include <QCoreApplication>

namespace Setup {

namespace {

// Lives as long as the windows; its end takes it off the application.
TEnterPressesButtons *EnterPressesButtons = nullptr;

} // namespace

void CreateSetupWindows(ISetupDialogs &dialogs, const QString &setupFolder)
{
    EnterPressesButtons = new TEnterPressesButtons;
    QCoreApplication::instance()->installEventFilter(EnterPressesButtons);
    MainForm = new TMainForm(dialogs, setupFolder);
    ExitForm = new TExitForm;
    FullScreenForm = new TFullScreenForm;
    ExtractForm = new TExtractForm;
    OverwriteForm = new TOverwriteForm;
}

void DestroySetupWindows()
{
    delete OverwriteForm;
    OverwriteForm = nullptr;
    delete ExtractForm;
    ExtractForm = nullptr;
    delete FullScreenForm;
    FullScreenForm = nullptr;
    delete ExitForm;
    ExitForm = nullptr;
    delete MainForm;
    MainForm = nullptr;
    delete LanguagePack;
    LanguagePack = nullptr;
    delete EnterPressesButtons;
    EnterPressesButtons = nullptr;
}

} // namespace Setup
