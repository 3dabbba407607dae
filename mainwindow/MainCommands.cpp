// The main window's commands: the command list with its update handlers, the menus' rules and
// what each command runs.

#include "core/ModalResult.h"
#include "core/Texts.h"
#include "core/Unit_GlobalSettings.h"
#include "core/Unit_LanguagePack.h"
#include "core/Unit_Warnings.h"
#include "core/Unit_WordList.h"
#include "dialogs/Unit_AboutForm.h"
#include "dialogs/Unit_FindForm.h"
#include "dialogs/Unit_OptionsForm.h"
#include "dialogs/Unit_PartsOfSpeechForm.h"
#include "dialogs/Unit_WLSettingsForm.h"
#include "exercises/Unit_SetExercWordsForm.h"
#include "exercises/Unit_SetLessonForm.h"
#include "grid/WordsGrid.h"
#include "kbtool/Unit_KBLayoutForm.h"
#include "mainwindow/CommandList.h"
#include "mainwindow/CommandRules.h"
#include "mainwindow/Main.h"
#include "platform/CodePage.h"
#include "print/Unit_Print.h"
#include "ui_MainForm.h"
#include "widgets/KBAwareEdit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QStyle>
#include <QToolBar>
#include <utility>

namespace {

constexpr uint8_t DefaultCharset = 1;
constexpr int DefaultFontSize = 8;
constexpr const char *NewListFont = "Arial";

QString FromFileName(const std::string &name)
{
    return QFile::decodeName(QByteArray::fromStdString(name));
}

std::string ToFileName(const QString &name)
{
    return QFile::encodeName(name).toStdString();
}

class TProgramListSettingsDialog : public IListSettingsDialog
{
public:
    bool Execute(TListSettings &settings) override
    {
        if (!WLSettingsForm)
            return false;
        WLSettingsForm->Fill(settings);
        if (WLSettingsForm->exec() != mrOk)
            return false;
        WLSettingsForm->Read(settings);
        return true;
    }
};

IListSettingsDialog *InstalledListSettings = nullptr;

IListSettingsDialog &ListSettingsDialog()
{
    static TProgramListSettingsDialog program;
    return InstalledListSettings ? *InstalledListSettings : program;
}

template<class TWidget> TWidget *Control(QWidget *window, const char *name)
{
    return window ? window->findChild<TWidget *>(QLatin1String(name)) : nullptr;
}

void SetIcon(QAction &action, const char *themeName, QStyle::StandardPixmap fallback)
{
    action.setIcon(QIcon::fromTheme(QLatin1String(themeName),
                                    QApplication::style()->standardIcon(fallback)));
}

} // namespace

IListSettingsDialog *SetListSettingsDialog(IListSettingsDialog *dialog)
{
    return std::exchange(InstalledListSettings, dialog);
}

