#include "core/LoadHooks.h"

#include "core/ModalResult.h"
#include "core/Unit_Warnings.h"

#include <utility>

namespace {
TLoadHooks DecliningHooks;
TLoadHooks *Installed = nullptr;
TChangeFontDialog ChangeFontDialog;
} // namespace

void TLoadHooks::ShowError(const QString &text)
{
    ::ShowError(text);
}

int TLoadHooks::WarnYesNo(const std::string &text)
{
    return ::WarnYesNo(text);
}

int TLoadHooks::ChangeFont(int &charsetIndex, std::string &fontName)
{
    return ChangeFontDialog ? ChangeFontDialog(charsetIndex, fontName) : mrCancel;
}

void SetChangeFontDialog(TChangeFontDialog dialog)
{
    ChangeFontDialog = std::move(dialog);
}

int TLoadHooks::ConvertList(TWordList &)
{
    return 3;
}

TLoadHooks &LoadHooks()
{
    return Installed ? *Installed : DecliningHooks;
}

void SetLoadHooks(TLoadHooks *hooks)
{
    Installed = hooks;
}
