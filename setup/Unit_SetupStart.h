#pragma once

#include <QString>

namespace Setup {

class ISetupDialogs;

// setup's five windows, created in their fixed order and living until DestroySetupWindows.
void CreateSetupWindows(ISetupDialogs &dialogs, const QString &setupFolder);
void DestroySetupWindows();

} // namespace Setup
