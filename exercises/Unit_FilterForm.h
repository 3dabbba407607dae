#pragma once

#include "core/ModalResult.h"
#include "exercises/CaseInsensitiveStringList.h"

#include <QDialog>
#include <memory>

namespace Ui {
class TFilterForm;
}

class TExercList;

// Narrows an exercise or test to some parts of speech and lessons, and optionally to the words
// that have a pronunciation. The main window applies the selections when the start dialog closes.
class TFilterForm : public QDialog
{
    Q_OBJECT

public:
    explicit TFilterForm(QWidget *parent = nullptr);
    ~TFilterForm() override;

    // Puts the loaded language pack's texts on the window.
    void ApplyLanguage();

    CaseInsensitiveStringList SelectedPartsOfSpeech;
    CaseInsensitiveStringList SelectedLessons;
    bool OnlyPronunciation = false;
    // The list being filtered; not owned.
    TExercList *ExercList = nullptr;
    // The number of entries that passed at the last OK.
    int FilterCount = 0;
    bool ClosedByButton = false;

    std::unique_ptr<Ui::TFilterForm> ui;

    // Everything passes again: the boxes list the list's parts of speech and lessons, all
    // selected, and the sound option is off (and offered only when some entry has a sound).
    void Reset(TExercList *list);

    void FormShow();
    void OKButtonClick();
    void CancelButtonClick();

protected:
    void showEvent(QShowEvent *event) override;
    void reject() override;

private:
    void CloseWithResult(TModalResult result);
};

extern TFilterForm *FilterForm;
