#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TExercSetForm;
}

class TExercSetForm : public QDialog
{
    Q_OBJECT

public:
    explicit TExercSetForm(QWidget *parent = nullptr);
    ~TExercSetForm() override;

private:
    std::unique_ptr<Ui::TExercSetForm> ui;
};

extern TExercSetForm *ExercSetForm;
