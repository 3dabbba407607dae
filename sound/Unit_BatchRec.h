#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TBatchRecForm;
}

class TBatchRecForm : public QDialog
{
    Q_OBJECT

public:
    explicit TBatchRecForm(QWidget *parent = nullptr);
    ~TBatchRecForm() override;

    // Puts the loaded language pack's texts on the window.
    void ApplyLanguage();

private:
    std::unique_ptr<Ui::TBatchRecForm> ui;
};

extern TBatchRecForm *BatchRecForm;
