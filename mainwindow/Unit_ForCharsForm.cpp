#include "mainwindow/Unit_ForCharsForm.h"

#include "core/Texts.h"
#include "ui_ForCharsForm.h"

TForCharsForm *ForCharsForm = nullptr;

TForCharsForm::TForCharsForm(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TForCharsForm>())
{
    ui->setupUi(this);
}

TForCharsForm::~TForCharsForm() = default;

void TForCharsForm::ApplyLanguage()
{
    setWindowTitle(PackText(TEntry::ForCharsCaption));
}
