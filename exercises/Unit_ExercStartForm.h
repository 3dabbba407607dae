#pragma once

#include "core/ModalResult.h"

#include <QDialog>
#include <memory>

namespace Ui {
class TExercStartForm;
}

class TExercList;

// The dialog shown before an exercise or a test: the number of questions or the time limit, open
// or multiple-choice questions, and the way to the filter and the options dialog. The exercise
// window reads its controls while it runs.
class TExercStartForm : public QDialog
{
    Q_OBJECT

public:
    explicit TExercStartForm(QWidget *parent = nullptr);
    ~TExercStartForm() override;

    // Puts the loaded language pack's texts on the window.
    void ApplyLanguage();

    // The candidates of the exercise or test about to start; set by the main window, not owned.
    TExercList *ExercList = nullptr;
    bool ClosedByButton = false;

    std::unique_ptr<Ui::TExercStartForm> ui;

    // 0 when the visible number or time is acceptable; else the failing check's code, after its
    // message was shown and the failing edit got the focus.
    int ValidateStart();

    void FormShow();
    void TimeCheckBoxClick();
    void FilterButtonClick();
    void OptionsButtonClick();
    void SaveSettingsButtonClick();
    void CancelButtonClick();
    void StartButtonClick();

protected:
    void showEvent(QShowEvent *event) override;
    void reject() override;

private:
    bool IsExercise() const;
    void CloseWithResult(TModalResult result);
};

extern TExercStartForm *ExercStartForm;
