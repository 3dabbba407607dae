#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TSetLessonForm;
}

class TSetLessonForm : public QDialog
{
    Q_OBJECT

public:
    explicit TSetLessonForm(QWidget *parent = nullptr);
    ~TSetLessonForm() override;

    // Puts the loaded language pack's texts on the window.
    void ApplyLanguage();

private:
    std::unique_ptr<Ui::TSetLessonForm> ui;
};

extern TSetLessonForm *SetLessonForm;
