#pragma once

#include "core/LoadHooks.h"

// The word-list reader's questions as the program answers them: the sounds of a list of the
// oldest format are converted under the conversion window.
class TProgramLoadHooks : public TLoadHooks
{
public:
    int ConvertList(TWordList &list) override;
};
