#include "mainwindow/Unit_FindForm.h"

#include "core/Texts.h"
#include "ui_FindForm.h"

TFindForm *FindForm = nullptr;

TFindForm::TFindForm(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TFindForm>())
{
    ui->setupUi(this);
}

TFindForm::~TFindForm() = default;

void TFindForm::ApplyLanguage()
{
    setWindowTitle(PackText(TEntry::FindCaption));
}
