#include "core/LanguageEntries.h"
#include "core/Unit_Charsets.h"
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
#include "kbtool/KeyboardShape.h"
#include "kbtool/Unit_KBLayoutForm.h"
#include "mainwindow/ApplyLanguage.h"
#include "mainwindow/Main.h"
#include "print/Unit_PrintPreviewForm.h"
#include "sound/Unit_BatchRec.h"
#include "sound/Unit_ConvertForm.h"
#include "support/WordListFixtures.h"
#include "support/gui/ProgramFixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QStackedWidget>
#include <QTabWidget>
#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

// Under a pack whose every entry reads "#n", each control of each window shows the entry it is
// given: one table, window by window, control by control.

namespace {

// What of a control the entries go to.
enum class TShown {
    Caption, // the window's caption, or the control's text, title or tab
    Hint, // an action's hint
    Items, // a fixed list's items, in order
    SubMenus, // the titles of a menu's submenus, in order
    KeyCaptions, // the captions drawn on the keyboard, in any order
};

struct TExpectedText
{
    const char *Control; // empty: the window itself
    TShown Shown;
    std::vector<TEntry> Entries;
};

struct TWindowTexts
{
    QWidget *(*Window)();
    std::vector<TExpectedText> Texts;
};

std::vector<std::string> NumberedTexts(const std::vector<TEntry> &entries)
{
    std::vector<std::string> texts;
    for (TEntry entry : entries)
        texts.push_back(NumberedText(entry));
    return texts;
}

// The names of the supported character sets follow each other in the pack.
std::vector<TEntry> CharsetNames()
{
    std::vector<TEntry> entries;
    for (size_t i = 0; i < SupportedCharsets.size(); ++i)
        entries.push_back(static_cast<TEntry>(static_cast<int>(TEntry::FirstCharsetName)
                                              + static_cast<int>(i)));
    return entries;
}

// The page's caption on the tabs that hold it.
QString TabText(const QWidget &page)
{
    for (QWidget *parent = page.parentWidget(); parent; parent = parent->parentWidget()) {
        if (auto *tabs = qobject_cast<QTabWidget *>(parent))
            return tabs->tabText(tabs->indexOf(const_cast<QWidget *>(&page)));
    }
    return QStringLiteral("(no tab)");
}

QStringList ShownTexts(QWidget &window, const TExpectedText &expected)
{
    if (*expected.Control == 0)
        return {window.windowTitle()};
    QObject *control = window.findChild<QObject *>(QLatin1String(expected.Control));
    if (!control)
        return {QStringLiteral("(missing)")};
    if (auto *action = qobject_cast<QAction *>(control))
        return {expected.Shown == TShown::Hint ? action->toolTip() : action->text()};
    if (auto *menu = qobject_cast<QMenu *>(control)) {
        if (expected.Shown != TShown::SubMenus)
            return {menu->title()};
        QStringList titles;
        for (const QAction *item : menu->actions()) {
            if (item->menu())
                titles.append(item->text());
        }
        return titles;
    }
    if (auto *combo = qobject_cast<QComboBox *>(control)) {
        QStringList items;
        for (int i = 0; i < combo->count(); ++i)
            items.append(combo->itemText(i));
        return items;
    }
    if (auto *keyboard = qobject_cast<TKeyboardShape *>(control)) {
        QStringList captions;
        for (const TKeyboardShape::TLabel &label : keyboard->Labels())
            captions.append(label.Text);
        return captions;
    }
    if (auto *button = qobject_cast<QAbstractButton *>(control))
        return {button->text()};
    if (auto *label = qobject_cast<QLabel *>(control))
        return {label->text()};
    if (auto *box = qobject_cast<QGroupBox *>(control))
        return {box->title()};
    if (auto *page = qobject_cast<QWidget *>(control))
        return {TabText(*page)};
    return {QStringLiteral("(no text)")};
}

const std::vector<TWindowTexts> &PackTable()
{
    static const std::vector<TWindowTexts> table{
            {[]() -> QWidget * { return ChangeFontForm; },
             {{"", TShown::Caption, {TEntry::ChangeFontCaption}},
              {"CharsetLabel", TShown::Caption, {TEntry::ChangeFontCharsetLabel}},
              {"FontLabel", TShown::Caption, {TEntry::ChangeFontNameLabel}},
              {"CharsetCombo", TShown::Items, CharsetNames()},
              {"OKButton", TShown::Caption, {TEntry::OkButton}},
              {"CancelButton", TShown::Caption, {TEntry::CancelButton}}}},
            {[]() -> QWidget * { return ConvertForm; },
             {{"", TShown::Caption, {TEntry::ConvertCaption}},
              {"TotalLabel", TShown::Caption, {TEntry::ConvertTotalLabel}},
              {"CancelButton", TShown::Caption, {TEntry::CancelButton}}}},
            {[]() -> QWidget * { return MainForm; },
             {{"MFile", TShown::Caption, {TEntry::FileMenu}},
              {"ActNew", TShown::Caption, {TEntry::NewCommand}},
              {"ActNew", TShown::Hint, {TEntry::NewHint}},
              {"ActOpen", TShown::Caption, {TEntry::OpenCommand}},
              {"ActOpen", TShown::Hint, {TEntry::OpenHint}},
              {"ActSave", TShown::Caption, {TEntry::SaveCommand}},
              {"ActSave", TShown::Hint, {TEntry::SaveHint}},
              {"MISaveAs", TShown::Caption, {TEntry::SaveAsCommand}},
              {"MIImport", TShown::Caption, {TEntry::ImportCommand}},
              {"MIExport", TShown::Caption, {TEntry::ExportCommand}},
              {"MIPrinterSetup", TShown::Caption, {TEntry::PrinterSetupCommand}},
              {"MIPrint", TShown::Caption, {TEntry::PrintCommand}},
              {"MIExit", TShown::Caption, {TEntry::ExitCommand}},
              {"MEdit", TShown::Caption, {TEntry::EditMenu}},
              {"ActUndo", TShown::Caption, {TEntry::UndoCommand}},
              {"ActUndo", TShown::Hint, {TEntry::UndoHint}},
              {"ActCut", TShown::Caption, {TEntry::CutCommand}},
              {"ActCut", TShown::Hint, {TEntry::CutHint}},
              {"ActCopy", TShown::Caption, {TEntry::CopyCommand}},
              {"ActCopy", TShown::Hint, {TEntry::CopyHint}},
              {"ActPaste", TShown::Caption, {TEntry::PasteCommand}},
              {"ActPaste", TShown::Hint, {TEntry::PasteHint}},
              {"ActDelete", TShown::Caption, {TEntry::DeleteCommand}},
              {"ActDelete", TShown::Hint, {TEntry::DeleteHint}},
              {"MISelectAll", TShown::Caption, {TEntry::SelectAllCommand}},
              {"MIKeyboardLayout", TShown::Caption, {TEntry::KeyboardLayoutCommand}},
              {"MIOptions", TShown::Caption, {TEntry::OptionsCommand}},
              {"MWordlist", TShown::Caption, {TEntry::WordListMenu}},
              {"ActInsertNewWord", TShown::Caption, {TEntry::InsertWordCommand}},
              {"ActSetLesson", TShown::Caption, {TEntry::SetLessonCommand}},
              {"ActSetLesson", TShown::Hint, {TEntry::SetLessonHint}},
              {"ActBatchRec", TShown::Caption, {TEntry::BatchRecCommand}},
              {"ActBatchRec", TShown::Hint, {TEntry::BatchRecHint}},
              {"ActInsertSound", TShown::Caption, {TEntry::InsertSoundCommand}},
              {"ActFind", TShown::Caption, {TEntry::FindCommand}},
              {"ActFind", TShown::Hint, {TEntry::FindHint}},
              {"MIFindNext", TShown::Caption, {TEntry::FindNextCommand}},
              {"MIWordlistSettings", TShown::Caption, {TEntry::ListSettingsCommand}},
              {"MExercise", TShown::Caption, {TEntry::ExerciseMenu}},
              {"ActSetWords", TShown::Caption, {TEntry::SetWordsCommand}},
              {"ActSetWords", TShown::Hint, {TEntry::SetWordsHint}},
              {"MITurnOff", TShown::Caption, {TEntry::LevelOffMenu}},
              {"ActOffBoth", TShown::Caption, {TEntry::BothDirectionsItem}},
              {"MISetQuick", TShown::Caption, {TEntry::LevelQuickMenu}},
              {"ActQuickBoth", TShown::Caption, {TEntry::BothDirectionsItem}},
              {"MISetNormal", TShown::Caption, {TEntry::LevelNormalMenu}},
              {"ActNormalBoth", TShown::Caption, {TEntry::BothDirectionsItem}},
              {"MISetIntensive", TShown::Caption, {TEntry::LevelIntensiveMenu}},
              {"ActIntensiveBoth", TShown::Caption, {TEntry::BothDirectionsItem}},
              {"ActResetScore", TShown::Caption, {TEntry::ResetScoreCommand}},
              {"ActStartExercise", TShown::Caption, {TEntry::StartExerciseCommand}},
              {"ActStartExercise", TShown::Hint, {TEntry::StartExerciseHint}},
              {"ActStartTest", TShown::Caption, {TEntry::StartTestCommand}},
              {"ActStartTest", TShown::Hint, {TEntry::StartTestHint}},
              {"MHelp", TShown::Caption, {TEntry::HelpMenu}},
              {"ActHelp", TShown::Caption, {TEntry::HelpTopicsCommand}},
              {"ActHelp", TShown::Hint, {TEntry::HelpTopicsHint}},
              {"MIHomepage", TShown::Caption, {TEntry::HomepageCommand}},
              {"MIAbout", TShown::Caption, {TEntry::AboutCommand}},
              {"PopupMenu",
               TShown::SubMenus,
               {TEntry::LevelOffMenu, TEntry::LevelQuickMenu, TEntry::LevelNormalMenu,
                TEntry::LevelIntensiveMenu}},
              // The part-of-speech list holds the setting's texts, not the pack's.
              {"ExercLevelCombo",
               TShown::Items,
               {TEntry::LevelOff, TEntry::LevelQuick, TEntry::LevelNormal,
                TEntry::LevelIntensive}}}},
            {[]() -> QWidget * { return WLSettingsForm; },
             {{"ForBox", TShown::Caption, {TEntry::ForLanguageBox}},
              {"ForLangLabel", TShown::Caption, {TEntry::ForLanguageLabel}},
              {"ForCharsetLabel", TShown::Caption, {TEntry::ForCharsetLabel}},
              {"ForCharsetCombo", TShown::Items, CharsetNames()},
              {"ForFontLabel", TShown::Caption, {TEntry::ForFontLabel}},
              {"ForSizeLabel", TShown::Caption, {TEntry::ForSizeLabel}},
              {"RefBox", TShown::Caption, {TEntry::RefLanguageBox}},
              {"RefLangLabel", TShown::Caption, {TEntry::RefLanguageLabel}},
              {"RefCharsetLabel", TShown::Caption, {TEntry::RefCharsetLabel}},
              {"RefCharsetCombo", TShown::Items, CharsetNames()},
              {"RefFontLabel", TShown::Caption, {TEntry::RefFontLabel}},
              {"RefSizeLabel", TShown::Caption, {TEntry::RefSizeLabel}},
              {"ForCharsButton", TShown::Caption, {TEntry::ForCharsButton}},
              {"CancelButton", TShown::Caption, {TEntry::CancelButton}},
              {"OKButton", TShown::Caption, {TEntry::OkButton}}}},
            {[]() -> QWidget * { return ForCharsForm; },
             {{"", TShown::Caption, {TEntry::ForCharsCaption}},
              {"ForCharsLabel", TShown::Caption, {TEntry::ForCharsExplanation}},
              {"SaveButton", TShown::Caption, {TEntry::SaveAsDefaultButton}},
              {"CancelButton", TShown::Caption, {TEntry::CancelButton}},
              {"OKButton", TShown::Caption, {TEntry::OkButton}}}},
            {[]() -> QWidget * { return SetLessonForm; },
             {{"", TShown::Caption, {TEntry::SetLessonCaption}},
              {"LessonLabel", TShown::Caption, {TEntry::LessonLabel}},
              {"OKButton", TShown::Caption, {TEntry::OkButton}},
              {"CancelButton", TShown::Caption, {TEntry::CancelButton}}}},
            {[]() -> QWidget * { return FindForm; },
             {{"", TShown::Caption, {TEntry::FindCaption}},
              {"ForLangFindLabel", TShown::Caption, {TEntry::FindWhatLabel}},
              {"ForLangReplaceLabel", TShown::Caption, {TEntry::ReplaceWithLabel}},
              {"ForLangFindCombo",
               TShown::Items,
               {TEntry::ContainsMode, TEntry::EqualsMode, TEntry::BeginsWithMode}},
              {"RefLangFindLabel", TShown::Caption, {TEntry::FindWhatLabel}},
              {"RefLangReplaceLabel", TShown::Caption, {TEntry::ReplaceWithLabel}},
              {"RefLangFindCombo",
               TShown::Items,
               {TEntry::ContainsMode, TEntry::EqualsMode, TEntry::BeginsWithMode}},
              {"ContextTab", TShown::Caption, {TEntry::ContextTab}},
              {"ContextFindLabel", TShown::Caption, {TEntry::FindWhatLabel}},
              {"ContextReplaceLabel", TShown::Caption, {TEntry::ReplaceWithLabel}},
              {"ContextFindCombo",
               TShown::Items,
               {TEntry::ContainsMode, TEntry::EqualsMode, TEntry::BeginsWithMode}},
              {"PartOfSpeechTab", TShown::Caption, {TEntry::PartOfSpeechTab}},
              {"PoSFindLabel", TShown::Caption, {TEntry::FindWhatLabel}},
              {"PoSReplaceLabel", TShown::Caption, {TEntry::ReplaceWithLabel}},
              {"PoSFindCombo",
               TShown::Items,
               {TEntry::ContainsMode, TEntry::EqualsMode, TEntry::BeginsWithMode}},
              {"LessonTab", TShown::Caption, {TEntry::LessonTab}},
              {"LessonFindLabel", TShown::Caption, {TEntry::FindWhatLabel}},
              {"LessonReplaceLabel", TShown::Caption, {TEntry::ReplaceWithLabel}},
              {"LessonFindCombo",
               TShown::Items,
               {TEntry::ContainsMode, TEntry::EqualsMode, TEntry::BeginsWithMode}},
              {"FindButton", TShown::Caption, {TEntry::FindNextButton}},
              {"ReplaceButton", TShown::Caption, {TEntry::ReplaceButton}},
              {"ReplaceAllButton", TShown::Caption, {TEntry::ReplaceAllButton}},
              {"CloseButton", TShown::Caption, {TEntry::CloseButton}}}},
            {[]() -> QWidget * { return BatchRecForm; },
             {{"", TShown::Caption, {TEntry::BatchRecCaption}},
              {"CloseButton", TShown::Caption, {TEntry::CloseButton}},
              {"InsertButton", TShown::Caption, {TEntry::BatchRecInsertButton}}}},
            {[]() -> QWidget * { return PrintPreviewForm; },
             {{"", TShown::Caption, {TEntry::PrintPreviewCaption}},
              {"PrintButton", TShown::Caption, {TEntry::PrintButton}},
              {"NextButton", TShown::Caption, {TEntry::NextPageButton}},
              {"PrevButton", TShown::Caption, {TEntry::PreviousPageButton}},
              {"ZoomInButton", TShown::Caption, {TEntry::ZoomInButton}},
              {"ZoomOutButton", TShown::Caption, {TEntry::ZoomOutButton}},
              {"CloseButton", TShown::Caption, {TEntry::CloseButton}},
              {"ContextButton", TShown::Caption, {TEntry::ContextColumnButton}},
              {"PartOfSpeechButton", TShown::Caption, {TEntry::PartOfSpeechColumnButton}},
              {"LessonButton", TShown::Caption, {TEntry::LessonColumnButton}},
              {"MIMoveLeft", TShown::Caption, {TEntry::MoveColumnLeft}},
              {"MIMoveRight", TShown::Caption, {TEntry::MoveColumnRight}}}},
            {[]() -> QWidget * { return SetExercWordsForm; },
             {{"", TShown::Caption, {TEntry::SetWordsCaption}},
              {"ForRefCheckBox", TShown::Caption, {TEntry::ForRefChangeCheck}},
              {"ForRefOffRadio", TShown::Caption, {TEntry::ForRefOffRadio}},
              {"ForRefOnRadio", TShown::Caption, {TEntry::ForRefOnRadio}},
              {"ForRefLevelCombo",
               TShown::Items,
               {TEntry::LevelQuick, TEntry::LevelNormal, TEntry::LevelIntensive}},
              {"RefForCheckBox", TShown::Caption, {TEntry::RefForChangeCheck}},
              {"RefForOffRadio", TShown::Caption, {TEntry::RefForOffRadio}},
              {"RefForOnRadio", TShown::Caption, {TEntry::RefForOnRadio}},
              {"RefForLevelCombo",
               TShown::Items,
               {TEntry::LevelQuick, TEntry::LevelNormal, TEntry::LevelIntensive}},
              {"OKButton", TShown::Caption, {TEntry::OkButton}},
              {"CancelButton", TShown::Caption, {TEntry::CancelButton}}}},
            {[]() -> QWidget * { return ExercStartForm; },
             {{"", TShown::Caption, {TEntry::ExercStartCaption}},
              {"ExerciseLabel", TShown::Caption, {TEntry::ExerciseHeading}},
              {"TimeCheckBox", TShown::Caption, {TEntry::TimeLimitCheck}},
              {"MinutesLabel", TShown::Caption, {TEntry::MinutesLabel}},
              {"ExamLabel", TShown::Caption, {TEntry::TestHeading}},
              {"NumQuestionsLabel", TShown::Caption, {TEntry::NumQuestionsLabel}},
              {"TypeBox", TShown::Caption, {TEntry::QuestionKindBox}},
              {"OpenRadio", TShown::Caption, {TEntry::OpenQuestionsRadio}},
              {"MultipleRadio", TShown::Caption, {TEntry::MultipleChoiceRadio}},
              {"FilterButton", TShown::Caption, {TEntry::FiltersButton}},
              {"OptionsButton", TShown::Caption, {TEntry::OptionsButton}},
              {"SaveSettingsButton", TShown::Caption, {TEntry::KeepStartSettingsButton}},
              {"CancelButton", TShown::Caption, {TEntry::CancelButton}},
              {"StartButton", TShown::Caption, {TEntry::StartButton}}}},
            {[]() -> QWidget * { return ExercSetForm; },
             {{"", TShown::Caption, {TEntry::ExercSetCaption}},
              {"PronounceQCheck", TShown::Caption, {TEntry::PronounceQuestionCheck}},
              {"ListenCheck", TShown::Caption, {TEntry::ListenCheck}},
              {"ContextQCheck", TShown::Caption, {TEntry::ContextQuestionCheck}},
              {"PronounceACheck", TShown::Caption, {TEntry::PronounceAnswerCheck}},
              {"DictationCheck", TShown::Caption, {TEntry::DictationCheck}},
              {"ContextACheck", TShown::Caption, {TEntry::ContextAnswerCheck}},
              {"SaveSettingsButton", TShown::Caption, {TEntry::KeepExercSetSettingsButton}},
              {"CancelButton", TShown::Caption, {TEntry::CancelButton}},
              {"OKButton", TShown::Caption, {TEntry::OkButton}}}},
            {[]() -> QWidget * { return FilterForm; },
             {{"", TShown::Caption, {TEntry::FilterCaption}},
              {"PartsOfSpeechLabel", TShown::Caption, {TEntry::PartsOfSpeechFilterLabel}},
              {"LessonLabel", TShown::Caption, {TEntry::LessonFilterLabel}},
              {"OnlyPronunciationCheck", TShown::Caption, {TEntry::OnlyPronouncedCheck}},
              {"CancelButton", TShown::Caption, {TEntry::CancelButton}},
              {"OKButton", TShown::Caption, {TEntry::OkButton}}}},
            {[]() -> QWidget * { return ExercForm; },
             {{"PlayAction", TShown::Hint, {TEntry::PlayHint}},
              {"StopAction", TShown::Hint, {TEntry::StopHint}},
              {"QuestionAction", TShown::Hint, {TEntry::QuestionHint}},
              {"ContextAction", TShown::Hint, {TEntry::ContextHint}},
              {"ShowButton", TShown::Caption, {TEntry::ShowAnswerButton}},
              {"CorrectLabel", TShown::Caption, {TEntry::DidYouKnowLabel}},
              {"YesButton", TShown::Caption, {TEntry::YesButton}},
              {"NoButton", TShown::Caption, {TEntry::NoButton}},
              {"NextButton", TShown::Caption, {TEntry::NextWordButton}},
              {"StopButton", TShown::Caption, {TEntry::StopButton}},
              {"Last5Label", TShown::Caption, {TEntry::LastFiveLabel}},
              {"LocalScoreLabel", TShown::Caption, {TEntry::WordScoreLabel}},
              {"LocalProgressLabel", TShown::Caption, {TEntry::WordProgressLabel}},
              {"AverageScoreLabel", TShown::Caption, {TEntry::AverageScoreLabel}},
              {"TotalProgressLabel", TShown::Caption, {TEntry::TotalProgressLabel}}}},
            {[]() -> QWidget * { return TestResultForm; },
             {{"", TShown::Caption, {TEntry::TestResultCaption}},
              {"ResultLabel", TShown::Caption, {TEntry::TestResultHeading}},
              {"SuccessMsgLabel", TShown::Caption, {TEntry::TestPassed}},
              {"FailedMsgLabel", TShown::Caption, {TEntry::TestFailed}},
              {"OKButton", TShown::Caption, {TEntry::OkButton}}}},
            {[]() -> QWidget * { return OptionsForm; },
             {{"", TShown::Caption, {TEntry::OptionsCaption}},
              {"EditTab", TShown::Caption, {TEntry::EditTab}},
              {"DeleteConfirmCheck", TShown::Caption, {TEntry::ConfirmDeleteCheck}},
              {"SortConfirmCheck", TShown::Caption, {TEntry::ConfirmSortCheck}},
              {"EnterBox", TShown::Caption, {TEntry::EnterKeyBox}},
              {"NormalEnterRadio", TShown::Caption, {TEntry::NormalEnterRadio}},
              {"IsDownRadio", TShown::Caption, {TEntry::EnterDownRadio}},
              {"AutoCompleteCheck", TShown::Caption, {TEntry::AutoCompleteCheck}},
              {"PartsOfSpeechButton", TShown::Caption, {TEntry::PartsOfSpeechButton}},
              {"ExerciseTab", TShown::Caption, {TEntry::ExercisesTab}},
              {"ScoreLabel", TShown::Caption, {TEntry::RequiredScoreLabel}},
              {"ExercLevelsBox", TShown::Caption, {TEntry::PracticeLevelsBox}},
              {"QuickLabel", TShown::Caption, {TEntry::QuickLevelLabel}},
              {"NormalLabel", TShown::Caption, {TEntry::NormalLevelLabel}},
              {"IntensiveLabel", TShown::Caption, {TEntry::IntensiveLevelLabel}},
              {"QWordsLabel", TShown::Caption, {TEntry::LevelWordsLabel}},
              {"NWordsLabel", TShown::Caption, {TEntry::LevelWordsLabel}},
              {"IWordsLabel", TShown::Caption, {TEntry::LevelWordsLabel}},
              {"QTimesLabel", TShown::Caption, {TEntry::LevelTimesLabel}},
              {"NTimesLabel", TShown::Caption, {TEntry::LevelTimesLabel}},
              {"ITimesLabel", TShown::Caption, {TEntry::LevelTimesLabel}},
              {"LanguageTab", TShown::Caption, {TEntry::LanguageTab}},
              {"LanguageLabel", TShown::Caption, {TEntry::LanguageListLabel}},
              {"OthersTab", TShown::Caption, {TEntry::OthersTab}},
              {"MRUCheckBox", TShown::Caption, {TEntry::LoadMRUCheck}},
              {"RegisterCheckBox", TShown::Caption, {TEntry::RegisterFileTypeCheck}},
              {"NoiseLabel", TShown::Caption, {TEntry::NoiseLevelLabel}},
              {"OKButton", TShown::Caption, {TEntry::OkButton}},
              {"CancelButton", TShown::Caption, {TEntry::CancelButton}}}},
            {[]() -> QWidget * { return PartsOfSpeechForm; },
             {{"", TShown::Caption, {TEntry::PartsOfSpeechCaption}},
              {"TopLabel", TShown::Caption, {TEntry::PartsOfSpeechTopLabel}},
              {"UsedLabel", TShown::Caption, {TEntry::UsedPartsLabel}},
              {"AvailableLabel", TShown::Caption, {TEntry::AvailablePartsLabel}},
              {"NewLabel", TShown::Caption, {TEntry::NewPartLabel}},
              {"UpButton", TShown::Caption, {TEntry::MoveUpButton}},
              {"DownButton", TShown::Caption, {TEntry::MoveDownButton}},
              {"DeleteButton", TShown::Caption, {TEntry::DeletePartButton}},
              {"DefaultButton", TShown::Caption, {TEntry::RestoreDefaultsButton}},
              {"OKButton", TShown::Caption, {TEntry::OkButton}},
              {"CancelButton", TShown::Caption, {TEntry::CancelButton}}}},
            // The keyboard tool's keys that type no character carry captions drawn on the panel.
            {[]() -> QWidget * { return KBLayoutForm; },
             {{"KeyboardPanel",
               TShown::KeyCaptions,
               {TEntry::TabKeyLabel, TEntry::CapsLockKeyLabel, TEntry::BackspaceKeyLabel,
                TEntry::EnterKeyLabel, TEntry::StartKeyLabel, TEntry::StartKeyLabel,
                TEntry::ContextKeyLabel, TEntry::CtrlKeyLabel}},
              {"LShiftButton", TShown::Caption, {TEntry::ShiftKeyLabel}},
              {"LCtrlButton", TShown::Caption, {TEntry::CtrlKeyLabel}},
              {"LAltButton", TShown::Caption, {TEntry::AltKeyLabel}},
              {"RAltButton", TShown::Caption, {TEntry::AltKeyLabel}},
              {"RShiftButton", TShown::Caption, {TEntry::ShiftKeyLabel}},
              {"DeadKeyLabel", TShown::Caption, {TEntry::DeadKeyLabel}},
              {"DeadKeyCheck", TShown::Caption, {TEntry::DeadKeyCheck}},
              {"PrintButton", TShown::Caption, {TEntry::KeyboardPrintButton}},
              {"KeyPrintsButton", TShown::Caption, {TEntry::KeyPrintsButton}},
              {"CloseButton", TShown::Caption, {TEntry::CloseButton}},
              {"InsertButton", TShown::Caption, {TEntry::InsertKeysButton}},
              {"KeyPrintsHelpLabel", TShown::Caption, {TEntry::KeyPrintsHelp}},
              {"CancelPrintsButton", TShown::Caption, {TEntry::CancelButton}},
              {"OKPrintsButton", TShown::Caption, {TEntry::OkButton}}}},
            {[]() -> QWidget * { return AboutForm; },
             {{"CopyrightLabel", TShown::Caption, {TEntry::CopyrightText}},
              {"AuthorLabel", TShown::Caption, {TEntry::AuthorText}},
              {"EmailLabel", TShown::Caption, {TEntry::EmailCaption}},
              {"EmailLink", TShown::Caption, {TEntry::EmailAddress}},
              {"WebLabel", TShown::Caption, {TEntry::WebCaption}},
              {"WebLink", TShown::Caption, {TEntry::HomepageAddress}},
              {"OKButton", TShown::Caption, {TEntry::OkButton}}}},
    };
    return table;
}

class PackEntries : public ProgramFixture
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(ProgramFixture::SetUp());
        CreateProgram();
        ASSERT_TRUE(Start());
    }
};

} // namespace

TEST_F(PackEntries, EveryControlOfEveryWindowShowsTheEntryTheTableGivesIt)
{
    TNumberedPack pack;
    // Twice: a second application gives the same texts and no list grows.
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        ApplyLanguage();
        for (const TWindowTexts &window : PackTable()) {
            QWidget *form = window.Window();
            ASSERT_NE(nullptr, form);
            for (const TExpectedText &expected : window.Texts) {
                std::vector<std::string> shown;
                for (const QString &text : ShownTexts(*form, expected))
                    shown.push_back(text.toStdString());
                std::vector<std::string> wanted = NumberedTexts(expected.Entries);
                if (expected.Shown == TShown::KeyCaptions) {
                    std::sort(shown.begin(), shown.end());
                    std::sort(wanted.begin(), wanted.end());
                }
                EXPECT_EQ(wanted, shown)
                        << form->objectName().toStdString() << '.' << expected.Control;
            }
        }
    }
}
