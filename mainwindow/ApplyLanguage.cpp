#include "mainwindow/ApplyLanguage.h"

#include "core/Application.h"
#include "core/Unit_LanguagePack.h"
#include "core/Unit_Paths.h"
#include "exercises/Unit_ExercSetForm.h"
#include "exercises/Unit_ExercStartForm.h"
#include "exercises/Unit_FilterForm.h"
#include "exercises/Unit_SetExercWordsForm.h"
#include "exercises/Unit_SetLessonForm.h"
#include "exercises/Unit_TestResultForm.h"
#include "mainwindow/Main.h"
#include "mainwindow/Unit_ChangeFontForm.h"
#include "mainwindow/Unit_FindForm.h"
#include "mainwindow/Unit_ForCharsForm.h"
#include "mainwindow/Unit_OptionsForm.h"
#include "mainwindow/Unit_PartsOfSpeechForm.h"
#include "mainwindow/Unit_PrintPreviewForm.h"
#include "platform/CodePage.h"
#include "sound/Unit_BatchRec.h"
#include "sound/Unit_ConvertForm.h"
#include "ui_MainForm.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QMenu>

namespace {

constexpr int HelpFileEntry = 356;

QString Text(int number)
{
    return CodePage::ToUnicode(LanguageText(number), CodePage::Default);
}

void SetCaption(QWidget *window, int number)
{
    if (window)
        window->setWindowTitle(Text(number));
}

void SetItems(QComboBox &combo, std::initializer_list<int> numbers)
{
    combo.clear();
    for (int number : numbers)
        combo.addItem(Text(number));
}

void ApplyHelpFile()
{
    const std::string folder
            = QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
    const std::string path = JoinPath(folder, LanguageText(HelpFileEntry));
    const QFileInfo file(QFile::decodeName(QByteArray::fromStdString(path)));
    ApplicationHelpFile = !LanguageText(HelpFileEntry).empty() && file.isFile() ? path : "";
}

void ApplyMainForm(TMainForm &form)
{
    Ui::TMainForm &controls = form.Controls();
    controls.MFile->setTitle(Text(20));
    controls.MEdit->setTitle(Text(33));
    controls.MWordlist->setTitle(Text(47));
    controls.MExercise->setTitle(Text(58));
    controls.MHelp->setTitle(Text(73));
    TPartsOfSpeechForm::FillPartsOfSpeechCombo(*controls.PartOfSpeechCombo);
    SetItems(*controls.ExercLevelCombo, {192, 193, 194, 195});
}

} // namespace

void ApplyLanguage()
{
    ApplyHelpFile();
    SetCaption(ChangeFontForm, 8);
    SetCaption(ConvertForm, 14);
    if (MainForm)
        ApplyMainForm(*MainForm);
    SetCaption(ForCharsForm, 118);
    SetCaption(SetLessonForm, 143);
    SetCaption(FindForm, 146);
    SetCaption(BatchRecForm, 159);
    SetCaption(PrintPreviewForm, 171);
    SetCaption(SetExercWordsForm, 184);
    SetCaption(ExercStartForm, 196);
    SetCaption(ExercSetForm, 209);
    SetCaption(FilterForm, 224);
    SetCaption(TestResultForm, 259);
    SetCaption(OptionsForm, 264);
    SetCaption(PartsOfSpeechForm, 296);
    if (MainForm)
        MainForm->ShowWordCount();
}
