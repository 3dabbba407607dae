#include "setup/WizardFixture.h"

#include "setup/SetupMain.h"
#include "setup/Unit_SetupStart.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>

void WizardTest::TearDown()
{
    Setup::DestroySetupWindows();
}

void WizardTest::Start()
{
    Setup::CreateSetupWindows(dialogs, env.SetupFolder());
    Setup::MainForm->show();
    QApplication::processEvents();
}

void WizardTest::StartWithOnePack()
{
    env.AddGeneratedPack("Pack.lng");
    Start();
    ASSERT_EQ(PageName(), "WelcomePanel");
}

QWidget *WizardTest::Wizard() const
{
    return Setup::MainForm;
}

QWidget *WizardTest::CurrentPage() const
{
    return Child<QStackedWidget>("Pages")->currentWidget();
}

std::string WizardTest::PageName() const
{
    return CurrentPage()->objectName().toStdString();
}

void WizardTest::Next()
{
    QPushButton *next = Child<QPushButton>("NextButton");
    ASSERT_TRUE(next->isVisible() && next->isEnabled());
    next->click();
}

void WizardTest::Back()
{
    QPushButton *back = Child<QPushButton>("BackButton");
    ASSERT_TRUE(back->isVisible() && back->isEnabled());
    back->click();
}

void WizardTest::ClickAgree()
{
    Child<QRadioButton>("AgreeRadio")->click();
}

void WizardTest::CloseWizard()
{
    Wizard()->close();
    QApplication::processEvents();
}

QListWidget *WizardTest::LanguageBox() const
{
    return Child<QListWidget>("LanguageBox");
}
