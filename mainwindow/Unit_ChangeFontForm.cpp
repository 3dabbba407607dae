#include "mainwindow/Unit_ChangeFontForm.h"

#include "core/Texts.h"
#include "ui_ChangeFontForm.h"

TChangeFontForm *ChangeFontForm = nullptr;

TChangeFontForm::TChangeFontForm(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TChangeFontForm>())
{
    ui->setupUi(this);
}

TChangeFontForm::~TChangeFontForm() = default;

void TChangeFontForm::ApplyLanguage()
{
    setWindowTitle(PackText(TEntry::ChangeFontCaption));
}
