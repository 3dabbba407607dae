#include "dialogs/Unit_StartupForm.h"

#include "dialogs/Unit_AboutForm.h"
#include "platform/JpegImage.h"
#include "ui_StartupForm.h"

#include <QKeyEvent>

TStartupForm *StartupForm = nullptr;

namespace {
constexpr int ShowMs = 3000;
constexpr const char *StartupPicture = ":/forms/StartupImg.jpg";
} // namespace

TStartupForm::TStartupForm(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , ui(std::make_unique<Ui::TStartupForm>())
{
    ui->setupUi(this);
    ui->StartupImage->setPixmap(
            QPixmap::fromImage(LoadJpegFile(QString::fromLatin1(StartupPicture))));
    setFixedSize(ui->StartupImage->size());
    Timer.setInterval(ShowMs);
    Timer.setSingleShot(true);
    connect(&Timer, &QTimer::timeout, this, &TStartupForm::TimerTimer);
}

TStartupForm::~TStartupForm() = default;

void TStartupForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    CentreOnDesktop(this);
    Timer.start();
}

// Every way of closing passes here, so the timer never fires for a closed window.
void TStartupForm::hideEvent(QHideEvent *event)
{
    Timer.stop();
    QDialog::hideEvent(event);
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
