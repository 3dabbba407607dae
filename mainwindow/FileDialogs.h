#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// One showing of the open or save dialog: what the command presets, and after OK the chosen
// file (full path) and filter.
struct TFileDialogRequest
{
    // Save dialogs accept new files and confirm overwriting; open dialogs need an existing file.
    bool Save = false;
    QString Title;
    // In the toolkit's form, "description (pattern pattern)".
    QStringList Filters;
    QString DefaultSuffix;
    QString Folder;
    // 1-based; 0 stands for the first filter.
    int FilterIndex = 1;
    QString FileName;
};

// The file names the main window asks the user for. The program shows the toolkit's own file
// dialog; tests put a script in.
class IMainFileDialogs
{
public:
    virtual ~IMainFileDialogs() = default;
    // False when cancelled; the request then stays as it was.
    virtual bool Execute(TFileDialogRequest &request) = 0;
};

// nullptr restores the toolkit's dialogs. Gives back the ones installed before.
IMainFileDialogs *SetMainFileDialogs(IMainFileDialogs *dialogs);
IMainFileDialogs &MainFileDialogs();

// A language pack's filter "description|pattern;pattern|..." in the toolkit's form. "*.*"
// becomes "*", and letters of the patterns match either case.
QStringList ConvertFilter(const QString &packFilter);
