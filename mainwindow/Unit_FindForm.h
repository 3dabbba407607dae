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

private:
    std::unique_ptr<Ui::TFindForm> ui;
};

extern TFindForm *FindForm;
