#pragma once

#include <QDialog>
#include <memory>
#include <string>

#include <QStringList>

class QComboBox;

namespace Ui {
class TPartsOfSpeechForm;
}

class TPartsOfSpeechForm : public QDialog
{
    Q_OBJECT

public:
    explicit TPartsOfSpeechForm(QWidget *parent = nullptr);
    ~TPartsOfSpeechForm() override;

    // Puts the loaded language pack's texts on the window.
    void ApplyLanguage();

    // Clears the combo box, text and items, and adds the used parts of speech: the setting's text
    // before its first ";" (none without one).
    static void FillPartsOfSpeechCombo(QComboBox &combo);
    // Items := the pieces of text between commas; an empty piece between two commas is an item,
    // an empty last piece is not.
    static void AddCommaList(QStringList &items, const std::string &text);

private:
    std::unique_ptr<Ui::TPartsOfSpeechForm> ui;
};

extern TPartsOfSpeechForm *PartsOfSpeechForm;