void TMainForm::CreateCommands()
{
    ActionList = new TCommandList(this);
    ActionList->SetPrepare([this] { PassState = CommandState(); });
    Ui::TMainForm &c = *ui;
    AddCommand(c.ActNew, TCommand::New, &TMainForm::ActNewExecute);
    AddCommand(c.ActOpen, TCommand::Open, &TMainForm::ActOpenExecute);
    AddCommand(c.ActSave, TCommand::Save, &TMainForm::ActSaveExecute);
    AddCommand(c.MISaveAs, TCommand::SaveAs, &TMainForm::MISaveAsClick);
    AddCommand(c.MIImport, TCommand::Import, &TMainForm::MIImportClick);
    AddCommand(c.MIExport, TCommand::Export, &TMainForm::MIExportClick);
    AddCommand(c.MIPrinterSetup, TCommand::PrinterSetup, &TMainForm::MIPrinterSetupClick);
    AddCommand(c.MIPrint, TCommand::Print, &TMainForm::MIPrintClick);
    AddCommand(c.MIExit, TCommand::Exit, &TMainForm::MIExitClick);
    AddCommand(c.ActUndo, TCommand::Undo, &TMainForm::ActUndoExecute);
    AddCommand(c.ActCut, TCommand::Cut, &TMainForm::ActCutExecute);
    AddCommand(c.ActCopy, TCommand::Copy, &TMainForm::ActCopyExecute);
    AddCommand(c.ActPaste, TCommand::Paste, &TMainForm::ActPasteExecute);
    AddCommand(c.ActDelete, TCommand::Delete, &TMainForm::ActDeleteExecute);
    AddCommand(c.MISelectAll, TCommand::SelectAll, &TMainForm::MISelectAllClick);
    AddCommand(c.MIKeyboardLayout, TCommand::KeyboardLayout, &TMainForm::MIKeyboardLayoutClick);
    AddCommand(c.MIOptions, TCommand::Options, &TMainForm::MIOptionsClick);
    AddCommand(c.ActInsertNewWord, TCommand::InsertNewWord, &TMainForm::ActInsertNewWordExecute);
    AddCommand(c.ActSetLesson, TCommand::SetLesson, &TMainForm::ActSetLessonExecute);
    AddCommand(c.ActBatchRec, TCommand::BatchRec, &TMainForm::ActBatchRecExecute);
    AddCommand(c.ActInsertSound, TCommand::InsertSound, &TMainForm::ActInsertSoundExecute);
    AddCommand(c.ActFind, TCommand::Find, &TMainForm::ActFindExecute);
    AddCommand(c.MIFindNext, TCommand::FindNext, &TMainForm::MIFindNextClick);
    AddCommand(c.MIWordlistSettings, TCommand::WordlistSettings,
               &TMainForm::MIWordlistSettingsClick);
    AddCommand(c.ActSetWords, TCommand::SetWords, &TMainForm::ActSetWordsExecute);
    AddCommand(c.ActResetScore, TCommand::ResetScore, &TMainForm::ActResetScoreExecute);
    AddCommand(c.ActStartExercise, TCommand::StartExercise, &TMainForm::ActStartExerciseExecute);
    AddCommand(c.ActStartTest, TCommand::StartTest, &TMainForm::ActStartTestExecute);
    AddCommand(c.ActHelp, TCommand::Help, &TMainForm::ActHelpExecute);
    AddCommand(c.MIHomepage, TCommand::Homepage, &TMainForm::MIHomepageClick);
    AddCommand(c.MIAbout, TCommand::About, &TMainForm::MIAboutClick);

    const std::array<std::array<QAction *, 3>, 4> levels{{
            {c.ActOffBoth, c.ActOffForToRef, c.ActOffRefToFor},
            {c.ActQuickBoth, c.ActQuickForToRef, c.ActQuickRefToFor},
            {c.ActNormalBoth, c.ActNormalForToRef, c.ActNormalRefToFor},
            {c.ActIntensiveBoth, c.ActIntensiveForToRef, c.ActIntensiveRefToFor},
    }};
    for (size_t level = 0; level < levels.size(); ++level) {
        const auto value = static_cast<uint8_t>(level);
        AddLevelCommand(levels[level][0], true, true, value);
        AddLevelCommand(levels[level][1], true, false, value);
        AddLevelCommand(levels[level][2], false, true, value);
    }
    for (QMenu *submenu : {c.MITurnOff, c.MISetQuick, c.MISetNormal, c.MISetIntensive})
        ActionList->Add(submenu->menuAction(), [this](QAction &action) {
            action.setEnabled(CommandEnabled(TCommand::LevelSubmenu, PassState));
        });
    SetMenuRules();

    SetIcon(*c.ActNew, "document-new", QStyle::SP_FileIcon);
    SetIcon(*c.ActOpen, "document-open", QStyle::SP_DialogOpenButton);
    SetIcon(*c.ActSave, "document-save", QStyle::SP_DialogSaveButton);
    SetIcon(*c.ActUndo, "edit-undo", QStyle::SP_ArrowBack);
    SetIcon(*c.ActCut, "edit-cut", QStyle::SP_DialogResetButton);
    SetIcon(*c.ActCopy, "edit-copy", QStyle::SP_FileDialogContentsView);
    SetIcon(*c.ActPaste, "edit-paste", QStyle::SP_DialogApplyButton);
    SetIcon(*c.ActDelete, "edit-delete", QStyle::SP_TrashIcon);
    SetIcon(*c.ActSetLesson, "bookmark-new", QStyle::SP_FileDialogDetailedView);
    SetIcon(*c.ActBatchRec, "media-record", QStyle::SP_MediaVolume);
    SetIcon(*c.ActFind, "edit-find", QStyle::SP_FileDialogContentsView);
    SetIcon(*c.ActSetWords, "view-list-details", QStyle::SP_FileDialogListView);
    SetIcon(*c.ActStartExercise, "media-playback-start", QStyle::SP_MediaPlay);
    SetIcon(*c.ActStartTest, "dialog-question", QStyle::SP_MessageBoxQuestion);
    SetIcon(*c.ActHelp, "help-contents", QStyle::SP_DialogHelpButton);

    // The right button opens the pop-up menu where the user clicked, over the cell it made
    // current.
    ui->WordsGrid->SetContextMenu(ui->PopupMenu);
    UpdateCommands();
}

