#include "mainwindow/Unit_PartsOfSpeechForm.h"

#include "ui_PartsOfSpeechForm.h"

#include "core/Texts.h"
#include "core/Unit_GlobalSettings.h"

#include <QComboBox>
#include <QStringList>

TPartsOfSpeechForm *PartsOfSpeechForm = nullptr;

TPartsOfSpeechForm::TPartsOfSpeechForm(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TPartsOfSpeechForm>())
{
    ui->setupUi(this);
}

TPartsOfSpeechForm::~TPartsOfSpeechForm() = default;

void TPartsOfSpeechForm::ApplyLanguage()
{
    setWindowTitle(PackText(TEntry::PartsOfSpeechCaption));
}

void TPartsOfSpeechForm::FillPartsOfSpeechCombo(QComboBox &combo)
{
    combo.clear();
    combo.setEditText(QString());
    const size_t separator = PartsOfSpeech.find(';');
    if (separator == std::string::npos)
        return;
    QStringList items;
    AddCommaList(items, PartsOfSpeech.substr(0, separator));
    combo.addItems(items);
    combo.setEditText(QString());
}

void TPartsOfSpeechForm::AddCommaList(QStringList &items, const std::string &text)
{
    items.clear();
    size_t start = 0;
    while (true) {
        const size_t comma = text.find(',', start);
        if (comma == std::string::npos)
            break;
        items.append(DecodeText(std::string_view(text).substr(start, comma - start)));
        start = comma + 1;
    }
    if (start < text.size())
        items.append(DecodeText(std::string_view(text).substr(start)));
}
