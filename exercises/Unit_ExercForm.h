#pragma once

#include <QDialog>
#include <cstdint>
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

    // Layouts for answers typed in the foreign and the reference language, as the main window's
    // editors last changed them; 0 is the desktop's own layout.
    intptr_t ForeignKbLayout = 0;
    intptr_t ReferenceKbLayout = 0;

private:
    std::unique_ptr<Ui::TExercForm> ui;
};

extern TExercForm *ExercForm;
