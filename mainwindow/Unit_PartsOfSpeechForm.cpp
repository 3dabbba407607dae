#include "mainwindow/Unit_PartsOfSpeechForm.h"

#include "ui_PartsOfSpeechForm.h"

TPartsOfSpeechForm *PartsOfSpeechForm = nullptr;

TPartsOfSpeechForm::TPartsOfSpeechForm(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TPartsOfSpeechForm>())
{
    ui->setupUi(this);
}

TPartsOfSpeechForm::~TPartsOfSpeechForm() = default;
