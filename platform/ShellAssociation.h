#pragma once

#include <QStringList>
#include <string>

// The desktop's side of a file association: a shared-mime-info package that defines the word-list
// type by its glob, a .desktop entry of the program that opens it (not shown in menus), and that
// entry made the type's default in mimeapps.list. The desktop caches are refreshed by the update
// tools where they are installed; a missing tool is no failure.
namespace ShellAssociation {

constexpr const char *WordListMimeType = "application/x-tarnwick-wordlist";
constexpr const char *MimePackageName = "tarnwick-wdl.xml";
constexpr const char *DesktopEntryName = "tarnwick.desktop";

struct TAssociation
{
    // Local 8-bit path of the program.
    std::string ProgramPath;
    // The type's comment, DEFAULT code-page bytes.
    std::string Comment;
};

// Writes the three files (under $XDG_DATA_HOME and $XDG_CONFIG_HOME), puts the program's icon
// into the icon theme and runs the update tools. False, with the file that failed in error, when
// a file could not be written. An installation for the whole machine writes the type and the
// entry into the system's data folder and leaves the system's list of defaults alone.
bool Notify(const TAssociation &association, std::string &error);

// Whether the desktop has an application that opens the file (by its type) through xdg-open.
bool HasDefaultApplication(const QString &file);

// The type's package and the program's entry, relative to DesktopDataFolder().
QStringList DesktopFiles();

// Whether the three files hold what Notify writes: the type defined, the program's entry, and
// that entry the type's default (other defaults may have been added beside it).
bool IsCurrent(const TAssociation &association);

// The Exec value of the desktop entry: the program quoted as desktop entries require, then %f.
std::string DesktopExec(const std::string &programPath);

// One argument of an Exec value in double quotes: '"', '`', '$' and '\\' get a backslash and '%'
// is doubled. The result still needs DesktopValue before it goes into a file.
std::string DesktopExecArgument(const std::string &argument);

// A string value of a desktop entry: backslashes doubled, line breaks and tabs escaped.
std::string DesktopValue(const std::string &value);

} // namespace ShellAssociation
