#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TChangeFontForm;
}

class TChangeFontForm : public QDialog
{
    Q_OBJECT

public:
    explicit TChangeFontForm(QWidget *parent = nullptr);
    ~TChangeFontForm() override;

    // Puts the loaded language pack's texts on the window.
    void ApplyLanguage();

private:
    std::unique_ptr<Ui::TChangeFontForm> ui;
};

extern TChangeFontForm *ChangeFontForm;
