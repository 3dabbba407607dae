#pragma once

#include "core/ModalResult.h"

#include <QDialog>
#include <memory>
#include <string>

class QComboBox;
class QLineEdit;
struct TListSettings;

namespace Ui {
class TWLSettingsForm;
}

// Sets up a new word list or changes the open one: each language's name, character set, font and
// size, and the list's foreign characters. The caller fills it and reads it back after OK; the
// dialog itself only checks.
class TWLSettingsForm : public QDialog
{
    Q_OBJECT

public:
    static constexpr int MinFontSize = 1;
    static constexpr int MaxFontSize = 127;

    explicit TWLSettingsForm(QWidget *parent = nullptr);
    ~TWLSettingsForm() override;

    // Puts the loaded language pack's texts on the window.
    void ApplyLanguage();

    // The caption and every field from the settings.
    void Fill(const TListSettings &settings);
    // What the user chose, once OK has checked it.
    void Read(TListSettings &settings) const;

    // The list's foreign characters while the dialog is open (bytes of the foreign code page).
    std::string ForeignChars;
    bool ClosedByButton = false;
    std::unique_ptr<Ui::TWLSettingsForm> ui;

    void FormShow();
    void ForCharsetComboChange();
    void RefCharsetComboChange();
    void ForCharsButtonClick();
    void OKButtonClick();
    void CancelButtonClick();
    // Whether every field passes; else the first failure was shown and its field has the focus.
    bool FieldsValid();

protected:
    void showEvent(QShowEvent *event) override;
    void reject() override;

private:
    void CloseWithResult(TModalResult result);
};

extern TWLSettingsForm *WLSettingsForm;
