#include "mainwindow/Unit_StartupForm.h"

#include "ui_StartupForm.h"

TStartupForm *StartupForm = nullptr;

TStartupForm::TStartupForm(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TStartupForm>())
{
    ui->setupUi(this);
}

TStartupForm::~TStartupForm() = default;
