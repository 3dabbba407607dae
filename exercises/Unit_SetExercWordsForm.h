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

    // Puts the loaded language pack's texts on the window.
    void ApplyLanguage();

private:
    std::unique_ptr<Ui::TSetExercWordsForm> ui;
};

extern TSetExercWordsForm *SetExercWordsForm;
