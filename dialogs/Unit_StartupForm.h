#pragma once

#include <QDialog>
#include <QTimer>
#include <memory>

namespace Ui {
class TStartupForm;
}

// The splash window: shown modally while the program starts, it closes itself after three
// seconds, or at once on a click or a typed character.
class TStartupForm : public QDialog
{
    Q_OBJECT

public:
    explicit TStartupForm(QWidget *parent = nullptr);
    ~TStartupForm() override;

    QTimer Timer;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void TimerTimer();

    std::unique_ptr<Ui::TStartupForm> ui;
};

extern TStartupForm *StartupForm;
