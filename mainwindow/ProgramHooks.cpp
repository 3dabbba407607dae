#include "mainwindow/ProgramHooks.h"

#include "sound/Unit_ConvertForm.h"

// The reader asks on the GUI thread; the window's own loop runs the conversion's steps.
int TProgramLoadHooks::ConvertList(TWordList &list)
{
    if (!ConvertForm)
        return crCancelled;
    TConvertTask task;
    task.Mode = cmWordList;
    task.WordList = &list;
    return ConvertForm->Run(task);
}
