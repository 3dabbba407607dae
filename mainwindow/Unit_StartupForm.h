#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TStartupForm;
}

class TStartupForm : public QDialog
{
    Q_OBJECT

public:
    explicit TStartupForm(QWidget *parent = nullptr);
    ~TStartupForm() override;

private:
    std::unique_ptr<Ui::TStartupForm> ui;
};

extern TStartupForm *StartupForm;
