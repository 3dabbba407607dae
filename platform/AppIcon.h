#pragma once

#include <QIcon>
#include <QString>

// The programs' own icon: set on their windows, and installed in the desktop's icon theme under
// this name, which every desktop entry of theirs names.
constexpr const char *ApplicationIconName = "tarnwick";

// The icon in every size it is drawn in.
QIcon ApplicationIcon();

// Puts the icon's sizes into the user's hicolor theme where they are not there already. False,
// with the file that could not be written and the reason in error, on a failure.
bool InstallApplicationIcon(QString &error);
