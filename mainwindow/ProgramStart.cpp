#include "mainwindow/ProgramStart.h"

#include "dialogs/Unit_AboutForm.h"
#include "dialogs/Unit_ChangeFontForm.h"
#include "dialogs/Unit_FindForm.h"
#include "dialogs/Unit_ForCharsForm.h"
#include "dialogs/Unit_OptionsForm.h"
#include "dialogs/Unit_PartsOfSpeechForm.h"
#include "dialogs/Unit_StartupForm.h"
#include "dialogs/Unit_WLSettingsForm.h"
#include "exercises/Unit_ExercForm.h"
#include "exercises/Unit_ExercSetForm.h"
#include "exercises/Unit_ExercStartForm.h"
#include "exercises/Unit_FilterForm.h"
#include "exercises/Unit_SetExercWordsForm.h"
#include "exercises/Unit_SetLessonForm.h"
#include "exercises/Unit_TestResultForm.h"
#include "kbtool/Unit_KBLayoutForm.h"
#include "mainwindow/ApplyLanguage.h"
#include "mainwindow/Main.h"
#include "platform/KeyboardLayouts.h"
#include "print/Unit_PrintPreviewForm.h"
#include "sound/Unit_BatchRec.h"
#include "sound/Unit_ConvertForm.h"

#include <QApplication>
#include <utility>

namespace {

template<class TForm> void CreateForm(TForm *&form, const TFormCreated &created)
{
    form = new TForm;
    if (created)
        created(form);
}

template<class TForm> void DestroyForm(TForm *&form)
{
    // The global is cleared first, so nothing reaches a window that is being destroyed.
    delete std::exchange(form, nullptr);
}

} // namespace

void InitApplication()
{
    QApplication::setApplicationName(QStringLiteral("Tarnwick"));
    QApplication::setQuitOnLastWindowClosed(false);
    // The keyboard-aware editors take the desktop's layout when they are created.
    KbLayouts::DetectStartupLayout();
}

void CreateForms(const TFormCreated &created)
{
    try {
        CreateForm(MainForm, created);
        CreateForm(BatchRecForm, created);
        CreateForm(ChangeFontForm, created);
        CreateForm(ConvertForm, created);
        CreateForm(ExercSetForm, created);
        CreateForm(FilterForm, created);
        CreateForm(FindForm, created);
        CreateForm(KBLayoutForm, created);
        CreateForm(OptionsForm, created);
        CreateForm(PartsOfSpeechForm, created);
        CreateForm(PrintPreviewForm, created);
        CreateForm(SetExercWordsForm, created);
        CreateForm(SetLessonForm, created);
        CreateForm(StartupForm, created);
        CreateForm(TestResultForm, created);
        CreateForm(WLSettingsForm, created);
        CreateForm(AboutForm, created);
        CreateForm(ExercStartForm, created);
        CreateForm(ExercForm, created);
        CreateForm(ForCharsForm, created);
    } catch (...) {
        DestroyForms();
        throw;
    }
    // The windows below the main window get what they need of it handed in.
    FindForm->SetGrid(MainForm->WordsGrid());
    OptionsForm->SetLanguageApplier(&ApplyLanguage);
}

int RunMessageLoop()
{
    MainForm->show();
    return QApplication::exec();
}

void DestroyForms()
{
    DestroyForm(ForCharsForm);
    DestroyForm(ExercForm);
    DestroyForm(ExercStartForm);
    DestroyForm(AboutForm);
    DestroyForm(WLSettingsForm);
    DestroyForm(TestResultForm);
    DestroyForm(StartupForm);
    DestroyForm(SetLessonForm);
    DestroyForm(SetExercWordsForm);
    DestroyForm(PrintPreviewForm);
    DestroyForm(PartsOfSpeechForm);
    DestroyForm(OptionsForm);
    DestroyForm(KBLayoutForm);
    DestroyForm(FindForm);
    DestroyForm(FilterForm);
    DestroyForm(ExercSetForm);
    DestroyForm(ConvertForm);
    DestroyForm(ChangeFontForm);
    DestroyForm(BatchRecForm);
    DestroyForm(MainForm);
}