void TMainForm::AddCommand(QAction *action, TCommand rule, void (TMainForm::*execute)())
{
    ActionList->Add(action, [this, rule](QAction &target) {
        target.setEnabled(CommandEnabled(rule, PassState));
        if (rule == TCommand::Delete)
            target.setShortcut(DeleteShortcut(PassState));
    });
    // The rule is asked again: a state left over from the last idle moment must not run.
    connect(action, &QAction::triggered, this, [this, rule, execute] {
        if (Allowed(rule))
            (this->*execute)();
    });
}

void TMainForm::AddLevelCommand(QAction *action, bool forToRef, bool refToFor, uint8_t level)
{
    ActionList->Add(action, [this, forToRef, refToFor](QAction &target) {
        target.setEnabled(CommandEnabled(TCommand::SetLevel, PassState));
        const TWordList *list = ui->WordsGrid->GetWordList();
        if (!list || forToRef == refToFor)
            return;
        const std::string caption = forToRef
                ? ForToRefCaption(LanguageText(TEntry::ForToRefItem), list->ForLanguage,
                                  list->RefLanguage)
                : RefToForCaption(LanguageText(TEntry::RefToForItem), list->ForLanguage,
                                  list->RefLanguage);
        target.setText(DecodeText(caption));
    });
    connect(action, &QAction::triggered, this, [this, forToRef, refToFor, level] {
        if (!Allowed(TCommand::SetLevel))
            return;
        ui->WordsGrid->SetLevels(forToRef, refToFor, level, level);
    });
}

// Each menu sets its items as it opens; the same rules run at idle time, so that the items'
// shortcuts follow them too.
void TMainForm::SetMenuRules()
{
    for (QMenu *menu : {ui->MFile, ui->MEdit, ui->MWordlist, ui->MExercise, ui->PopupMenu})
        connect(menu, &QMenu::aboutToShow, this, &TMainForm::UpdateCommands);
}

void TMainForm::UpdateCommands()
{
    if (ActionList)
        ActionList->Update();
}

TCommandState TMainForm::CommandState() const
{
    const TWordsGrid &grid = *ui->WordsGrid;
    TCommandState state;
    state.Busy = Busy || grid.IsBusy();
    state.List = grid.GetWordList() != nullptr;
    state.Saved = grid.GetSaved();
    state.WordCount = grid.GetWordCount();
    state.Mode = grid.SelectionMode();
    state.Targets = grid.CanSetExercise();
    state.CanInsert = grid.CanInsert();
    state.CanInsertSound = grid.CanActOnOneWord();
    state.CanPaste = grid.CanPaste();
    state.CanSelectAll = grid.CanSelectAll();
    state.UndoKind = grid.GetUndoKind();
    const QWidget *active = focusWidget();
    state.TextEditorActive
            = active == ui->ForWordEdit || active == ui->RefWordEdit || active == ui->ContextEdit;
    const auto *findButton = Control<QAbstractButton>(FindForm, "FindButton");
    state.FindButtonEnabled = findButton && findButton->isEnabled();
    state.MainWindowActive = QApplication::activeWindow() == this;
    return state;
}

