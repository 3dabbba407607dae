#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TForCharsForm;
}

class TForCharsForm : public QDialog
{
    Q_OBJECT

public:
    explicit TForCharsForm(QWidget *parent = nullptr);
    ~TForCharsForm() override;

    // Puts the loaded language pack's texts on the window.
    void ApplyLanguage();

private:
    std::unique_ptr<Ui::TForCharsForm> ui;
};

extern TForCharsForm *ForCharsForm;
