#pragma once

#include "core/ModalResult.h"

#include <QDialog>
#include <memory>
#include <string>

namespace Ui {
class TSetLessonForm;
}

// Sets the lesson of all words selected in the grid at once; an empty lesson clears theirs.
class TSetLessonForm : public QDialog
{
    Q_OBJECT

public:
    explicit TSetLessonForm(QWidget *parent = nullptr);
    ~TSetLessonForm() override;

    // Puts the loaded language pack's texts on the window.
    void ApplyLanguage();

    // The lesson as the list stores it, in the code page of the lesson editor; after OK it is
    // never longer than a lesson may be.
    std::string Lesson() const;

    bool ClosedByButton = false;
    std::unique_ptr<Ui::TSetLessonForm> ui;

    void FormShow();
    void OKButtonClick();
    void CancelButtonClick();
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormCreate();
    void CloseWithResult(TModalResult result);
};

extern TSetLessonForm *SetLessonForm;
