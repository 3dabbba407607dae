#include "setup/Unit_SetupDialogs.h"

#include "setup/Unit_ExitForm.h"
#include "setup/Unit_Overwrite.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace Setup {

namespace {

void ShowBox(QMessageBox::Icon icon, const QString &text)
{
    QMessageBox box(icon, QApplication::applicationName(), text, QMessageBox::Ok);
    box.exec();
}

} // namespace

void TDesktopDialogs::ShowMessage(const QString &text)
{
    ShowBox(QMessageBox::NoIcon, text);
}

void TDesktopDialogs::ShowError(const QString &text)
{
    ShowBox(QMessageBox::Critical, text);
}

int TDesktopDialogs::AskExit()
{
    return ExitForm->exec();
}

int TDesktopDialogs::AskOverwrite(const std::string &text)
{
    return OverwriteForm->Ask(text);
}

QString TDesktopDialogs::BrowseForFolder(QWidget *owner, const QString &title)
{
    return QFileDialog::getExistingDirectory(owner, title);
}

} // namespace Setup
