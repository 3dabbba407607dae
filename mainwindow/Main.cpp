#include "mainwindow/Main.h"

#include "mainwindow/SoundGlyph.h"
#include "mainwindow/WordsGrid.h"
#include "ui_MainForm.h"

#include <QApplication>
#include <QCloseEvent>

TMainForm *MainForm = nullptr;

TMainForm::TMainForm(QWidget *parent)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::TMainForm>())
{
    ui->setupUi(this);
    ui->WordsGrid->SetMessageTarget(this);
    ui->WordsGrid->SetSoundBmp(SoundGlyph(palette().color(QPalette::Text)));
    ui->WordsGrid->SetSoundInvBmp(SoundGlyph(palette().color(QPalette::HighlightedText)));
}

TMainForm::~TMainForm() = default;

TWordsGrid *TMainForm::WordsGrid() const
{
    return ui->WordsGrid;
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    QMainWindow::closeEvent(event);
    // The main window ends the program even while a modeless window is still visible.
    if (event->isAccepted())
        QApplication::quit();
}
