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

private:
    std::unique_ptr<Ui::TOptionsForm> ui;
};

extern TOptionsForm *OptionsForm;
