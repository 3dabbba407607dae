#include "mainwindow/ApplyLanguage.h"

#include "core/Application.h"
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
#include "mainwindow/Unit_ChangeFontForm.h"
#include "mainwindow/Unit_FindForm.h"
#include "mainwindow/Unit_ForCharsForm.h"
#include "mainwindow/Unit_OptionsForm.h"
#include "mainwindow/Unit_PartsOfSpeechForm.h"
#include "mainwindow/Unit_PrintPreviewForm.h"
#include "platform/CodePage.h"
#include "sound/Unit_BatchRec.h"
#include "sound/Unit_ConvertForm.h"
#include "ui_ExercForm.h"
#include "ui_ExercSetForm.h"
#include "ui_ExercStartForm.h"
#include "ui_FilterForm.h"
#include "ui_MainForm.h"

#include <QAction>
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

// A command's caption, and its hint where the pack has one.
void SetAction(QAction *action, int caption, int hint = -1)
{
    action->setText(Text(caption));
    if (hint < 0)
        return;
    action->setToolTip(Text(hint));
    action->setStatusTip(Text(hint));
}

void ApplyCommands(Ui::TMainForm &c)
{
    SetAction(c.ActNew, 21, 22);
    SetAction(c.ActOpen, 23, 24);
    SetAction(c.ActSave, 25, 26);
    SetAction(c.MISaveAs, 27);
    SetAction(c.MIImport, 28);
    SetAction(c.MIExport, 29);
    SetAction(c.MIPrinterSetup, 30);
    SetAction(c.MIPrint, 31);
    SetAction(c.MIExit, 32);
    SetAction(c.ActUndo, 34, 35);
    SetAction(c.ActCut, 36, 37);
    SetAction(c.ActCopy, 38, 39);
    SetAction(c.ActPaste, 40, 41);
    SetAction(c.ActDelete, 42, 43);
    SetAction(c.MISelectAll, 44);
    SetAction(c.MIKeyboardLayout, 45);
    SetAction(c.MIOptions, 46);
    SetAction(c.ActInsertNewWord, 48);
    SetAction(c.ActSetLesson, 49, 50);
    SetAction(c.ActBatchRec, 51, 52);
    SetAction(c.ActInsertSound, 53);
    SetAction(c.ActFind, 54, 55);
    SetAction(c.MIFindNext, 56);
    SetAction(c.MIWordlistSettings, 57);
    SetAction(c.ActSetWords, 59, 60);
    c.MITurnOff->setTitle(Text(61));
    c.MISetQuick->setTitle(Text(62));
    c.MISetNormal->setTitle(Text(63));
    c.MISetIntensive->setTitle(Text(64));
    SetAction(c.ActResetScore, 65);
    SetAction(c.ActStartExercise, 66, 67);
    SetAction(c.ActStartTest, 68, 69);
    for (QAction *both : {c.ActOffBoth, c.ActQuickBoth, c.ActNormalBoth, c.ActIntensiveBoth})
        SetAction(both, 70);
    for (QAction *one :
         {c.ActOffForToRef, c.ActQuickForToRef, c.ActNormalForToRef, c.ActIntensiveForToRef})
        SetAction(one, 71);
    for (QAction *one :
         {c.ActOffRefToFor, c.ActQuickRefToFor, c.ActNormalRefToFor, c.ActIntensiveRefToFor})
        SetAction(one, 72);
    SetAction(c.ActHelp, 74, 75);
    SetAction(c.MIHomepage, 76);
    SetAction(c.MIAbout, 77);
}

void ApplyMainForm(TMainForm &form)
{
    Ui::TMainForm &controls = form.Controls();
    controls.MFile->setTitle(Text(20));
    controls.MEdit->setTitle(Text(33));
    controls.MWordlist->setTitle(Text(47));
    controls.MExercise->setTitle(Text(58));
    controls.MHelp->setTitle(Text(73));
    ApplyCommands(controls);
    form.UpdateCommands();
    TPartsOfSpeechForm::FillPartsOfSpeechCombo(*controls.PartOfSpeechCombo);
    SetItems(*controls.ExercLevelCombo, {192, 193, 194, 195});
}

template<typename Control> void SetText(Control *control, int number)
{
    control->setText(Text(number));
}

void ApplyExercStartForm(TExercStartForm &form)
{
    Ui::TExercStartForm &controls = *form.ui;
    form.setWindowTitle(Text(196));
    SetText(controls.ExerciseLabel, 197);
    SetText(controls.TimeCheckBox, 198);
    SetText(controls.MinutesLabel, 199);
    SetText(controls.ExamLabel, 200);
    SetText(controls.NumQuestionsLabel, 201);
    controls.TypeBox->setTitle(Text(202));
    SetText(controls.OpenRadio, 203);
    SetText(controls.MultipleRadio, 204);
    SetText(controls.FilterButton, 205);
    SetText(controls.OptionsButton, 206);
    SetText(controls.SaveSettingsButton, 207);
    SetText(controls.CancelButton, 6);
    SetText(controls.StartButton, 208);
}

void ApplyExercSetForm(TExercSetForm &form)
{
    Ui::TExercSetForm &controls = *form.ui;
    form.setWindowTitle(Text(209));
    SetText(controls.PronounceQCheck, 211);
    SetText(controls.ListenCheck, 212);
    SetText(controls.ContextQCheck, 213);
    SetText(controls.PronounceACheck, 214);
    SetText(controls.DictationCheck, 215);
    SetText(controls.ContextACheck, 216);
    SetText(controls.SaveSettingsButton, 217);
    SetText(controls.CancelButton, 6);
    SetText(controls.OKButton, 3);
}

void ApplyFilterForm(TFilterForm &form)
{
    Ui::TFilterForm &controls = *form.ui;
    form.setWindowTitle(Text(224));
    SetText(controls.PartsOfSpeechLabel, 225);
    SetText(controls.LessonLabel, 226);
    SetText(controls.OnlyPronunciationCheck, 227);
    SetText(controls.CancelButton, 6);
    SetText(controls.OKButton, 3);
}

void ApplyExercForm(TExercForm &form)
{
    Ui::TExercForm &controls = form.Controls();
    controls.PlayAction->setToolTip(Text(233));
    controls.StopAction->setToolTip(Text(234));
    controls.QuestionAction->setToolTip(Text(235));
    controls.ContextAction->setToolTip(Text(236));
    SetText(controls.ShowButton, 237);
    SetText(controls.CorrectLabel, 238);
    SetText(controls.YesButton, 4);
    SetText(controls.NoButton, 5);
    SetText(controls.NextButton, 241);
    SetText(controls.StopButton, 242);
    SetText(controls.Last5Label, 244);
    SetText(controls.LocalScoreLabel, 245);
    SetText(controls.LocalProgressLabel, 246);
    SetText(controls.AverageScoreLabel, 248);
    SetText(controls.TotalProgressLabel, 249);
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
    if (ExercStartForm)
        ApplyExercStartForm(*ExercStartForm);
    if (ExercSetForm)
        ApplyExercSetForm(*ExercSetForm);
    if (FilterForm)
        ApplyFilterForm(*FilterForm);
    if (ExercForm)
        ApplyExercForm(*ExercForm);
    SetCaption(TestResultForm, 259);
    SetCaption(OptionsForm, 264);
    SetCaption(PartsOfSpeechForm, 296);
    if (MainForm)
        MainForm->ShowWordCount();
}
