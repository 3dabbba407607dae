#include "mainwindow/Unit_StartupForm.h"

#include "ui_StartupForm.h"

#include <QKeyEvent>

TStartupForm *StartupForm = nullptr;

namespace {
constexpr int ShowMs = 3000;
} // namespace

TStartupForm::TStartupForm(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TStartupForm>())
{
    ui->setupUi(this);
    Timer.setInterval(ShowMs);
    Timer.setSingleShot(true);
    connect(&Timer, &QTimer::timeout, this, &TStartupForm::TimerTimer);
}

TStartupForm::~TStartupForm() = default;

void TStartupForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    Timer.start();
}

// Whatever closes the window stops the timer first, so it never fires for a closed window.
void TStartupForm::TimerTimer()
{
    Timer.stop();
    close();
}

void TStartupForm::mousePressEvent(QMouseEvent *event)
{
    QDialog::mousePressEvent(event);
    TimerTimer();
}

void TStartupForm::keyPressEvent(QKeyEvent *event)
{
    if (event->text().isEmpty()) {
        QDialog::keyPressEvent(event);
        return;
    }
    TimerTimer();
}
