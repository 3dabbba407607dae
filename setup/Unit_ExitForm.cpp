#include "setup/Unit_ExitForm.h"

#include "setup/Unit_SetupTexts.h"
#include "ui_SetupExitForm.h"

namespace Setup {

TExitForm *ExitForm = nullptr;

TExitForm::TExitForm(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::SetupExitForm>())
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    connect(ui->ResumeButton, &QPushButton::clicked, this, [this] { done(1); });
    connect(ui->ExitButton, &QPushButton::clicked, this, [this] { done(2); });
}

TExitForm::~TExitForm() = default;

void TExitForm::ApplyTexts()
{
    setWindowTitle(SetupText(TSetupEntry::ExitCaption));
    ui->TextLabel->setText(SetupText(TSetupEntry::ExitQuestion));
    ui->ResumeButton->setText(SetupText(TSetupEntry::ResumeButton));
    ui->ExitButton->setText(SetupText(TSetupEntry::ExitButton));
}

void TExitForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    ui->ResumeButton->setFocus();
}

// Escape and the close box answer Exit.
void TExitForm::reject()
{
    done(2);
}

} // namespace Setup
