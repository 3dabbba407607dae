#include "mainwindow/ProgramHooks.h"

#include "sound/Unit_ConvertForm.h"

// The reader asks on the GUI thread; the window's own loop runs the conversion's steps.
int TProgramLoadHooks::ConvertList(TWordList &list)
{
    if (!ConvertForm)
        return crCancelled;
    ConvertForm->Task = {};
    ConvertForm->Task.Mode = cmWordList;
    ConvertForm->Task.WordList = &list;
    const int result = ConvertForm->exec();
    ConvertForm->Task = {};
    return result;
}
