#include "setup/Unit_FullScreenForm.h"

#include "ui_SetupFullScreenForm.h"

#include <QGuiApplication>
#include <QPalette>
#include <QScreen>

namespace Setup {

TFullScreenForm *FullScreenForm = nullptr;

TFullScreenForm::TFullScreenForm(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::SetupFullScreenForm>())
{
    ui->setupUi(this);
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    QPalette teal = palette();
    teal.setColor(QPalette::Window, QColor(0x00, 0x80, 0x80));
    teal.setColor(QPalette::Disabled, QPalette::Window, QColor(0x00, 0x80, 0x80));
    setPalette(teal);
}

TFullScreenForm::~TFullScreenForm() = default;

void TFullScreenForm::ShowOverScreen()
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        setGeometry(screen->geometry());
    show();
}

} // namespace Setup
