#include "mainwindow/ApplyLanguage.h"

#include "core/Unit_LanguagePack.h"
#include "core/Unit_Paths.h"
#include "exercises/Unit_ExercForm.h"
#include "exercises/Unit_ExercSetForm.h"
#include "exercises/Unit_ExercStartForm.h"
#include "exercises/Unit_FilterForm.h"
#include "exercises/Unit_SetExercWordsForm.h"
#include "exercises/Unit_SetLessonForm.h"
#include "exercises/Unit_TestResultForm.h"
#include "mainwindow/Main.h"
#include "mainwindow/Unit_AboutForm.h"
#include "mainwindow/Unit_ChangeFontForm.h"
#include "mainwindow/Unit_FindForm.h"
#include "mainwindow/Unit_ForCharsForm.h"
#include "mainwindow/Unit_KBLayoutForm.h"
#include "mainwindow/Unit_OptionsForm.h"
#include "mainwindow/Unit_PartsOfSpeechForm.h"
#include "mainwindow/Unit_PrintPreviewForm.h"
#include "mainwindow/Unit_WLSettingsForm.h"
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
