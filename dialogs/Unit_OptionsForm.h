#pragma once

#include "core/ModalResult.h"

#include <QDialog>
#include <QPointer>
#include <array>
#include <functional>
#include <memory>
#include <string>

class QLineEdit;

namespace Ui {
class TOptionsForm;
}

// The program-wide settings: editing, the exercise thresholds, the language of the program's
// texts and a few others. It shows the settings in memory and writes them back there on OK; a new
// language is put on every window at once.
class TOptionsForm : public QDialog
{
    Q_OBJECT

public:
    // The pages, in the order of the page control.
    enum TPage {
        opEdit,
        opExercises,
        opLanguage,
        opOthers,
        PageCount,
    };

    explicit TOptionsForm(QWidget *parent = nullptr);
    ~TOptionsForm() override;

    // Puts the loaded language pack's texts on the window.
    void ApplyLanguage();
    // What puts a newly chosen pack's texts on every window of the program.
    void SetLanguageApplier(std::function<void()> applier);

    // The names of the language packs in the program's folder, as the language list offers them.
    static std::vector<std::string> LanguagePackNames();

    bool ClosedByButton = false;
    // The control of each page that gets the focus when the page is entered.
    std::array<QPointer<QWidget>, PageCount> PageFocus;
    std::unique_ptr<Ui::TOptionsForm> ui;

    void FormShow();
    void PartsOfSpeechButtonClick();
    void OKButtonClick();
    void CancelButtonClick();

protected:
    void showEvent(QShowEvent *event) override;
    void reject() override;

private:
    void PageChanged(int index);
    void FocusChanged(QWidget *now);
    // Shows the error, turns to the page and focuses the control.
    void Fail(const QString &text, TPage page, QWidget *control);
    bool CheckThresholds();
    bool ChangeLanguage();
    void CloseWithResult(TModalResult result);

    QMetaObject::Connection FocusConnection;
    std::function<void()> ApplyToWindows;
};

extern TOptionsForm *OptionsForm;
