#pragma once

#include "core/ModalResult.h"

#include <QDialog>
#include <QStringList>
#include <memory>
#include <string>

class QComboBox;
class QListWidget;

namespace Ui {
class TPartsOfSpeechForm;
}

// Chooses the parts of speech that the grid's part-of-speech list offers, in their order, and
// keeps others in reserve. It edits a copy of the setting (used items, ";", available items, each
// a comma list); the caller reads both lists after OK.
class TPartsOfSpeechForm : public QDialog
{
    Q_OBJECT

public:
    static constexpr int MaxPartLength = 64;

    // The control the buttons act on: the one of the two lists and the new-part edit that last
    // had the focus.
    enum TSource {
        psUsed,
        psAvailable,
        psNew,
    };

    explicit TPartsOfSpeechForm(QWidget *parent = nullptr);
    ~TPartsOfSpeechForm() override;

    // Puts the loaded language pack's texts on the window.
    void ApplyLanguage();

    // Clears the combo box, text and items, and adds the used parts of speech: the setting's text
    // before its first ";" (none without one).
    static void FillPartsOfSpeechCombo(QComboBox &combo);
    // Items := the texts between commas; an empty text between two commas is an item,
    // an empty last one is not.
    static void AddCommaList(QStringList &items, const std::string &text);
    // The setting the two lists make: used items joined by ",", ";", available items.
    std::string PartsOfSpeechText() const;

    std::string PartsText;
    TSource Source = psNew;
    bool ClosedByButton = false;
    std::unique_ptr<Ui::TPartsOfSpeechForm> ui;

    void FormShow();
    void LoadPartsOfSpeechLists();
    void UpdateListButtons(QListWidget &list);
    void UseButtonClick();
    void UpButtonClick();
    void DownButtonClick();
    void DeleteButtonClick();
    void DefaultButtonClick();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void reject() override;

private:
    void SourceEntered(TSource source);
    QListWidget *SourceList() const;
    void NewEditChange();
    void UseNewPart();
    void CloseWithResult(TModalResult result);
};

extern TPartsOfSpeechForm *PartsOfSpeechForm;
