#pragma once

#include "core/ModalResult.h"

#include <QDialog>
#include <memory>

namespace Ui {
class TExercSetForm;
}

// The exercise options: pronunciation, listening test, dictation and context for each direction.
// The exercise window reads the six check boxes while it runs.
class TExercSetForm : public QDialog
{
    Q_OBJECT

public:
    explicit TExercSetForm(QWidget *parent = nullptr);
    ~TExercSetForm() override;

    // Puts the loaded language pack's texts on the window.
    void ApplyLanguage();

    bool ClosedByButton = false;

    std::unique_ptr<Ui::TExercSetForm> ui;

    // The group captions for the languages of the list about to be asked, and the six boxes from
    // the stored flags.
    void Prepare(const std::string &foreignLanguage, const std::string &referenceLanguage);

    void FormShow();
    void PronounceQCheckClick();
    void PronounceACheckClick();
    void SaveSettingsButtonClick();
    void OKButtonClick();
    void CancelButtonClick();

protected:
    void showEvent(QShowEvent *event) override;
    void reject() override;

private:
    void CloseWithResult(TModalResult result);
};

extern TExercSetForm *ExercSetForm;
