#include "exercises/Unit_ExercSetForm.h"

#include "ui_ExercSetForm.h"

TExercSetForm *ExercSetForm = nullptr;

TExercSetForm::TExercSetForm(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TExercSetForm>())
{
    ui->setupUi(this);
}

TExercSetForm::~TExercSetForm() = default;
