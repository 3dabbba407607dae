#include "mainwindow/ApplyLanguage.h"

#include "core/Unit_LanguagePack.h"
#include "core/Unit_Paths.h"
#include "dialogs/Unit_AboutForm.h"
#include "dialogs/Unit_ChangeFontForm.h"
#include "dialogs/Unit_FindForm.h"
#include "dialogs/Unit_ForCharsForm.h"
#include "dialogs/Unit_OptionsForm.h"
#include "dialogs/Unit_PartsOfSpeechForm.h"
#include "dialogs/Unit_WLSettingsForm.h"
#include "exercises/Unit_ExercForm.h"
#include "exercises/Unit_ExercSetForm.h"
#include "exercises/Unit_ExercStartForm.h"
#include "exercises/Unit_FilterForm.h"
#include "exercises/Unit_SetExercWordsForm.h"
#include "exercises/Unit_SetLessonForm.h"
#include "exercises/Unit_TestResultForm.h"
#include "kbtool/Unit_KBLayoutForm.h"
#include "mainwindow/Main.h"
#include "print/Unit_PrintPreviewForm.h"
#include "sound/Unit_BatchRec.h"
#include "sound/Unit_ConvertForm.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

std::string ApplicationHelpFile;

namespace {

void ApplyHelpFile()
{
    const std::string &name = LanguageText(TEntry::HelpFileName);
    const std::string folder
            = QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
    const std::string path = JoinPath(folder, name);
    const QFileInfo file(QFile::decodeName(QByteArray::fromStdString(path)));
    ApplicationHelpFile = !name.empty() && file.isFile() ? path : "";
}

template<typename... Windows> void ApplyTo(Windows *...windows)
{
    (
            [](auto *window) {
                if (window)
                    window->ApplyLanguage();
            }(windows),
            ...);
}

} // namespace

void ApplyLanguage()
{
    ApplyHelpFile();
    ApplyTo(ChangeFontForm, ConvertForm, MainForm, WLSettingsForm, ForCharsForm, SetLessonForm,
            FindForm, BatchRecForm, PrintPreviewForm, SetExercWordsForm, ExercStartForm,
            ExercSetForm, FilterForm, ExercForm, TestResultForm, OptionsForm, PartsOfSpeechForm,
            KBLayoutForm, AboutForm);
    if (MainForm)
        MainForm->ShowWordCount();
}
