#pragma once

#include "core/ModalResult.h"

#include <QDialog>
#include <memory>
#include <string>

namespace Ui {
class TChangeFontForm;
}

// Asks for another font and character set when a word list being opened names a font that is not
// installed or has no face for the list's character set. It is the word-list reader's change-font
// question while it exists.
class TChangeFontForm : public QDialog
{
    Q_OBJECT

public:
    explicit TChangeFontForm(QWidget *parent = nullptr);
    ~TChangeFontForm() override;

    // Puts the loaded language pack's texts on the window.
    void ApplyLanguage();

    // Shows the dialog with the character-set item charsetIndex chosen. After OK (mrOk) the two
    // hold the user's choice, the font name as DEFAULT code-page bytes; any other result cancels.
    int Execute(int &charsetIndex, std::string &fontName);

    bool ClosedByButton = false;
    std::unique_ptr<Ui::TChangeFontForm> ui;

    void FormShow();
    void CharsetComboChange();
    void OKButtonClick();
    void CancelButtonClick();

protected:
    void showEvent(QShowEvent *event) override;
    void reject() override;

private:
    void CloseWithResult(TModalResult result);
};

extern TChangeFontForm *ChangeFontForm;
