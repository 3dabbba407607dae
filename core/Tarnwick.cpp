#include "mainwindow/Main.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarnwick"));

    MainForm = new TMainForm;
    MainForm->show();
    const int result = QApplication::exec();
    delete MainForm;
    return result;
}
