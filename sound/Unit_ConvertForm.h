#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TConvertForm;
}

class TConvertForm : public QDialog
{
    Q_OBJECT

public:
    explicit TConvertForm(QWidget *parent = nullptr);
    ~TConvertForm() override;

    // Puts the loaded language pack's texts on the window.
    void ApplyLanguage();

private:
    std::unique_ptr<Ui::TConvertForm> ui;
};

extern TConvertForm *ConvertForm;
