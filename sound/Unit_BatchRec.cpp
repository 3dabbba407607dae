#include "sound/Unit_BatchRec.h"

#include "core/Texts.h"
#include "ui_BatchRecForm.h"

TBatchRecForm *BatchRecForm = nullptr;

TBatchRecForm::TBatchRecForm(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TBatchRecForm>())
{
    ui->setupUi(this);
}

TBatchRecForm::~TBatchRecForm() = default;

void TBatchRecForm::ApplyLanguage()
{
    setWindowTitle(PackText(TEntry::BatchRecCaption));
}
