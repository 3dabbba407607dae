#include "mainwindow/Unit_OptionsForm.h"

#include "core/Texts.h"
#include "ui_OptionsForm.h"

TOptionsForm *OptionsForm = nullptr;

TOptionsForm::TOptionsForm(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TOptionsForm>())
{
    ui->setupUi(this);
}

TOptionsForm::~TOptionsForm() = default;

void TOptionsForm::ApplyLanguage()
{
    setWindowTitle(PackText(TEntry::OptionsCaption));
}
