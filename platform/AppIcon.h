#pragma once

#include <QIcon>
#include <QString>
#include <QStringList>

// The programs' own icon: set on their windows, and installed in the desktop's icon theme under
// this name, which every desktop entry of theirs names.
constexpr const char *ApplicationIconName = "tarnwick";

// The icon in every size it is drawn in.
QIcon ApplicationIcon();

// Puts the icon's sizes into the hicolor theme of DesktopDataFolder() (the user's, or the
// system's for an installation for the whole machine) where they are not there already. False,
// with the file that could not be written and the reason in error, on a failure.
bool InstallApplicationIcon(QString &error);
// The icon's files, relative to that folder ("icons/hicolor/16x16/apps/tarnwick.png", ...).
QStringList ApplicationIconFiles();
