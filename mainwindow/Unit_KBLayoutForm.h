#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TKBLayoutForm;
}

class TKBLayoutForm : public QDialog
{
    Q_OBJECT

public:
    explicit TKBLayoutForm(QWidget *parent = nullptr);
    ~TKBLayoutForm() override;

private:
    std::unique_ptr<Ui::TKBLayoutForm> ui;
};

extern TKBLayoutForm *KBLayoutForm;
