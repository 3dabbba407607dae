#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TOptionsForm;
}

class TOptionsForm : public QDialog
{
    Q_OBJECT

public:
    explicit TOptionsForm(QWidget *parent = nullptr);
    ~TOptionsForm() override;

    // Puts the loaded language pack's texts on the window.
    void ApplyLanguage();

private:
    std::unique_ptr<Ui::TOptionsForm> ui;
};

extern TOptionsForm *OptionsForm;
