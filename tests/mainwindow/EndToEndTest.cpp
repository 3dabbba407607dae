#include "platform/Registry.h"
#include "support/WordListFixtures.h"
#include "support/gui/ProgramFixture.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <string>

// The built program, started as a user would start it: offscreen, with a store of its own and
// the sample list as its one argument. TARNWICK_TEST_REPORT makes it print what it shows once
// start-up is done and close, and print message texts instead of showing them.
namespace {

struct TRun
{
    int ExitCode = -1;
    std::string Out;
    std::string Err;
};

class EndToEnd : public ProgramFixture
{
protected:
    TRun Run(const QStringList &arguments)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("TARNWICK_TEST_REPORT"), QStringLiteral("1"));
        environment.insert(QStringLiteral("TARNWICK_REGISTRY_DIR"),
                           QString::fromStdString(store.Path()));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), xdg.path() + QStringLiteral("/data"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           xdg.path() + QStringLiteral("/config"));
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(TARNWICK_PROGRAM_PATH), arguments);
        TRun run;
        if (!process.waitForFinished(30000)) {
            process.kill();
            process.waitForFinished();
            ADD_FAILURE() << "the program did not end";
            return run;
        }
        run.ExitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.Out = process.readAllStandardOutput().toStdString();
        run.Err = process.readAllStandardError().toStdString();
        return run;
    }

    QTemporaryDir xdg;
};

const QString SampleList = QStringLiteral(TARNWICK_SOURCE_DIR "/samples/Frans.wdl");

TEST_F(EndToEnd, StartsWithTheSampleListAndShowsItsTitleCountAndRows)
{
    const TRun run = Run({SampleList});
    EXPECT_EQ(0, run.ExitCode) << run.Err;
    EXPECT_NE(std::string::npos, run.Out.find("title: Tarnwick - Frans\n")) << run.Out;
    EXPECT_NE(std::string::npos, run.Out.find("count: 20 woorden\n")) << run.Out;
    EXPECT_NE(std::string::npos, run.Out.find("rows: 22\n")) << run.Out;
    EXPECT_EQ(std::string::npos, run.Err.find("message:")) << run.Err;

    // The settings were written back on close, the list remembered, the association made.
    const std::optional<std::string> mru = StoredString(TrainerKey, "MRU list");
    EXPECT_TRUE(mru);
    EXPECT_NE(std::string::npos, mru.value_or("").find("samples/Frans.wdl")) << mru.value_or("");
    const std::optional<std::string> command = StoredString(
            "Tarnwick.Wordlist\\Shell\\open\\command", "", Registry::Hive::ClassesRoot);
    EXPECT_TRUE(command);
    EXPECT_NE(std::string::npos, command.value_or("").find(TARNWICK_PROGRAM_PATH " \"%1\""))
            << command.value_or("");
    EXPECT_TRUE(QFile::exists(xdg.path() + QStringLiteral("/data/applications/tarnwick.desktop")));

    // A second start with the last list on and no argument opens the same list.
    ASSERT_NO_FATAL_FAILURE(PutBinary(TrainerKey, "Other options", {1, 1, 4}));
    const TRun again = Run({QStringLiteral("-DEBUG")});
    EXPECT_NE(std::string::npos, again.Out.find("title: Tarnwick - Frans\n")) << again.Out;
}

TEST_F(EndToEnd, AListThatLoadsAsChangedIsReportedAndClosedWithoutAQuestion)
{
    const QString old = xdg.path() + QStringLiteral("/Oud.wdl");
    QFile file(old);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const std::string bytes = TListBytes().Header(4).Record(4, "vier").Bytes;
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    file.close();
    const TRun run = Run({old});
    EXPECT_EQ(0, run.ExitCode) << run.Err;
    EXPECT_NE(std::string::npos, run.Out.find("title: Tarnwick - Oud\n")) << run.Out;
    EXPECT_NE(std::string::npos, run.Out.find("rows: 3\n")) << run.Out;
}

TEST_F(EndToEnd, WithoutTheMachineWideLanguageClosesWithTheMessageAndWritesNothing)
{
    // The machine-wide key is there, its language is not.
    ASSERT_NO_FATAL_FAILURE(
            DeleteStoredValue(TrainerKey, "Language", Registry::Hive::LocalMachine));
    ASSERT_NO_FATAL_FAILURE(PutInteger(TrainerKey, "Version", 0, Registry::Hive::LocalMachine));
    ASSERT_NO_FATAL_FAILURE(PutString(TrainerKey, "MRU list", "x"));
    const std::string machine = store.ReadFile("HKEY_LOCAL_MACHINE.reg");
    const std::string user = store.ReadFile("HKEY_CURRENT_USER.reg");
    const TRun run = Run({SampleList});
    // A failed start is told apart by its exit status.
    EXPECT_EQ(EXIT_FAILURE, run.ExitCode);
    EXPECT_NE(std::string::npos,
              run.Err.find("message: The registration data could not be read.  Re-install "
                           "Tarnwick to restore the data.\n"))
            << run.Err;
    EXPECT_EQ(std::string::npos, run.Out.find("title:")) << run.Out;
    EXPECT_EQ(machine, store.ReadFile("HKEY_LOCAL_MACHINE.reg"));
    EXPECT_EQ(user, store.ReadFile("HKEY_CURRENT_USER.reg"));
    EXPECT_EQ("", store.ReadFile("HKEY_CLASSES_ROOT.reg"));
}

} // namespace
