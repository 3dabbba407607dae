#include "exercises/Unit_ExercStartForm.h"

#include "ui_ExercStartForm.h"

TExercStartForm *ExercStartForm = nullptr;

TExercStartForm::TExercStartForm(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TExercStartForm>())
{
    ui->setupUi(this);
}

TExercStartForm::~TExercStartForm() = default;
