#include "exercises/Unit_ExercForm.h"

#include "ui_ExercForm.h"

TExercForm *ExercForm = nullptr;

TExercForm::TExercForm(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TExercForm>())
{
    ui->setupUi(this);
}

TExercForm::~TExercForm() = default;
