#pragma once

class QCoreApplication;

// The toolkit's own texts (standard dialogs, the editors' context menus) in the system's
// language, as the desktop's other programs show them. Nothing happens when the system's
// language has no translation installed.
void InstallToolkitTranslations(QCoreApplication &application);
