#include "setup/Unit_Overwrite.h"
#include "setup/Unit_SetupTexts.h"

#include "core/Unit_LanguagePack.h"
#include "platform/CodePage.h"

#include "ui_OverwriteForm.h"

TOverwriteForm *OverwriteForm = nullptr;

namespace { } // namespace

TOverwriteForm::TOverwriteForm(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TOverwriteForm>())
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    connect(ui->YesButton, &QPushButton::clicked, this, [this] { done(Yes); });
    connect(ui->YesToAllButton, &QPushButton::clicked, this, [this] { done(YesToAll); });
    connect(ui->NoButton, &QPushButton::clicked, this, [this] { done(No); });
}

TOverwriteForm::~TOverwriteForm() = default;

void TOverwriteForm::ApplyLanguage()
{
    setWindowTitle(Setup::SetupText(TSetupEntry::OverwriteCaption));
    ui->YesButton->setText(Setup::SetupText(TSetupEntry::OverwriteYesButton));
    ui->YesToAllButton->setText(Setup::SetupText(TSetupEntry::OverwriteYesToAllButton));
    ui->NoButton->setText(Setup::SetupText(TSetupEntry::OverwriteNoButton));
}

int TOverwriteForm::Ask(const std::string &text)
{
    ui->OverwriteLabel->setText(DecodeText(text));
    ui->NoButton->setFocus();
    const int result = exec();
    return result == Yes || result == YesToAll ? result : No;
}
