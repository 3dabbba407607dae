#include "support/gui/ProgramFixture.h"

#include "core/BusyCursor.h"
#include "core/Unit_GlobalSettings.h"
#include "core/Unit_LanguagePack.h"
#include "core/Unit_ThreadInterchange.h"
#include "core/Unit_WordList.h"
#include "dialogs/Unit_StartupForm.h"
#include "grid/WordsGrid.h"
#include "helpviewer/HtmlHelp.h"
#include "mainwindow/Main.h"
#include "mainwindow/ProgramStart.h"

#include <QSignalSpy>
#include <QTest>
#include <utility>

void ProgramFixture::SetUp()
{
    ASSERT_NO_FATAL_FAILURE(SeedInstalledStore());
}

void ProgramFixture::TearDown()
{
    DestroyForms();
    CloseHelpViewer();
    delete std::exchange(LanguagePack, nullptr);
    delete std::exchange(CurrentList, nullptr);
    SetDefaultSettings();
    Language.clear();
    SetBusyCursor(false);
}

void ProgramFixture::CreateProgram(const QStringList &arguments)
{
    CreateForms();
    StartupForm->Timer.setInterval(1);
    MainForm->CommandLine = QStringList{QStringLiteral("tarnwick")} + arguments;
}

bool ProgramFixture::Start()
{
    QSignalSpy done(MainForm, &TMainForm::StartupDone);
    MainForm->show();
    for (int i = 0; i < 200 && done.isEmpty() && (MainForm->isVisible() || i == 0); ++i)
        QTest::qWait(20);
    return !done.isEmpty();
}

Ui::TMainForm &ProgramFixture::Form()
{
    return MainForm->Controls();
}

TWordsGrid &ProgramFixture::Grid()
{
    return *MainForm->WordsGrid();
}
