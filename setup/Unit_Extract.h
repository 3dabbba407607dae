#pragma once

#include "setup/Unit_DataFile.h"

#include <QDialog>
#include <QMutex>
#include <QPointer>
#include <QThread>
#include <QWaitCondition>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace Ui {
class TExtractForm;
}

class TExtractForm;
class TLogFile;

// Where the worker waits before every step while the dialog asks whether to leave. Exit sets the
// terminate flag before it opens the gate, so no further step runs.
class TExtractGate
{
public:
    void Close();
    void Open();
    void Terminate();
    // Waits while closed; false once terminated.
    bool Pass();
    bool IsClosed() const;
    bool Terminated() const;

private:
    mutable QMutex mutex;
    QWaitCondition opened;
    bool closed = false;
    bool terminated = false;
};

// Sequences the extraction; every step that touches a file, the log or a window runs on the GUI
// thread while the worker waits. Frees itself when it ends.
class TExtractThread : public QThread
{
    Q_OBJECT

public:
    explicit TExtractThread(TExtractForm *form);
    ~TExtractThread() override;

    TExtractGate Gate;
    bool YesToAll = false;
    bool VolumeMissing = false; // the user gave up on a missing volume
    bool Aborted = false; // the user left at the overwrite question, or a failure

protected:
    void run() override;

private:
    bool Synchronize(const std::function<void()> &step);
    bool Stopped() const;
    void OpenFirstVolume();
    void ExtractStep();
    void NextVolume();
    bool OpenVolume(int number);
    bool RunPass(int64_t &sum);
    void Finish(int result);

    TExtractForm *form;
    TExtractOutput output;
    std::unique_ptr<TDataFile> volume;
    int32_t total = 0;
    int64_t budget = 0;
    int64_t done = 0;
    int volumeNumber = 0;
};

// The extraction dialog. The wizard sets Log and DestFolder, shows it modally and reads the
// result: 1 when every file was written, 2 when the user left or it failed.
class TExtractForm : public QDialog
{
    Q_OBJECT

public:
    explicit TExtractForm(QWidget *parent = nullptr);
    ~TExtractForm() override;

    // Caption, label and cancel button from setup entries 26, 27 and 1.
    void ApplyLanguage();

    TLogFile *Log = nullptr;
    std::string DestFolder; // local path of the install folder
    // The wizard's exit dialog: true for Exit. Used by the dialog questions; unset means Exit.
    std::function<bool()> ExitQuestion;
    // Where the volumes are looked for; empty: the working folder, then setup's own folder.
    std::vector<std::string> VolumeFolders;
    // Replaces the dialogs (tests); nullptr restores them. Not owned.
    void SetQuestions(TExtractQuestions *questions);
    TExtractQuestions &Questions();

    bool GaveUp = false; // the user left at the missing-volume question, or a failure
    bool ExitChosen = false; // the user left at the overwrite question
    bool YesToAll = false; // copied from the worker after each step

    // The running worker, or null once it has ended.
    QPointer<TExtractThread> Worker;

    // Steps of the worker.
    void SetResult(int result);
    void StepProgress();
    int Progress() const;

    void done(int result) override;
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void CancelButtonClick();
    bool FormCloseQuery();
    void FormClose();
    void CloseWithResult(int result);

    std::unique_ptr<Ui::TExtractForm> ui;
    std::unique_ptr<TExtractQuestions> dialogQuestions;
    TExtractQuestions *questions = nullptr;
    int modalResult = 0;
};

extern TExtractForm *ExtractForm;
