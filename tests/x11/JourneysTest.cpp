#include "support/StoreFixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

// The built programs started as processes on the X server, with openbox managing their windows,
// and driven with real key events (xdotool) as a user drives them.
namespace {

constexpr int ToolTimeoutMs = 30000;
constexpr int WindowTimeoutMs = 60000;
// Extracting every volume under the sanitizers takes a while.
constexpr int InstallTimeoutMs = 240000;
constexpr int PollMs = 100;
constexpr int KeyPauseMs = 400;
// An unprivileged account for the installer when the tests run as root: as root it would put its
// menu entries into the machine's own folders.
const char *const UnprivilegedUser = "65534";

struct TRun
{
    int ExitCode = -1;
    std::string Out;
    std::string Err;
};

TRun Finish(QProcess &process, int timeoutMs)
{
    TRun run;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        ADD_FAILURE() << process.program().toStdString() << " did not end";
    } else if (process.exitStatus() == QProcess::NormalExit) {
        run.ExitCode = process.exitCode();
    }
    run.Out = process.readAllStandardOutput().toStdString();
    run.Err = process.readAllStandardError().toStdString();
    return run;
}

TRun Tool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    return Finish(process, ToolTimeoutMs);
}

// Each key is pressed once the program has had time to act on the one before, as a user types.
void Keys(const QStringList &keys)
{
    for (const QString &key : keys) {
        QThread::msleep(KeyPauseMs);
        ASSERT_EQ(0, Tool("xdotool", {"key", "--clearmodifiers", key}).ExitCode)
                << key.toStdString();
    }
}

// The visible window whose title is exactly the given one, activated through the window manager.
QString ActivateWindow(const QString &title)
{
    QElapsedTimer timer;
    timer.start();
    const QString pattern = '^' + QRegularExpression::escape(title) + '$';
    while (timer.elapsed() < WindowTimeoutMs) {
        const TRun found = Tool("xdotool", {"search", "--onlyvisible", "--name", pattern});
        const QString id = QString::fromStdString(found.Out).section('\n', 0, 0).trimmed();
        if (found.ExitCode == 0 && !id.isEmpty()
            && Tool("xdotool", {"windowactivate", "--sync", id}).ExitCode == 0)
            return id;
        QThread::msleep(PollMs);
    }
    ADD_FAILURE() << "no window \"" << title.toStdString() << "\"";
    return {};
}

class Journeys : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        ASSERT_FALSE(qEnvironmentVariableIsEmpty("DISPLAY"));
    }

    // A user's environment with its own home folder and nothing of the test's own store.
    QProcessEnvironment UserEnvironment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"TARNWICK_REGISTRY_DIR", "XDG_CONFIG_HOME", "XDG_DATA_HOME"})
            environment.remove(name);
        environment.insert("HOME", home.path());
        environment.insert("QT_QPA_PLATFORM", "xcb");
        return environment;
    }

    // As root, the program runs under the unprivileged account, as a user's own installation.
    static void StartAsUser(QProcess &process, const QString &program, const QStringList &arguments)
    {
        if (geteuid() != 0) {
            process.start(program, arguments);
            return;
        }
        process.start("setpriv",
                      QStringList{"--reuid=" + QString(UnprivilegedUser),
                                  "--regid=" + QString(UnprivilegedUser), "--clear-groups", program}
                              + arguments);
    }

    QTemporaryDir home;
};

