#include "exercises/Unit_SetLessonForm.h"

#include "core/Texts.h"
#include "ui_SetLessonForm.h"

TSetLessonForm *SetLessonForm = nullptr;

TSetLessonForm::TSetLessonForm(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TSetLessonForm>())
{
    ui->setupUi(this);
}

TSetLessonForm::~TSetLessonForm() = default;

void TSetLessonForm::ApplyLanguage()
{
    setWindowTitle(PackText(TEntry::SetLessonCaption));
}
