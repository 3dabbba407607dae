#include "platform/SpecialFolders.h"
#include "setup/Unit_SetupPars.h"
#include "setup/WizardEnvironment.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace Setup;

namespace {

const char *const UninstallKey
        = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tarnwick";

class SetupParsTest : public ::testing::Test
{
protected:
    void Previous(const QString &folder, const QByteArray *log)
    {
        env.WriteMachineString(UninstallKey, "UninstallString",
                               env.LocalPath(folder) + "/Uninst.exe");
        QDir().mkpath(env.Path(folder));
        if (log)
            env.WriteFile(env.Path(folder + "/Install.log"), *log);
    }
    TSetupPars Init()
    {
        TSetupPars pars;
        pars.State = 3;
        pars.PreviousFound = true;
        pars.CloseWithoutAsking = false;
        InitSetupPars(pars);
        return pars;
    }
    std::string DefaultFolder() const
    {
        return QFile::encodeName(env.DataFolder()).toStdString() + "/Tarnwick";
    }

    TSetupEnvironment env;
};

TEST_F(SetupParsTest, WithoutAnEarlierInstallationTheDefaultsAreOffered)
{
    const TSetupPars pars = Init();
    EXPECT_EQ(pars.State, 0);
    EXPECT_FALSE(pars.PreviousFound);
    EXPECT_TRUE(pars.CloseWithoutAsking);
    EXPECT_EQ(pars.InstallFolder, DefaultFolder());
    EXPECT_EQ(pars.ProgramGroup, "Tarnwick");
    EXPECT_EQ(pars.PreviousFolder, "");
    EXPECT_EQ(pars.PreviousGroup, "");
}

TEST_F(SetupParsTest, TheAdministratorInstallsInOpt)
{
    SetAdministratorCheck([] { return true; });
    const TSetupPars pars = Init();
    EXPECT_EQ(pars.InstallFolder, env.LocalPath("system") + "/opt/Tarnwick");
}

TEST_F(SetupParsTest, AStoredProgramFilesFolderWins)
{
    env.WriteMachineString("\\Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir",
                           "/srv/programs/");
    EXPECT_EQ(Init().InstallFolder, "/srv/programs/Tarnwick");
}

TEST_F(SetupParsTest, AnEarlierInstallationWithItsLogIsFound)
{
    const QByteArray log(
            "Tarnwick installation log\r\n0\r\n\r\n{program folder}\r\nTools\\Tarnwick\r\n"
            "\r\n{program files}\r\nTarnwick\r\n12345\r\n\r\n");
    Previous("old", &log);
    const TSetupPars pars = Init();
    EXPECT_TRUE(pars.PreviousFound);
    EXPECT_EQ(pars.PreviousFolder, env.LocalPath("old"));
    EXPECT_EQ(pars.PreviousGroup, "Tools\\Tarnwick");
    EXPECT_EQ(pars.InstallFolder, env.LocalPath("old"));
    EXPECT_EQ(pars.ProgramGroup, "Tools\\Tarnwick");
}

TEST_F(SetupParsTest, AnEarlierFolderWithoutALogGivesTheDefaults)
{
    Previous("old", nullptr);
    const TSetupPars pars = Init();
    EXPECT_FALSE(pars.PreviousFound);
    EXPECT_EQ(pars.PreviousFolder, env.LocalPath("old"));
    EXPECT_EQ(pars.InstallFolder, DefaultFolder());
    EXPECT_EQ(pars.ProgramGroup, "Tarnwick");
}

TEST_F(SetupParsTest, TheGroupMarkerAsLastLineIsNotFound)
{
    const QByteArray log("title\r\n0\r\n\r\n{program folder}\r\n");
    Previous("old", &log);
    EXPECT_FALSE(Init().PreviousFound);
    const QByteArray noMarker("title\r\n0\r\n\r\nGroup\r\n");
    Previous("old", &noMarker);
    EXPECT_FALSE(Init().PreviousFound);
}

TEST_F(SetupParsTest, AnEmptyGroupLineIsFoundAsTheEmptyGroup)
{
    const QByteArray log("title\r\n0\r\n\r\n{program folder}\r\n\r\n{program files}\r\n");
    Previous("old", &log);
    const TSetupPars pars = Init();
    EXPECT_TRUE(pars.PreviousFound);
    EXPECT_EQ(pars.ProgramGroup, "");
}

TEST_F(SetupParsTest, LogLinesMayEndWithLineFeedsAlone)
{
    const QByteArray log("title\n0\n\n{program folder}\nGroup\n");
    Previous("old", &log);
    const TSetupPars pars = Init();
    EXPECT_TRUE(pars.PreviousFound);
    EXPECT_EQ(pars.PreviousGroup, "Group");
    const QByteArray lastLine("title\r\n0\r\n\r\n{program folder}\r\nGroup");
    Previous("old", &lastLine);
    EXPECT_EQ(Init().PreviousGroup, "Group");
}

TEST_F(SetupParsTest, ARelativeOrEmptyUninstallerIsNotAnEarlierInstallation)
{
    env.WriteFile(env.Path("setup/Install.log"), "t\r\n0\r\n\r\n{program folder}\r\nG\r\n");
    const QString saved = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(env.SetupFolder()));
    for (const char *value : {"Uninst.exe", "", "./Uninst.exe"}) {
        env.WriteMachineString(UninstallKey, "UninstallString", value);
        const TSetupPars pars = Init();
        EXPECT_FALSE(pars.PreviousFound) << value;
        EXPECT_EQ(pars.PreviousFolder, "") << value;
    }
    QDir::setCurrent(saved);
}

} // namespace
