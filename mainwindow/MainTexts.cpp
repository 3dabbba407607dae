#include "core/Texts.h"
#include "dialogs/Unit_PartsOfSpeechForm.h"
#include "mainwindow/Main.h"
#include "ui_MainForm.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QSignalBlocker>
#include <optional>

namespace {

// A command's caption, and its hint where the pack has one.
void SetAction(QAction *action, TEntry caption, std::optional<TEntry> hint = std::nullopt)
{
    action->setText(PackText(caption));
    if (!hint)
        return;
    action->setToolTip(PackText(*hint));
    action->setStatusTip(PackText(*hint));
}

void ApplyCommands(Ui::TMainForm &c)
{
    SetAction(c.ActNew, TEntry::NewCommand, TEntry::NewHint);
    SetAction(c.ActOpen, TEntry::OpenCommand, TEntry::OpenHint);
    SetAction(c.ActSave, TEntry::SaveCommand, TEntry::SaveHint);
    SetAction(c.MISaveAs, TEntry::SaveAsCommand);
    SetAction(c.MIImport, TEntry::ImportCommand);
    SetAction(c.MIExport, TEntry::ExportCommand);
    SetAction(c.MIPrinterSetup, TEntry::PrinterSetupCommand);
    SetAction(c.MIPrint, TEntry::PrintCommand);
    SetAction(c.MIExit, TEntry::ExitCommand);
    SetAction(c.ActUndo, TEntry::UndoCommand, TEntry::UndoHint);
    SetAction(c.ActCut, TEntry::CutCommand, TEntry::CutHint);
    SetAction(c.ActCopy, TEntry::CopyCommand, TEntry::CopyHint);
    SetAction(c.ActPaste, TEntry::PasteCommand, TEntry::PasteHint);
    SetAction(c.ActDelete, TEntry::DeleteCommand, TEntry::DeleteHint);
    SetAction(c.MISelectAll, TEntry::SelectAllCommand);
    SetAction(c.MIKeyboardLayout, TEntry::KeyboardLayoutCommand);
    SetAction(c.MIOptions, TEntry::OptionsCommand);
    SetAction(c.ActInsertNewWord, TEntry::InsertWordCommand);
    SetAction(c.ActSetLesson, TEntry::SetLessonCommand, TEntry::SetLessonHint);
    SetAction(c.ActBatchRec, TEntry::BatchRecCommand, TEntry::BatchRecHint);
    SetAction(c.ActInsertSound, TEntry::InsertSoundCommand);
    SetAction(c.ActFind, TEntry::FindCommand, TEntry::FindHint);
    SetAction(c.MIFindNext, TEntry::FindNextCommand);
    SetAction(c.MIWordlistSettings, TEntry::ListSettingsCommand);
    SetAction(c.ActSetWords, TEntry::SetWordsCommand, TEntry::SetWordsHint);
    c.MITurnOff->setTitle(PackText(TEntry::LevelOffMenu));
    c.MISetQuick->setTitle(PackText(TEntry::LevelQuickMenu));
    c.MISetNormal->setTitle(PackText(TEntry::LevelNormalMenu));
    c.MISetIntensive->setTitle(PackText(TEntry::LevelIntensiveMenu));
    SetAction(c.ActResetScore, TEntry::ResetScoreCommand);
    SetAction(c.ActStartExercise, TEntry::StartExerciseCommand, TEntry::StartExerciseHint);
    SetAction(c.ActStartTest, TEntry::StartTestCommand, TEntry::StartTestHint);
    for (QAction *both : {c.ActOffBoth, c.ActQuickBoth, c.ActNormalBoth, c.ActIntensiveBoth})
        SetAction(both, TEntry::BothDirectionsItem);
    for (QAction *one :
         {c.ActOffForToRef, c.ActQuickForToRef, c.ActNormalForToRef, c.ActIntensiveForToRef})
        SetAction(one, TEntry::ForToRefItem);
    for (QAction *one :
         {c.ActOffRefToFor, c.ActQuickRefToFor, c.ActNormalRefToFor, c.ActIntensiveRefToFor})
        SetAction(one, TEntry::RefToForItem);
    SetAction(c.ActHelp, TEntry::HelpTopicsCommand, TEntry::HelpTopicsHint);
    SetAction(c.MIHomepage, TEntry::HomepageCommand);
    SetAction(c.MIAbout, TEntry::AboutCommand);
}

} // namespace

void TMainForm::ApplyLanguage()
{
    ui->MFile->setTitle(PackText(TEntry::FileMenu));
    ui->MEdit->setTitle(PackText(TEntry::EditMenu));
    ui->MWordlist->setTitle(PackText(TEntry::WordListMenu));
    ui->MExercise->setTitle(PackText(TEntry::ExerciseMenu));
    ui->MHelp->setTitle(PackText(TEntry::HelpMenu));
    ApplyCommands(*ui);
    UpdateCommands();
    TPartsOfSpeechForm::FillPartsOfSpeechCombo(*ui->PartOfSpeechCombo);
    // The level editor may be showing a word's level: it keeps showing it, and the refill is no
    // choice of the user's.
    const QSignalBlocker blocker(ui->ExercLevelCombo);
    const int level = ui->ExercLevelCombo->currentIndex();
    ui->ExercLevelCombo->clear();
    for (TEntry entry :
         {TEntry::LevelOff, TEntry::LevelQuick, TEntry::LevelNormal, TEntry::LevelIntensive})
        ui->ExercLevelCombo->addItem(PackText(entry));
    ui->ExercLevelCombo->setCurrentIndex(level);
}
