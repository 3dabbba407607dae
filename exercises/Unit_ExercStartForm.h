#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TExercStartForm;
}

class TExercStartForm : public QDialog
{
    Q_OBJECT

public:
    explicit TExercStartForm(QWidget *parent = nullptr);
    ~TExercStartForm() override;

private:
    std::unique_ptr<Ui::TExercStartForm> ui;
};

extern TExercStartForm *ExercStartForm;
