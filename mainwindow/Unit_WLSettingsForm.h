#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TWLSettingsForm;
}

class TWLSettingsForm : public QDialog
{
    Q_OBJECT

public:
    explicit TWLSettingsForm(QWidget *parent = nullptr);
    ~TWLSettingsForm() override;

private:
    std::unique_ptr<Ui::TWLSettingsForm> ui;
};

extern TWLSettingsForm *WLSettingsForm;
