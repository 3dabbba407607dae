#include "sound/Unit_ConvertForm.h"

#include "core/Texts.h"
#include "ui_ConvertForm.h"

TConvertForm *ConvertForm = nullptr;

TConvertForm::TConvertForm(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TConvertForm>())
{
    ui->setupUi(this);
}

TConvertForm::~TConvertForm() = default;

void TConvertForm::ApplyLanguage()
{
    setWindowTitle(PackText(TEntry::ConvertCaption));
}
