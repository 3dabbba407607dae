#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TFindForm;
}

class TFindForm : public QDialog
{
    Q_OBJECT

public:
    explicit TFindForm(QWidget *parent = nullptr);
    ~TFindForm() override;

    // Puts the loaded language pack's texts on the window.
    void ApplyLanguage();

private:
    std::unique_ptr<Ui::TFindForm> ui;
};

extern TFindForm *FindForm;
