#pragma once

#include <QMainWindow>
#include <QPoint>
#include <QPointer>
#include <cstdint>
#include <memory>
#include <string>

#include <QStringList>
class QToolButton;
class TFilesThread;
class TMessageEvent;
class TWordList;
class TWordsGrid;

namespace Ui {
class TMainForm;
}

// The file names the main window asks the user for. The program shows the desktop's file
// dialog; tests put a script in.
class IMainFileDialogs
{
public:
    virtual ~IMainFileDialogs() = default;
    // The save-as dialog preset to fileName; false when cancelled.
    virtual bool SaveAs(std::string &fileName) = 0;
};

// nullptr restores the desktop dialogs. Gives back the ones installed before.
IMainFileDialogs *SetMainFileDialogs(IMainFileDialogs *dialogs);

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
    // The save that answers the unsaved-changes question, done before returning: to the list's
    // file, or to one the save-as dialog asks for. False when cancelled or the save failed.
    bool SaveList();
    bool SaveListAs();

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
    QPointer<TFilesThread> FilesThread;
    QWidget *CharToolBar = nullptr;
    QPoint PopupPos;

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
    void StartupFailed(const char *text);
    void CheckFileType();
    void OpenList(const std::string &fileName);
    bool SaveTo(const std::string &fileName);
    void ShowTitle();
    void HideGridForExercise();

    void WMKbLayoutChanged(const TMessageEvent &message);
    void WMGridBusy(const TMessageEvent &message);
    void WMWordCountChanged(const TMessageEvent &message);
    void WMFilesThreadDone(const TMessageEvent &message);

    std::unique_ptr<Ui::TMainForm> ui;
    bool Shown = false;
    bool Starting = false;
};

extern TMainForm *MainForm;
