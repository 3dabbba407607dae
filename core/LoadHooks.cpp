#include "core/LoadHooks.h"

#include "core/Unit_Warnings.h"

namespace {
TLoadHooks DecliningHooks;
TLoadHooks *Installed = nullptr;
} // namespace

void TLoadHooks::ShowError(const QString &text)
{
    ::ShowError(text);
}

int TLoadHooks::WarnYesNo(const std::string &text)
{
    return ::WarnYesNo(text);
}

int TLoadHooks::ChangeFont(int &, std::string &)
{
    return 2;
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