bool TMainForm::Allowed(TCommand command) const
{
    return CommandEnabled(command, CommandState());
}

void TMainForm::CloseFindForm()
{
    if (FindForm)
        FindForm->close();
}

// The folder and the filter index are kept only after OK.
bool TMainForm::RunFileDialog(TFileDialogRequest &request, TEntry titleEntry, TEntry filterEntry,
                              const char *suffix, bool save, int &filterIndex)
{
    std::string &folder = save ? MRUSave : MRUOpen;
    request.Save = save;
    request.Title = PackText(titleEntry);
    request.Filters = ConvertFilter(PackText(filterEntry));
    request.DefaultSuffix = QLatin1String(suffix);
    request.Folder = FromFileName(folder);
    request.FilterIndex = filterIndex;
    if (!MainFileDialogs().Execute(request))
        return false;
    folder = ToFileName(QFileInfo(request.FileName).absolutePath());
    filterIndex = request.FilterIndex;
    return true;
}

void TMainForm::ActNewExecute()
{
    TListSettings settings;
    settings.Caption = LanguageText(TEntry::NewListCaption);
    settings.RefLanguage = LanguageText(TEntry::DefaultRefLanguage);
    settings.ForCharset = DefaultCharset;
    settings.RefCharset = DefaultCharset;
    settings.ForFontName = NewListFont;
    settings.RefFontName = NewListFont;
    settings.ForSize = DefaultFontSize;
    settings.RefSize = DefaultFontSize;
    settings.ForeignChars = ForeignCharacters;
    CloseFindForm();
    if (!ListSettingsDialog().Execute(settings) || !CheckSaved())
        return;
    auto list = std::make_unique<TWordList>();
    list->InitLanguages(settings.ForLanguage, settings.ForCharset, settings.ForFontName,
                        settings.ForSize, settings.RefLanguage, settings.RefCharset,
                        settings.RefFontName, settings.RefSize);
    list->SetForeignChars(settings.ForeignChars);
    ShowNewList(std::move(list));
}

void TMainForm::ShowNewList(std::unique_ptr<TWordList> list)
{
    ui->WordsGrid->SetWordList(std::move(list));
    ShowTitle();
    RebuildCharToolBar();
    ShowWordCount();
}

void TMainForm::ActOpenExecute()
{
    CloseFindForm();
    TFileDialogRequest request;
    if (!RunFileDialog(request, TEntry::OpenDialogTitle, TEntry::OpenFilter, "wdl", false,
                       OpenFilterIndex)
        || !CheckSaved())
        return;
    OpenList(ToFileName(request.FileName));
}

void TMainForm::ActSaveExecute()
{
    SaveList(false);
}

void TMainForm::MISaveAsClick()
{
    SaveListAs(false);
}

void TMainForm::MIImportClick()
{
    CloseFindForm();
    TFileDialogRequest request;
    if (RunFileDialog(request, TEntry::ImportDialogTitle, TEntry::ImportFilter, "wdl", false,
                      ImportFilterIndex))
        ui->WordsGrid->ImportFile(ToFileName(request.FileName));
}

void TMainForm::MIExportClick()
{
    ExportList();
}

void TMainForm::ExportList()
{
    const TWordList *list = ui->WordsGrid->GetWordList();
    if (!list)
        return;
    CloseFindForm();
    TFileDialogRequest request;
    request.FileName = list->GetListName();
    if (RunFileDialog(request, TEntry::ExportDialogTitle, TEntry::ExportFilter, "txt", true,
                      ExportFilterIndex))
        ui->WordsGrid->ExportText(ToFileName(request.FileName));
}

void TMainForm::MIPrinterSetupClick()
{
    CloseFindForm();
    PrinterSetup(this);
}

void TMainForm::MIPrintClick()
{
    CloseFindForm();
    ui->WordsGrid->Print();
}

void TMainForm::MIExitClick()
{
    close();
}

