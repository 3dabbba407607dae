#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TTestResultForm;
}

// The mark of a finished test over a picture for a pass or a failure.
class TTestResultForm : public QDialog
{
    Q_OBJECT

public:
    explicit TTestResultForm(QWidget *parent = nullptr);
    ~TTestResultForm() override;

    // Puts the loaded language pack's texts on the window.
    void ApplyLanguage();

    // Shows the mark of right against wrong answers and the pass or fail picture and message.
    void SetResult(int right, int wrong);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void OKButtonClick();

    std::unique_ptr<Ui::TTestResultForm> ui;
};

extern TTestResultForm *TestResultForm;
