#pragma once

#include <QWidget>
#include <memory>

namespace Ui {
class SetupFullScreenForm;
}

namespace Setup {

// The teal backdrop behind the wizard, covering the whole screen.
class TFullScreenForm : public QWidget
{
    Q_OBJECT

public:
    explicit TFullScreenForm(QWidget *parent = nullptr);
    ~TFullScreenForm() override;

    void ShowOverScreen();

private:
    std::unique_ptr<Ui::SetupFullScreenForm> ui;
};

extern TFullScreenForm *FullScreenForm;

} // namespace Setup
