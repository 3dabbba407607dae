#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TSetExercWordsForm;
}

class TSetExercWordsForm : public QDialog
{
    Q_OBJECT

public:
    explicit TSetExercWordsForm(QWidget *parent = nullptr);
    ~TSetExercWordsForm() override;

private:
    std::unique_ptr<Ui::TSetExercWordsForm> ui;
};

extern TSetExercWordsForm *SetExercWordsForm;
