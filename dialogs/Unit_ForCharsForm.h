#pragma once

#include "core/ModalResult.h"

#include <QDialog>
#include <memory>
#include <string>

class QFont;
class TCodePageValidator;

namespace Ui {
class TForCharsForm;
}

// Edits a word list's foreign characters, the characters the main window offers as buttons
// (groups separated by "|"). Save makes the text the default for new lists at once.
class TForCharsForm : public QDialog
{
    Q_OBJECT

public:
    // The longest foreign-characters string a list or the settings keep, in bytes.
    static constexpr int MaxBytes = 100;
    // The window's height beyond the edit's, and the buttons' distance from its bottom edge.
    static constexpr int HeightBeyondEdit = 150;
    static constexpr int ButtonsFromBottom = 67;

    explicit TForCharsForm(QWidget *parent = nullptr);
    ~TForCharsForm() override;

    // Puts the loaded language pack's texts on the window.
    void ApplyLanguage();

    // The edit shows its text in the font, and holds what the code page can store.
    void SetEditFont(const QFont &font, int codePage);
    QFont EditFont() const;
    // The text as bytes of the edit's code page.
    void SetText(const std::string &bytes);
    std::string Text() const;

    bool ClosedByButton = false;
    std::unique_ptr<Ui::TForCharsForm> ui;

    void FormShow();
    void SaveButtonClick();
    void OKButtonClick();
    void CancelButtonClick();

protected:
    void showEvent(QShowEvent *event) override;
    void reject() override;

private:
    void CloseWithResult(TModalResult result);

    TCodePageValidator *Validator;
};

extern TForCharsForm *ForCharsForm;