// The trainer opened on a list comes up as a managed window with the list's title; the window
// manager's close request (Alt+F4) ends it normally, and it remembers the list.
TEST_F(Journeys, TheTrainerOpensAListAndClosesThroughTheWindowManager)
{
    TStoreDir store;
    SeedInstalledStore();
    QProcessEnvironment environment = UserEnvironment();
    environment.insert("TARNWICK_REGISTRY_DIR", QString::fromStdString(store.Path()));
    QProcess trainer;
    trainer.setProcessEnvironment(environment);
    trainer.start(TARNWICK_PROGRAM_PATH, {TARNWICK_SOURCE_DIR "/samples/Frans.wdl"});
    ASSERT_FALSE(ActivateWindow("Tarnwick - Frans").isEmpty());
    Keys({"alt+F4"});
    const TRun run = Finish(trainer, WindowTimeoutMs);
    EXPECT_EQ(0, run.ExitCode) << run.Err;
    EXPECT_NE(std::string::npos,
              StoredString(TrainerKey, "MRU list").value_or("").find("samples/Frans.wdl"));

    // Started again for its report, it prints what the window shows and closes by itself.
    environment.insert("TARNWICK_TEST_REPORT", "1");
    QProcess reporting;
    reporting.setProcessEnvironment(environment);
    reporting.start(TARNWICK_PROGRAM_PATH, {TARNWICK_SOURCE_DIR "/samples/Frans.wdl"});
    const TRun report = Finish(reporting, WindowTimeoutMs);
    EXPECT_EQ(0, report.ExitCode) << report.Err;
    EXPECT_EQ("title: Tarnwick - Frans\ncount: 20 woorden\nrows: 22\n", report.Out);
    EXPECT_EQ(std::string::npos, report.Err.find("message:")) << report.Err;
}

// The distribution installed by its own setup program into a fresh home folder, clicked through
// with the keyboard only, and the installed trainer started from where it was put.
TEST_F(Journeys, SetupInstallsTheDistributionIntoAFreshHomeAndTheTrainerStarts)
{
    const QString dist = TARNWICK_DIST_DIR;
    ASSERT_TRUE(QFile::exists(dist + "/Setup.d01")) << dist.toStdString();
    QProcessEnvironment environment = UserEnvironment();
    if (geteuid() == 0) {
        ASSERT_TRUE(QFile::setPermissions(home.path(),
                                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                  | QFile::ReadOther | QFile::WriteOther
                                                  | QFile::ExeOther));
        environment.insert("XDG_RUNTIME_DIR", home.path());
    }
    QProcess setup;
    setup.setProcessEnvironment(environment);
    StartAsUser(setup, dist + "/setup", {});
    ASSERT_TRUE(setup.waitForStarted());
    ASSERT_FALSE(ActivateWindow("Tarnwick Setup").isEmpty())
            << setup.readAllStandardError().toStdString();
    // The language list takes the arrow keys and Return. On the licence page Alt+N would reach
    // both "&Next" and "I do &not accept", so Tab goes from the choice past Back to Next.
    ASSERT_NO_FATAL_FAILURE(Keys({"Down", "Up", "Return", "alt+n", "alt+a", "Tab", "Tab", "space",
                                  "alt+n", "alt+n", "alt+n"}));
    const QString folder = home.path() + "/.local/share/Tarnwick";
    QElapsedTimer timer;
    timer.start();
    while (!QFile::exists(folder + "/Install.log") && timer.elapsed() < InstallTimeoutMs)
        if (setup.state() == QProcess::NotRunning || setup.waitForFinished(PollMs))
            break;
    ASSERT_TRUE(QFile::exists(folder + "/Install.log"))
            << setup.readAllStandardError().toStdString();
    // Finish is the only button left once the files are in.
    ASSERT_FALSE(ActivateWindow("Tarnwick Setup").isEmpty());
    ASSERT_NO_FATAL_FAILURE(Keys({"alt+f"}));
    const TRun installed = Finish(setup, InstallTimeoutMs);
    EXPECT_EQ(0, installed.ExitCode) << installed.Err;
    for (const char *name : {TARNWICK_TRAINER_FILE_NAME, "English.lng", "Frans.wdl"})
        EXPECT_TRUE(QFile::exists(folder + '/' + name)) << name;
    EXPECT_TRUE(
            QFile::exists(home.path() + "/.local/share/applications/Tarnwick/Tarnwick.desktop"));

    // The installed trainer, by the same user, reads the language setup left in the store.
    environment.insert("TARNWICK_TEST_REPORT", "1");
    QProcess trainer;
    trainer.setProcessEnvironment(environment);
    StartAsUser(trainer, folder + "/" TARNWICK_TRAINER_FILE_NAME, {folder + "/Frans.wdl"});
    const TRun run = Finish(trainer, WindowTimeoutMs);
    EXPECT_EQ(0, run.ExitCode) << run.Err;
    EXPECT_EQ("title: Tarnwick - Frans\ncount: 20 words\nrows: 22\n", run.Out);
    EXPECT_EQ(std::string::npos, run.Err.find("message:")) << run.Err;
}

} // namespace
