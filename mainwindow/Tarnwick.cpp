#include "mainwindow/ProgramStart.h"

#include "core/Unit_LanguagePack.h"
#include "core/Unit_Warnings.h"
#include "grid/WordsGrid.h"
#include "helpviewer/HtmlHelp.h"
#include "mainwindow/Main.h"
#include "mainwindow/ProgramHooks.h"
#include "widgets/Application.h"

#include "platform/AppIcon.h"
#include "platform/HeapTuning.h"
#include "platform/HelpProbe.h"
#include "platform/HelpViewerLibrary.h"
#include "platform/TempFile.h"
#include "platform/Translations.h"

#include <QLabel>
#include <QStatusBar>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

// For the end-to-end tests only (TARNWICK_TEST_REPORT set): message texts go to stderr instead
// of a dialog, every question is answered "no" so that nothing waits for a user (a list that
// loads as changed is closed without saving), and once start-up is done the program prints its
// title, status text and grid row count and closes.
class TStderrMessageBox : public IMessageBox
{
public:
    int Show(const TMessageRequest &request) override
    {
        std::fprintf(stderr, "message: %s\n", request.Text.toUtf8().constData());
        return request.Buttons.size() > 1 ? mbNo : mbYes;
    }
};

void ReportAndClose()
{
    const auto *count
            = MainForm->statusBar()->findChild<QLabel *>(QStringLiteral("WordCountLabel"));
    std::printf("title: %s\ncount: %s\nrows: %d\n", MainForm->windowTitle().toUtf8().constData(),
                count ? count->text().toUtf8().constData() : "", MainForm->WordsGrid()->RowCount());
    std::fflush(stdout);
    MainForm->close();
}

} // namespace

int main(int argc, char **argv)
{
    KeepFreedMemory();
    BindHelpViewer();
    TApplication app(argc, argv);
    ProbeHelpEnvironment(SystemHelpEnvironment());
    // Sound stores and recordings of a trainer that was killed or crashed.
    RemoveStaleTempFiles();
    InstallToolkitTranslations(app);
    QApplication::setWindowIcon(ApplicationIcon());
    InitApplication();
    TProgramLoadHooks loadHooks;
    SetLoadHooks(&loadHooks);
    CreateForms();
    TStderrMessageBox stderrBox;
    if (qEnvironmentVariableIsSet("TARNWICK_TEST_REPORT")) {
        SetMessageBox(&stderrBox);
        QObject::connect(MainForm, &TMainForm::StartupDone, MainForm, ReportAndClose,
                         Qt::QueuedConnection);
    }
    int result = RunMessageLoop();
    // Scripts and desktop launchers can tell a start that failed.
    if (MainForm->StartFailed)
        result = EXIT_FAILURE;
    DestroyForms();
    SetLoadHooks(nullptr);
    // The help window holds the help file open through the reader library.
    CloseHelpViewer();
    ReleaseHelpViewer();
    SetMessageBox(nullptr);
    delete std::exchange(LanguagePack, nullptr);
    return result;
}
