#include "core/LoadHooks.h"

#include <cstdio>

namespace {
TLoadHooks DecliningHooks;
TLoadHooks *Installed = nullptr;
} // namespace

void TLoadHooks::ShowError(const std::string &text)
{
    std::fprintf(stderr, "Tarnwick: %s\n", text.c_str());
}

int TLoadHooks::WarnYesNo(const std::string &)
{
    return 1;
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
