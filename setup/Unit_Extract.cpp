#include "setup/Unit_Extract.h"
#include "setup/Unit_SetupTexts.h"

#include "core/Unit_LanguagePack.h"
#include "platform/Beep.h"
#include "platform/CodePage.h"
#include "setup/Unit_LogFile.h"
#include "setup/Unit_Overwrite.h"
#include "setup/Unit_SetupPaths.h"

#include "ui_ExtractForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>
#include <limits>

TExtractForm *ExtractForm = nullptr;

namespace {

// The questions as the user sees them.
class TDialogQuestions : public TExtractQuestions
{
public:
    explicit TDialogQuestions(TExtractForm *form)
        : form(form)
    { }

    bool AskExit() override { return !form->ExitQuestion || form->ExitQuestion(); }

    bool AskForDisk(const std::string &text) override
    {
        QMessageBox box(QMessageBox::Question, Setup::SetupText(TSetupEntry::MissingVolumeCaption),
                        DecodeText(text), QMessageBox::NoButton, form);
        QPushButton *ok = box.addButton(Setup::SetupText(TSetupEntry::RetryButton),
                                        QMessageBox::AcceptRole);
        QPushButton *cancel = box.addButton(Setup::SetupText(TSetupEntry::CancelButton),
                                            QMessageBox::RejectRole);
        box.setDefaultButton(ok);
        box.setEscapeButton(cancel);
        PlatformBeep(TBeepKind::Question);
        box.exec();
        return box.clickedButton() != ok;
    }

    int AskOverwrite(const std::string &text) override
    {
        if (OverwriteForm)
            return OverwriteForm->Ask(text);
        TOverwriteForm dialog(form);
        dialog.ApplyLanguage();
        return dialog.Ask(text);
    }

    void ShowError(const std::string &text) override
    {
        QMessageBox::critical(form, QApplication::applicationDisplayName(), DecodeText(text));
    }

private:
    TExtractForm *form;
};

} // namespace

void TExtractGate::Close()
{
    QMutexLocker lock(&mutex);
    closed = true;
}

void TExtractGate::Open()
{
    QMutexLocker lock(&mutex);
    closed = false;
    opened.wakeAll();
}

void TExtractGate::Terminate()
{
    QMutexLocker lock(&mutex);
    terminated = true;
    closed = false;
    opened.wakeAll();
}

bool TExtractGate::Pass()
{
    QMutexLocker lock(&mutex);
    while (closed && !terminated)
        opened.wait(&mutex);
    return !terminated;
}

bool TExtractGate::IsClosed() const
{
    QMutexLocker lock(&mutex);
    return closed;
}

bool TExtractGate::Terminated() const
{
    QMutexLocker lock(&mutex);
    return terminated;
}

TExtractThread::TExtractThread(TExtractForm *form)
    : form(form)
{
    connect(this, &QThread::finished, this, &QObject::deleteLater);
}

TExtractThread::~TExtractThread() = default;

void TExtractThread::run()
{
    if (!Synchronize([this] { OpenFirstVolume(); }))
        return;
    if (VolumeMissing || Aborted)
        return Finish(2);
    int64_t sum = 0;
    while (sum < total) {
        // A payload under a hundred bytes still moves a byte per pass.
        budget = std::max<int64_t>(1, total / 100);
        if (!RunPass(sum))
            return;
        if (sum < total && !Synchronize([this] { form->StepProgress(); }))
            return;
    }
    // Empty files after the last content byte are still to be created.
    budget = std::numeric_limits<int64_t>::max();
    if (!Synchronize([this] { ExtractStep(); }))
        return;
    if (Aborted)
        return Finish(2);
    Finish(1);
}

bool TExtractThread::RunPass(int64_t &sum)
{
    if (!Synchronize([this] { ExtractStep(); }))
        return false;
    if (Aborted) {
        Finish(2);
        return false;
    }
    budget -= done;
    sum += done;
    while (budget > 0 && sum < total) {
        if (!Synchronize([this] { NextVolume(); }))
            return false;
        if (VolumeMissing || Aborted) {
            Finish(2);
            return false;
        }
        if (!Synchronize([this] { ExtractStep(); }))
            return false;
        if (Aborted) {
            Finish(2);
            return false;
        }
        budget -= done;
        sum += done;
    }
    return true;
}

// Runs step on the GUI thread and waits for it. A step that reaches the GUI thread while the
// dialog asks whether to leave does not run; the worker waits at the gate and tries again.
bool TExtractThread::Synchronize(const std::function<void()> &step)
{
    for (;;) {
        if (!Gate.Pass())
            return false;
        bool ran = false;
        QMetaObject::invokeMethod(
                form,
                [this, &step, &ran] {
                    if (Gate.IsClosed() || Gate.Terminated())
                        return;
                    ran = true;
                    step();
                },
                Qt::BlockingQueuedConnection);
        if (ran)
            return true;
    }
}

void TExtractThread::Finish(int result)
{
    Synchronize([this, result] { form->SetResult(result); });
}

