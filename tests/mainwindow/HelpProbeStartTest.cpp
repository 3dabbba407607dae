#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <gtest/gtest.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char **environ;

namespace {

using namespace std::chrono_literals;

// Runs a program by its bare name, as a shell finds it through PATH, so that its argument 0 holds
// no folder; gives its exit status, or -1 when it did not end in time.
int RunByName(const std::string &name, const std::string &folder,
              const std::vector<std::string> &arguments)
{
    std::vector<std::string> environment;
    for (char **variable = environ; *variable; ++variable)
        if (std::string(*variable).rfind("PATH=", 0) != 0)
            environment.emplace_back(*variable);
    environment.push_back("PATH=" + folder);
    environment.emplace_back("TARNWICK_TEST_REPORT=1");
    environment.emplace_back("QT_QPA_PLATFORM=offscreen");
    std::vector<char *> argv{const_cast<char *>(name.c_str())};
    for (const std::string &argument : arguments)
        argv.push_back(const_cast<char *>(argument.c_str()));
    argv.push_back(nullptr);
    std::vector<char *> envp;
    for (std::string &variable : environment)
        envp.push_back(variable.data());
    envp.push_back(nullptr);
    // posix_spawnp looks the name up in the PATH of the calling process.
    const QByteArray savedPath = qgetenv("PATH");
    qputenv("PATH", QByteArray::fromStdString(folder));
    pid_t child = 0;
    const int spawned
            = posix_spawnp(&child, name.c_str(), nullptr, nullptr, argv.data(), envp.data());
    qputenv("PATH", savedPath);
    if (spawned != 0)
        return -1;
    int status = 0;
    for (int wait = 0; wait < 600; ++wait) {
        if (waitpid(child, &status, WNOHANG) == child)
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::this_thread::sleep_for(100ms);
    }
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
    return -1;
}

} // namespace

// Started by name through PATH, the program still knows its own folder: the marker file beside it
// switches the report on, and the report lands beside it and names that folder.
TEST(HelpProbeStart, FindsTheProgramFolderWhenStartedThroughPath)
{
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("tarnwick"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(TARNWICK_PROGRAM_PATH), program));
    ASSERT_TRUE(QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner));
    QFile marker(dir.filePath(QStringLiteral("debug.debug")));
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.close();

    const std::string folder = QFile::encodeName(dir.path()).toStdString();
    EXPECT_NE(-1, RunByName("tarnwick", folder, {}));
    QFile report(dir.filePath(QStringLiteral("HHDebug.txt")));
    ASSERT_TRUE(report.open(QIODevice::ReadOnly));
    const QString text = QString::fromLocal8Bit(report.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("_ModuleDir =        \t") + dir.path() + '\n'))
            << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("_ModuleName =       \ttarnwick\n")))
            << text.toStdString();
    // Nothing was tried in the current folder instead.
    EXPECT_FALSE(QFile::exists(QStringLiteral("$_Temp_$.$$$")));
}
