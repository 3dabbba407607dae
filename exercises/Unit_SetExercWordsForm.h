#pragma once

#include "core/ModalResult.h"

#include <QDialog>
#include <memory>

namespace Ui {
class TSetExercWordsForm;
}

class QCheckBox;
class QComboBox;
class QRadioButton;

// Sets the exercise level of each direction for all words selected in the grid at once. The main
// window captions the two direction boxes before it shows the window and reads the controls
// after OK; they keep their states from one showing to the next.
class TSetExercWordsForm : public QDialog
{
    Q_OBJECT

public:
    explicit TSetExercWordsForm(QWidget *parent = nullptr);
    ~TSetExercWordsForm() override;

    // Puts the loaded language pack's texts on the window; both level lists get the pack's
    // three level names with the normal level chosen.
    void ApplyLanguage();

    bool ClosedByButton = false;
    std::unique_ptr<Ui::TSetExercWordsForm> ui;

    void FormShow();
    void ForRefCheckBoxClick();
    void ForRefOnRadioClick();
    void RefForCheckBoxClick();
    void RefForOnRadioClick();
    void OKButtonClick();
    void CancelButtonClick();
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void CloseWithResult(TModalResult result);
};

extern TSetExercWordsForm *SetExercWordsForm;
