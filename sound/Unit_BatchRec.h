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

private:
    std::unique_ptr<Ui::TBatchRecForm> ui;
};

extern TBatchRecForm *BatchRecForm;
