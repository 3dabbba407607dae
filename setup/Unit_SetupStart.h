#pragma once

#include <QString>

namespace Setup {

class ISetupDialogs;

// setup's five windows, created in their fixed order and living until DestroySetupWindows; while
// they live, Enter presses the focused push button.
void CreateSetupWindows(ISetupDialogs &dialogs, const QString &setupFolder);
void DestroySetupWindows();

} // namespace Setup
