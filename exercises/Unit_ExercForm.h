#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TExercForm;
}

class TExercForm : public QDialog
{
    Q_OBJECT

public:
    explicit TExercForm(QWidget *parent = nullptr);
    ~TExercForm() override;

private:
    std::unique_ptr<Ui::TExercForm> ui;
};

extern TExercForm *ExercForm;
