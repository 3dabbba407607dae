#pragma once

#include <string>

// Puts the texts of the loaded language pack on every window: the help file, captions, menus,
// the fixed combo-box items and the main window's word count. Texts that depend on data (the
// main window's title, the exercise window's directions) are set where they are shown.
void ApplyLanguage();

// The application's help file: the local path of the language pack's help file beside the
// program, or "" when there is none.
extern std::string ApplicationHelpFile;
