#include "mainwindow/Main.h"

#include "ui_MainForm.h"

#include <QApplication>
#include <QCloseEvent>

TMainForm *MainForm = nullptr;

TMainForm::TMainForm(QWidget *parent)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::TMainForm>())
{
    ui->setupUi(this);
}

TMainForm::~TMainForm() = default;

void TMainForm::closeEvent(QCloseEvent *event)
{
    QMainWindow::closeEvent(event);
    // The main window ends the program even while a modeless window is still visible.
    if (event->isAccepted())
        QApplication::quit();
}
