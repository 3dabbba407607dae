#include "mainwindow/Unit_PrintPreviewForm.h"

#include "core/Texts.h"
#include "ui_PrintPreviewForm.h"

TPrintPreviewForm *PrintPreviewForm = nullptr;

TPrintPreviewForm::TPrintPreviewForm(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TPrintPreviewForm>())
{
    ui->setupUi(this);
}

TPrintPreviewForm::~TPrintPreviewForm() = default;

void TPrintPreviewForm::ApplyLanguage()
{
    setWindowTitle(PackText(TEntry::PrintPreviewCaption));
}