void TMainForm::ActUndoExecute()
{
    ui->WordsGrid->Undo();
    ui->ToolBar->repaint();
}

void TMainForm::ActCutExecute()
{
    ui->WordsGrid->Cut();
    ui->ToolBar->repaint();
}

void TMainForm::ActCopyExecute()
{
    ui->WordsGrid->Copy();
    ui->ToolBar->repaint();
}

void TMainForm::ActPasteExecute()
{
    ui->WordsGrid->Paste();
    ui->ToolBar->repaint();
}

void TMainForm::ActDeleteExecute()
{
    TWordsGrid &grid = *ui->WordsGrid;
    switch (grid.SelectionMode()) {
    case TSelectionMode::Rows:
        if (EditOptions.ConfirmDelete && WarnYesNo(LanguageText(TEntry::ConfirmDelete)) != mbYes)
            return;
        grid.DeleteSelection();
        break;
    case TSelectionMode::EditorText:
    case TSelectionMode::Sound:
        grid.DeleteSelection();
        break;
    case TSelectionMode::Nothing:
        return;
    }
    ui->ToolBar->repaint();
}

void TMainForm::MISelectAllClick()
{
    ui->WordsGrid->SelectAll();
}

// Each character of the tool's insert edit reaches the active editor as if typed.
void TMainForm::MIKeyboardLayoutClick()
{
    QWidget *active = focusWidget();
    if (!KBLayoutForm || !active)
        return;
    KBLayoutForm->KeyFont = active->font();
    const auto *editor = qobject_cast<const TKBAwareEdit *>(active);
    KBLayoutForm->KeyCodePage = editor ? editor->CodePage : CodePage::Default;
    CloseFindForm();
    if (KBLayoutForm->exec() != mrOk)
        return;
    for (const QChar character : KBLayoutForm->InsertText()) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(character));
        QCoreApplication::sendEvent(active, &press);
    }
}

void TMainForm::MIOptionsClick()
{
    CloseFindForm();
    if (OptionsForm && OptionsForm->exec() == mrOk)
        ui->WordsGrid->InvalidateGrid();
    // The parts-of-speech button writes the setting at once, even when the options are
    // cancelled.
    TPartsOfSpeechForm::FillPartsOfSpeechCombo(*ui->PartOfSpeechCombo);
}

void TMainForm::ActInsertNewWordExecute()
{
    ui->WordsGrid->InsertRow();
}

void TMainForm::ActSetLessonExecute()
{
    CloseFindForm();
    if (SetLessonForm && SetLessonForm->exec() == mrOk)
        ui->WordsGrid->SetLesson(SetLessonForm->Lesson());
}

// Batch recording needs the batch-recording window's sound handling, which is not there yet.
void TMainForm::ActBatchRecExecute()
{
    CloseFindForm();
    ui->WordsGrid->BatchRecord();
}

void TMainForm::ActInsertSoundExecute()
{
    CloseFindForm();
    TFileDialogRequest request;
    if (RunFileDialog(request, TEntry::InsertSoundDialogTitle, TEntry::InsertSoundFilter, "wav",
                      false, SoundFilterIndex))
        ui->WordsGrid->InsertSoundFile(ToFileName(request.FileName));
}

// The page of the column whose editor is active; any other control keeps the page.
void TMainForm::ActFindExecute()
{
    if (!FindForm)
        return;
    const QWidget *active = focusWidget();
    const std::array<std::pair<const QWidget *, TFindForm::TPage>, 6> pages{{
            {ui->ForWordEdit, TFindForm::fpForeign},
            {ui->RefWordEdit, TFindForm::fpReference},
            {ui->ContextEdit, TFindForm::fpContext},
            {ui->PartOfSpeechCombo, TFindForm::fpPartOfSpeech},
            {ui->PartOfSpeechCombo->lineEdit(), TFindForm::fpPartOfSpeech},
            {ui->LessonEdit, TFindForm::fpLesson},
    }};
    for (const auto &[editor, page] : pages) {
        if (active && active == editor)
            FindForm->SetActivePage(page);
    }
    FindForm->Open(this);
}

