#include "exercises/Unit_SetExercWordsForm.h"

#include "core/Texts.h"
#include "ui_SetExercWordsForm.h"

TSetExercWordsForm *SetExercWordsForm = nullptr;

TSetExercWordsForm::TSetExercWordsForm(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TSetExercWordsForm>())
{
    ui->setupUi(this);
}

TSetExercWordsForm::~TSetExercWordsForm() = default;

void TSetExercWordsForm::ApplyLanguage()
{
    setWindowTitle(PackText(TEntry::SetWordsCaption));
}
