#include "platform/SpecialFolders.h"
#include "setup/SetupMain.h"
#include "setup/Unit_FullScreenForm.h"
#include "setup/Unit_SetupDialogs.h"
#include "setup/Unit_SetupStart.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <gtest/gtest.h>

// The wizard on a real X server under a window manager that raises what is clicked: its teal
// backdrop covers the screen, and a click on it must not bury the wizard.
namespace {

constexpr int ToolTimeoutMs = 10000;
constexpr int SettleMs = 500;

// Nothing in these tests asks a question; one that is asked fails the test.
class TNoDialogs : public Setup::ISetupDialogs
{
public:
    void ShowMessage(const QString &text) override { ADD_FAILURE() << text.toStdString(); }
    void ShowError(const QString &text) override { ADD_FAILURE() << text.toStdString(); }
    int AskExit() override { return 2; }
    int AskOverwrite(const std::string &text) override
    {
        ADD_FAILURE() << text;
        return 2;
    }
    QString BrowseForFolder(QWidget *, const QString &) override { return {}; }
};

QString RunTool(const QString &tool, const QStringList &arguments)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(ToolTimeoutMs))
        return {};
    return QString::fromLatin1(process.readAllStandardOutput());
}

// The managed windows, bottom first, as the window manager stacks them; empty without one.
QList<WId> Stacking()
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("xprop"));
    if (tool.isEmpty())
        return {};
    const QString out = RunTool(tool,
                                {QStringLiteral("-root"), QStringLiteral("-notype"),
                                 QStringLiteral("_NET_CLIENT_LIST_STACKING")});
    const qsizetype hash = out.indexOf(QLatin1Char('#'));
    QList<WId> windows;
    if (hash < 0)
        return windows;
    for (const QString &id : out.mid(hash + 1).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const WId window = id.trimmed().toULongLong(&ok, 16);
        if (ok)
            windows.push_back(window);
    }
    return windows;
}

bool AdministratorNot()
{
    return false;
}

class SetupBackdrop : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetAdministratorCheck(AdministratorNot);
        QFile::copy(QStringLiteral(TARNWICK_SOURCE_DIR "/lang/English.lng"),
                    folder.filePath(QStringLiteral("English.lng")));
    }
    void TearDown() override
    {
        Setup::DestroySetupWindows();
        SetAdministratorCheck(nullptr);
    }

    QTemporaryDir folder;
    TNoDialogs dialogs;
};

TEST_F(SetupBackdrop, AClickOnTheBackdropLeavesTheWizardOnTop)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X server";
    const QString xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
    if (xdotool.isEmpty())
        GTEST_SKIP() << "needs xdotool";
    Setup::CreateSetupWindows(dialogs, folder.path());
    Setup::MainForm->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Setup::MainForm));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Setup::FullScreenForm));
    QTest::qWait(SettleMs);
    const WId wizard = Setup::MainForm->winId();
    const WId backdrop = Setup::FullScreenForm->winId();
    if (!Stacking().contains(wizard))
        GTEST_SKIP() << "needs a window manager that lists its stacking order";

    // A corner of the screen, which only the backdrop covers.
    const QPoint corner = Setup::FullScreenForm->geometry().topLeft() + QPoint(5, 5);
    ASSERT_FALSE(Setup::MainForm->frameGeometry().contains(corner));
    for (int click = 0; click < 2; ++click) {
        RunTool(xdotool,
                {QStringLiteral("mousemove"), QString::number(corner.x()),
                 QString::number(corner.y()), QStringLiteral("click"), QStringLiteral("1")});
        QTest::qWait(SettleMs);
        const QList<WId> order = Stacking();
        ASSERT_TRUE(order.contains(wizard) && order.contains(backdrop));
        EXPECT_GT(order.indexOf(wizard), order.indexOf(backdrop)) << "click " << click;
    }
    EXPECT_TRUE(Setup::MainForm->isVisible());
}

} // namespace
