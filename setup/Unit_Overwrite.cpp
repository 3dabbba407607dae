#include "setup/Unit_Overwrite.h"

#include "core/Unit_LanguagePack.h"
#include "platform/CodePage.h"

#include "ui_OverwriteForm.h"

TOverwriteForm *OverwriteForm = nullptr;

namespace {

QString Text(const std::string &bytes)
{
    return CodePage::ToUnicode(bytes, CodePage::Default);
}

} // namespace

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
    setWindowTitle(Text(LanguageText(30)));
    ui->YesButton->setText(Text(LanguageText(2)));
    ui->YesToAllButton->setText(Text(LanguageText(32)));
    ui->NoButton->setText(Text(LanguageText(3)));
}

int TOverwriteForm::Ask(const std::string &text)
{
    ui->OverwriteLabel->setText(Text(text));
    ui->NoButton->setFocus();
    const int result = exec();
    return result == Yes || result == YesToAll ? result : No;
}
