#include "mainwindow/Unit_KBLayoutForm.h"

#include "ui_KBLayoutForm.h"

TKBLayoutForm *KBLayoutForm = nullptr;

TKBLayoutForm::TKBLayoutForm(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TKBLayoutForm>())
{
    ui->setupUi(this);
}

TKBLayoutForm::~TKBLayoutForm() = default;
