#include "mainwindow/Main.h"

#include "core/Unit_Warnings.h"
#include "helpviewer/HtmlHelp.h"
#include "mainwindow/ApplyLanguage.h"
#include "ui_MainForm.h"

namespace {

// Help contexts of the main window's parts; a menu item without one of its own takes its menu's.
enum TMainHelpContext {
    HelpTopicsHelpContext = 1,
    MainWindowHelpContext = 2000,
    FileMenuHelpContext = 10100,
    EditMenuHelpContext = 10200,
    WordlistMenuHelpContext = 10300,
    ExerciseMenuHelpContext = 10400,
    HelpMenuHelpContext = 10500,
    PopupMenuHelpContext = 10600,
    ToolBarHelpContext = 20000,
};

// There is no language-pack text for it: without a help viewer there is no help to name it either.
constexpr const char *HelpUnavailable = "Help is not available.";

} // namespace

void TMainForm::ApplyHelpContexts()
{
    SetHelpContext(this, MainWindowHelpContext);
    SetHelpContext(ui->MFile, FileMenuHelpContext);
    SetHelpContext(ui->MEdit, EditMenuHelpContext);
    SetHelpContext(ui->MWordlist, WordlistMenuHelpContext);
    SetHelpContext(ui->MExercise, ExerciseMenuHelpContext);
    SetHelpContext(ui->MHelp, HelpMenuHelpContext);
    SetHelpContext(ui->PopupMenu, PopupMenuHelpContext);
    SetHelpContext(ui->ToolBar, ToolBarHelpContext);
    // The level submenus belong to the Exercise menu and also stand in the shortcut menu: opened
    // from there, they carry the shortcut menu's context.
    for (QMenu *submenu : {ui->MITurnOff, ui->MISetQuick, ui->MISetNormal, ui->MISetIntensive}) {
        connect(ui->PopupMenu, &QMenu::aboutToShow, submenu,
                [submenu] { SetHelpContext(submenu, PopupMenuHelpContext); });
        connect(ui->PopupMenu, &QMenu::aboutToHide, submenu,
                [submenu] { SetHelpContext(submenu, 0); });
    }
}

void TMainForm::HookHelp()
{
    if (HelpHooked)
        return;
    HelpHooked = true;
    OldOnHelp
            = HelpDispatcher().SetHandler([this](uint32_t command, uint32_t data, bool &callHelp) {
                  return HelpHandler(command, data, callHelp);
              });
}

void TMainForm::UnhookHelp()
{
    if (!HelpHooked)
        return;
    HelpHooked = false;
    HelpDispatcher().SetHandler(std::move(OldOnHelp));
    OldOnHelp = nullptr;
}

bool TMainForm::HelpHandler(uint32_t Command, uint32_t Data, bool &CallHelp)
{
    CallHelp = false;
    switch (Command) {
    case HELP_CONTEXT:
        if (!HtmlHelpEntry(nullptr, ApplicationHelpFile, HH_HELP_CONTEXT, {Data, {}}))
            ShowError(HelpUnavailable);
        break;
    case HELP_CONTEXTPOPUP:
        ShowHelpPopup(Data, PopupPos);
        break;
    case HELP_SETPOPUP_POS:
        PopupPos = UnpackPopupPos(Data);
        break;
    default:
        CallHelp = true;
        break;
    }
    return true;
}

// Without a help file there is nothing to take the text from.
void TMainForm::ShowHelpPopup(uint32_t Context, QPoint Position)
{
    if (ApplicationHelpFile.empty())
        return;
    HtmlHelpEntry(nullptr, ApplicationHelpFile + "::/popups.txt", HH_DISPLAY_TEXT_POPUP,
                  {Context, Position});
}

void TMainForm::ActHelpExecute()
{
    HelpDispatcher().HelpContext(HelpTopicsHelpContext);
}
