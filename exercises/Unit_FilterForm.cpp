#include "exercises/Unit_FilterForm.h"

#include "ui_FilterForm.h"

TFilterForm *FilterForm = nullptr;

TFilterForm::TFilterForm(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TFilterForm>())
{
    ui->setupUi(this);
}

TFilterForm::~TFilterForm() = default;
