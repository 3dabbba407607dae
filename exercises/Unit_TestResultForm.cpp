#include "exercises/Unit_TestResultForm.h"

#include "ui_TestResultForm.h"

TTestResultForm *TestResultForm = nullptr;

TTestResultForm::TTestResultForm(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TTestResultForm>())
{
    ui->setupUi(this);
}

TTestResultForm::~TTestResultForm() = default;
