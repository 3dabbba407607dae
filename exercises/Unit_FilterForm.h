#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TFilterForm;
}

class TFilterForm : public QDialog
{
    Q_OBJECT

public:
    explicit TFilterForm(QWidget *parent = nullptr);
    ~TFilterForm() override;

private:
    std::unique_ptr<Ui::TFilterForm> ui;
};

extern TFilterForm *FilterForm;
