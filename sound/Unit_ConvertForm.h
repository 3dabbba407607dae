#pragma once

#include "sound/Unit_ConvertThread.h"

#include <QDialog>
#include <QPointer>
#include <memory>

namespace Ui {
class TConvertForm;
}

// The modal progress window under which WAV sound becomes MP3: one file, the parts of a batch
// recording, or every sound of a word list being read. The caller fills Task and shows the window
// with exec(), whose result is TConvertResult: 1 done, 2 failed, 3 cancelled.
class TConvertForm
    : public QDialog
    , private IConvertView
{
    Q_OBJECT

public:
    explicit TConvertForm(QWidget *parent = nullptr);
    ~TConvertForm() override;

    // Puts the loaded language pack's texts on the window.
    void ApplyLanguage();

    TConvertTask Task;
    // Shows the window modally over the task; the answer is its TConvertResult.
    int Run(const TConvertTask &task);

    Ui::TConvertForm &Controls() const { return *ui; }
    bool Running() const { return Thread; }
    // Escape and the cancel button only ask the conversion to stop; the window closes when it
    // has.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormShow();
    void CancelButtonClick();
    void FinishThread();

    void InitCurrentProgress(int64_t chunkCount) override;
    void StepCurrentProgress() override;
    void UpdateTotalProgress(int percent) override;

    std::unique_ptr<Ui::TConvertForm> ui;
    QPointer<TConvertThread> Thread;
};

extern TConvertForm *ConvertForm;