void TMainForm::MIFindNextClick()
{
    if (FindForm)
        FindForm->FindAgain();
}

void TMainForm::MIWordlistSettingsClick()
{
    const TWordList *list = ui->WordsGrid->GetWordList();
    if (!list)
        return;
    TListSettings settings;
    settings.Caption = LanguageText(TEntry::ListSettingsCaption);
    settings.ForLanguage = list->ForLanguage;
    settings.RefLanguage = list->RefLanguage;
    if (list->ForFont) {
        settings.ForCharset = list->ForFont->Charset;
        settings.ForFontName = list->ForFont->Name;
        settings.ForSize = list->ForFont->Size;
    }
    if (list->RefFont) {
        settings.RefCharset = list->RefFont->Charset;
        settings.RefFontName = list->RefFont->Name;
        settings.RefSize = list->RefFont->Size;
    }
    settings.ForeignChars = list->ForeignChars;
    CloseFindForm();
    if (!ListSettingsDialog().Execute(settings))
        return;
    TWordsGrid &grid = *ui->WordsGrid;
    grid.SetForLanguage(settings.ForLanguage);
    grid.SetForFont(std::make_unique<TListFont>(
            TListFont{settings.ForFontName, settings.ForCharset, settings.ForSize}));
    grid.SetRefLanguage(settings.RefLanguage);
    grid.SetRefFont(std::make_unique<TListFont>(
            TListFont{settings.RefFontName, settings.RefCharset, settings.RefSize}));
    grid.InvalidateGrid();
    // The foreign characters are not words: the change has no undo.
    grid.GetWordList()->SetForeignChars(settings.ForeignChars);
    RebuildCharToolBar();
}

void TMainForm::ActSetWordsExecute()
{
    const TWordList *list = ui->WordsGrid->GetWordList();
    if (!list || !SetExercWordsForm)
        return;
    if (auto *box = Control<QGroupBox>(SetExercWordsForm, "ForRefBox"))
        box->setTitle(DecodeText(ForToRefCaption(LanguageText(TEntry::SetWordsDirectionBox),
                                                 list->ForLanguage, list->RefLanguage)));
    if (auto *box = Control<QGroupBox>(SetExercWordsForm, "RefForBox"))
        box->setTitle(DecodeText(RefToForCaption(LanguageText(TEntry::SetWordsDirectionBox),
                                                 list->ForLanguage, list->RefLanguage)));
    CloseFindForm();
    if (SetExercWordsForm->exec() != mrOk)
        return;
    const auto choice = [](const char *check, const char *on, const char *levels) {
        const auto *checkBox = Control<QCheckBox>(SetExercWordsForm, check);
        const auto *onRadio = Control<QRadioButton>(SetExercWordsForm, on);
        const auto *levelCombo = Control<QComboBox>(SetExercWordsForm, levels);
        return LevelChoice(checkBox && checkBox->isChecked(), onRadio && onRadio->isChecked(),
                           levelCombo ? levelCombo->currentIndex() : 0);
    };
    const TLevelChoice first = choice("ForRefCheckBox", "ForRefOnRadio", "ForRefLevelCombo");
    const TLevelChoice second = choice("RefForCheckBox", "RefForOnRadio", "RefForLevelCombo");
    ui->WordsGrid->SetLevels(first.Change, second.Change, first.Level, second.Level);
}

void TMainForm::ActResetScoreExecute()
{
    ui->WordsGrid->ResetScores();
}

void TMainForm::ActStartExerciseExecute()
{
    StartExercise(true);
}

void TMainForm::ActStartTestExecute()
{
    StartExercise(false);
}

// Only a web or mail address is opened: the text comes from a language pack file.
void TMainForm::MIHomepageClick()
{
    const QUrl url = HomepageUrl(PackText(TEntry::HomepageAddress));
    if (url.isValid())
        QDesktopServices::openUrl(url);
}

void TMainForm::MIAboutClick()
{
    if (AboutForm)
        AboutForm->exec();
}
