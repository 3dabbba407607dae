#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TTestResultForm;
}

class TTestResultForm : public QDialog
{
    Q_OBJECT

public:
    explicit TTestResultForm(QWidget *parent = nullptr);
    ~TTestResultForm() override;

private:
    std::unique_ptr<Ui::TTestResultForm> ui;
};

extern TTestResultForm *TestResultForm;
