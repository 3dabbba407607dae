#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class SetupExitForm;
}

namespace Setup {

// The question whether to leave setup: Resume gives 1, Exit and the close box 2.
class TExitForm : public QDialog
{
    Q_OBJECT

public:
    explicit TExitForm(QWidget *parent = nullptr);
    ~TExitForm() override;

    void ApplyTexts();

protected:
    void showEvent(QShowEvent *event) override;
    void reject() override;

private:
    std::unique_ptr<Ui::SetupExitForm> ui;
};

extern TExitForm *ExitForm;

} // namespace Setup