void TExtractThread::OpenFirstVolume()
{
    YesToAll = false;
    VolumeMissing = false;
    Aborted = false;
    if (form->Log)
        form->Log->StartProgramFiles();
    if (!OpenVolume(1))
        return;
    if (!volume->ReadInt32(total) || total < 0) {
        form->Questions().ShowError(volume->Failure().empty() ? "The data volume \"" + VolumeName(1)
                                                    + "\" is damaged."
                                                              : volume->Failure());
        form->GaveUp = true;
        Aborted = true;
        return;
    }
    output.TotalLeft = total;
}

void TExtractThread::ExtractStep()
{
    if (!volume->Extract(budget, YesToAll, done)) {
        if (!volume->Failure().empty()) {
            form->Questions().ShowError(volume->Failure());
            form->GaveUp = true;
        } else {
            form->ExitChosen = true;
        }
        Aborted = true;
    }
    form->YesToAll = YesToAll;
}

void TExtractThread::NextVolume()
{
    uint8_t next = 0;
    const bool read = volume->ReadByte(next);
    if (!read || next != volumeNumber + 1) {
        // The volumes count up one by one: any other number is a content byte read as a volume
        // number (a volume cut short) or a volume out of its place, never a disk to ask for.
        form->Questions().ShowError(read || volume->Failure().empty() ? "The data volume \""
                                                    + VolumeName(volumeNumber) + "\" is damaged."
                                                                      : volume->Failure());
        form->GaveUp = true;
        Aborted = true;
        return;
    }
    volume.reset();
    OpenVolume(next);
}

// Opens volume `number`, asking for it while it is missing. False when the user gave up or it
// could not be read.
bool TExtractThread::OpenVolume(int number)
{
    const std::string name = VolumeName(number);
    const std::vector<std::string> folders
            = form->VolumeFolders.empty() ? DefaultVolumeFolders() : form->VolumeFolders;
    std::string path = FindVolume(name, folders);
    VolumeMissing = path.empty();
    while (VolumeMissing) {
        if (!form->Questions().AskForDisk(
                    ReplacePlaceholders(Setup::SetupBytes(TSetupEntry::MissingVolume),
                                        {{"%dn%", std::to_string(number)}}))) {
            path = FindVolume(name, folders);
            VolumeMissing = path.empty();
        } else if (form->Questions().AskExit()) {
            form->GaveUp = true;
            return false;
        }
    }
    volume = std::make_unique<TDataFile>(path, name, form->DestFolder, form->Log, output,
                                         form->Questions());
    volumeNumber = number;
    if (!volume->Open()) {
        form->Questions().ShowError(volume->Failure());
        form->GaveUp = true;
        Aborted = true;
        return false;
    }
    return true;
}

TExtractForm::TExtractForm(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TExtractForm>())
    , dialogQuestions(std::make_unique<TDialogQuestions>(this))
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    connect(ui->CancelButton, &QPushButton::clicked, this, [this] { CancelButtonClick(); });
}

TExtractForm::~TExtractForm()
{
    if (Worker)
        Worker->Gate.Terminate();
}

void TExtractForm::ApplyLanguage()
{
    setWindowTitle(Setup::SetupText(TSetupEntry::ExtractCaption));
    ui->ExtractLabel->setText(Setup::SetupText(TSetupEntry::ExtractLabel));
    ui->CancelButton->setText(Setup::SetupText(TSetupEntry::CancelButton));
}

void TExtractForm::SetQuestions(TExtractQuestions *replacement)
{
    questions = replacement;
}

TExtractQuestions &TExtractForm::Questions()
{
    return questions ? *questions : *dialogQuestions;
}

void TExtractForm::SetResult(int result)
{
    CloseWithResult(result);
}

void TExtractForm::StepProgress()
{
    ui->ProgressBar->setValue(std::min(ui->ProgressBar->value() + 1, ui->ProgressBar->maximum()));
}

int TExtractForm::Progress() const
{
    return ui->ProgressBar->value();
}

void TExtractForm::done(int result)
{
    CloseWithResult(result);
}

void TExtractForm::reject()
{
    CloseWithResult(2);
}

void TExtractForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    GaveUp = false;
    ExitChosen = false;
    YesToAll = false;
    modalResult = 0;
    ui->ProgressBar->setValue(0);
    Worker = new TExtractThread(this);
    Worker->start();
}

void TExtractForm::closeEvent(QCloseEvent *event)
{
    event->ignore();
    CloseWithResult(2);
}

void TExtractForm::CancelButtonClick()
{
    CloseWithResult(2);
}

// Closing is free once the user has left at a question or the worker has set its result;
// a cancel asks first while the worker waits at its gate.
bool TExtractForm::FormCloseQuery()
{
    if (GaveUp || ExitChosen || modalResult != 2)
        return true;
    if (Worker)
        Worker->Gate.Close();
    if (Questions().AskExit())
        return true;
    if (Worker)
        Worker->Gate.Open();
    return false;
}

void TExtractForm::FormClose()
{
    if (modalResult == 2 && Worker)
        Worker->Gate.Terminate();
}

void TExtractForm::CloseWithResult(int result)
{
    if (!isVisible())
        return;
    modalResult = result;
    if (!FormCloseQuery()) {
        modalResult = 0;
        return;
    }
    FormClose();
    QDialog::done(result);
}
