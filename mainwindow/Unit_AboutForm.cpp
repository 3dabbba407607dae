#include "mainwindow/Unit_AboutForm.h"

#include "ui_AboutForm.h"

TAboutForm *AboutForm = nullptr;

TAboutForm::TAboutForm(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TAboutForm>())
{
    ui->setupUi(this);
}

TAboutForm::~TAboutForm() = default;
