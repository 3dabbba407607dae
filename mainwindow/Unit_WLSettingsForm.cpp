#include "mainwindow/Unit_WLSettingsForm.h"

#include "ui_WLSettingsForm.h"

TWLSettingsForm *WLSettingsForm = nullptr;

TWLSettingsForm::TWLSettingsForm(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TWLSettingsForm>())
{
    ui->setupUi(this);
}

TWLSettingsForm::~TWLSettingsForm() = default;
