#pragma once

#include "core/LanguageEntries.h"
#include "dialogs/ListSettings.h"
#include "mainwindow/CommandRules.h"
#include "mainwindow/FileDialogs.h"
#include "widgets/HelpDispatcher.h"

#include <QMainWindow>
#include <QPoint>
#include <QPointer>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <string>

class QAction;
class QToolButton;
class TCommandList;
class TFilesThread;
class TMessageEvent;
class TWordList;
class TWordsGrid;

namespace Ui {
class TMainForm;
}

// Shows the list-settings dialog filled from settings; after OK settings holds what the user
// chose. Tests put a script in.
class IListSettingsDialog
{
public:
    virtual ~IListSettingsDialog() = default;
    virtual bool Execute(TListSettings &settings) = 0;
};

// nullptr restores the program's dialog. Gives back the one installed before.
IListSettingsDialog *SetListSettingsDialog(IListSettingsDialog *dialog);

// Whether an argument only switches on the help report, and so never names the list to open.
bool IsDebugArgument(const QString &argument);
// The list that start-up opens: the command line's one file argument (the program's own name
// first in arguments), else the last used list when loadMRU is set, else "".
std::string StartupFileName(const QStringList &arguments, bool loadMRU, const std::string &mruList);
// "Tarnwick", or "Tarnwick - " and the list's name.
QString MainTitle(const TWordList *list);

// The trainer's main window. Its first showing starts the program up; its closing ends it.
class TMainForm : public QMainWindow
{
    Q_OBJECT

public:
    explicit TMainForm(QWidget *parent = nullptr);
    ~TMainForm() override;

    TWordsGrid *WordsGrid() const;
    Ui::TMainForm &Controls() const { return *ui; }

    // True when the current list may be discarded; asks about unsaved changes and saves at once
    // when told to.
    bool CheckSaved();
    // Saves to the list's file, or to one the save-as dialog asks for. A synchronous save is done
    // before returning; a threaded one after the command has returned. False when cancelled or
    // when the synchronous save failed.
    bool SaveList(bool Synchronous);
    bool SaveListAs(bool Synchronous);
    void ExportList();
    // The commands' update handlers, run now rather than at the next idle moment.
    void UpdateCommands();
    // Puts the loaded language pack's texts on the menus, commands and fixed lists.
    void ApplyLanguage();

    // Runs an exercise (true) or a test (false) over the current list: chooses the words, shows
    // the start dialog, then the exercise window with the grid and its editors out of sight.
    void StartExercise(bool Exercise);

    void ShowWordCount();
    void RebuildCharToolBar();
    void CharacterTBClick(QToolButton *button);

    // The program's arguments as start-up reads them, its own name first.
    QStringList CommandLine;

    int OpenFilterIndex = 1;
    int ImportFilterIndex = 1;
    int SaveAsFilterIndex = 1;
    int ExportFilterIndex = 1;
    int SoundFilterIndex = 0;
    bool Busy = false;
    bool SaveSettingsOnClose = true;
    // Start-up failed (no settings or no pack): the program closed at once.
    bool StartFailed = false;
    QPointer<TFilesThread> FilesThread;
    QWidget *CharToolBar = nullptr;
    QPoint PopupPos;
    // The application's help handler from before start-up hooked the window's own.
    THelpHandler OldOnHelp;
    // MainHelp.cpp: the application's help handler while the window lives, and its pop-ups.
    bool HelpHandler(uint32_t Command, uint32_t Data, bool &CallHelp);
    void ShowHelpPopup(uint32_t Context, QPoint Position);
    TCommandList *ActionList = nullptr;
    // The state the handlers of the current update pass read.
    TCommandState PassState;

signals:
    // Start-up has run to its end: a list opened at start is on show (or failed to open).
    void StartupDone();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;

private:
    void FormShow();
    bool FormCloseQuery();
    void FormClose();
    void ApplyHelpContexts();
    void HookHelp();
    // Does nothing unless hooked: the window may go without a close.
    void UnhookHelp();
    bool HelpHooked = false;
    void StartupFailed(const char *text);
    void CheckFileType();
    void OpenList(const std::string &fileName);
    bool SaveTo(const std::string &fileName, bool synchronous);
    void ShowTitle();
    void HideGridForExercise();

    void CreateCommands();
    void AddCommand(QAction *action, TCommand command, void (TMainForm::*execute)());
    void AddLevelCommand(QAction *action, bool forToRef, bool refToFor, uint8_t level);
    void SetMenuRules();
    // What the enable rules ask of the grid and the window right now.
    TCommandState CommandState() const;
    bool Allowed(TCommand command) const;
    bool RunFileDialog(TFileDialogRequest &request, TEntry titleEntry, TEntry filterEntry,
                       const char *suffix, bool save, int &filterIndex);
    void CloseFindForm();
    void ShowNewList(std::unique_ptr<TWordList> list);

    void ActNewExecute();
    void ActOpenExecute();
    void ActSaveExecute();
    void MISaveAsClick();
    void MIImportClick();
    void MIExportClick();
    void MIPrinterSetupClick();
    void MIPrintClick();
    void MIExitClick();
    void ActUndoExecute();
    void ActCutExecute();
    void ActCopyExecute();
    void ActPasteExecute();
    void ActDeleteExecute();
    void MISelectAllClick();
    void MIKeyboardLayoutClick();
    void MIOptionsClick();
    void ActInsertNewWordExecute();
    void ActSetLessonExecute();
    void ActBatchRecExecute();
    void ActInsertSoundExecute();
    void ActFindExecute();
    void MIFindNextClick();
    void MIWordlistSettingsClick();
    void ActSetWordsExecute();
    void ActResetScoreExecute();
    void ActStartExerciseExecute();
    void ActStartTestExecute();
    void ActHelpExecute();
    void MIHomepageClick();
    void MIAboutClick();

    void WMKbLayoutChanged(const TMessageEvent &message);
    void WMGridBusy(const TMessageEvent &message);
    void WMWordCountChanged(const TMessageEvent &message);
    void WMFilesThreadDone(const TMessageEvent &message);

    std::unique_ptr<Ui::TMainForm> ui;
    bool Shown = false;
    bool Starting = false;
    // The settings were read at start-up, so the close may write them back.
    bool SettingsRead = false;
};

extern TMainForm *MainForm;
