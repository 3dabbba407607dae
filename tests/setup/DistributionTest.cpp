#include "core/Unit_Paths.h"
#include "platform/SpecialFolders.h"
#include "setup/ExtractFixture.h"
#include "setup/SetupMain.h"
#include "setup/Unit_Extract.h"
#include "setup/Unit_LogFile.h"
#include "setup/Unit_SetupPars.h"
#include "setup/Unit_SetupStart.h"
#include "setup/Unit_Shortcuts.h"
#include "setup/WizardEnvironment.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>

using Setup::SetupPars;

// The distribution as the `distribution` target assembles it, installed the way a user does it
// on a clean machine: the wizard clicked through offscreen, the volumes and the packs beside
// setup, and then the installed trainer started.
namespace {

constexpr int TrainerTimeoutMs = 60000;

class Distribution : public ::testing::Test
{
protected:
    void TearDown() override
    {
        Setup::DestroySetupWindows();
        Setup::SetHelpViewerCheck(previousHelpCheck);
    }

    template<class T> T *Child(const char *name) const
    {
        T *child = Setup::MainForm->findChild<T *>(name);
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    void Click(const char *button) { Child<QAbstractButton>(button)->click(); }
    // The language list is a hover menu: the pointer selects, a click chooses.
    void ChooseLanguage(const QString &name)
    {
        auto *box = Child<QListWidget>("LanguageBox");
        const QList<QListWidgetItem *> items = box->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << name.toStdString();
        const QPoint at = box->visualItemRect(items[0]).center();
        for (const QEvent::Type type :
             {QEvent::MouseMove, QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            const Qt::MouseButton button
                    = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
            QMouseEvent event(type, at, box->viewport()->mapToGlobal(at), button,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                              Qt::NoModifier);
            QApplication::sendEvent(box->viewport(), &event);
        }
    }

    // Clicks through the wizard with the English pack; an empty folder keeps the offered one.
    void InstallDistribution(const QString &folder)
    {
        const QString dist = QStringLiteral(TARNWICK_DIST_DIR);
        ASSERT_TRUE(QFileInfo::exists(dist + "/Setup.d01")) << dist.toStdString();
        Setup::CreateSetupWindows(dialogs, dist);
        ExtractForm->VolumeFolders = {QFile::encodeName(dist).toStdString()};
        ExtractForm->SetQuestions(&questions);
        Setup::MainForm->show();
        QApplication::processEvents();

        ChooseLanguage("English");
        Click("NextButton");
        Click("AgreeRadio");
        Click("NextButton");
        if (!folder.isEmpty())
            Child<QLineEdit>("InstallDirEdit")->setText(folder);
        Click("NextButton");
        Child<QLineEdit>("ProgFolderEdit")->setText("Learning\\Tarnwick");
        Click("NextButton");
        ASSERT_EQ(SetupPars.State, 4);
        Click("NextButton");
        ASSERT_EQ(SetupPars.State, 5);
        EXPECT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();
        EXPECT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join('|').toStdString();
    }

    TSetupEnvironment env;
    TScriptedDialogs dialogs;
    TScriptedQuestions questions;
    // A clean machine has no application for the help file's type.
    Setup::THelpViewerCheck previousHelpCheck
            = Setup::SetHelpViewerCheck([](const std::string &) { return false; });
};

TEST_F(Distribution, InstallsWithoutAQuestionLogsEveryFileOnceAndTheTrainerStarts)
{
    const QString folder = env.Path("Programs/Tarnwick");
    InstallDistribution(folder);
    EXPECT_TRUE(dialogs.OverwriteQuestions.empty());
    EXPECT_TRUE(questions.OverwriteTexts.empty());
    EXPECT_TRUE(questions.Errors.empty());

    // Every installed file is logged once, with the stamp it has.
    TLogReader log;
    ASSERT_TRUE(log.Open(QFile::encodeName(folder + "/Install.log").toStdString()));
    std::vector<std::string> logged;
    for (const TLogItem &item : log.Section("{program files}")) {
        logged.push_back(item.Name);
        EXPECT_EQ(item.Stamp,
                  FileTimeStamp(JoinPath(QFile::encodeName(folder).toStdString(), item.Name)))
                << item.Name;
    }
    std::sort(logged.begin(), logged.end());
    std::vector<std::string> installed;
    for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
        if (name != "Install.log")
            installed.push_back(QFile::encodeName(name).toStdString());
    std::sort(installed.begin(), installed.end());
    EXPECT_EQ(logged, installed);
    for (const char *name :
         {TARNWICK_TRAINER_FILE_NAME, "English.lng", "Nederlands.lng", "Frans.wdl"})
        EXPECT_TRUE(std::binary_search(logged.begin(), logged.end(), name)) << name;
    // No uninstaller ships, so there is no entry for it, and nothing here opens the help file.
    std::vector<std::string> entries;
    for (const TLogItem &item : log.Section("{program folder files}"))
        entries.push_back(item.Name);
    EXPECT_EQ(entries, std::vector<std::string>{"Tarnwick.desktop"});
    EXPECT_TRUE(QFileInfo::exists(env.MergedMenusFolder() + "/tarnwick-Learning-Tarnwick.menu"));

    // The trainer starts from the install folder with the packs and the store setup left.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("TARNWICK_TEST_REPORT", "1");
    QProcess trainer;
    trainer.setProcessEnvironment(environment);
    trainer.start(folder + "/" TARNWICK_TRAINER_FILE_NAME, {folder + "/Frans.wdl"});
    ASSERT_TRUE(trainer.waitForFinished(TrainerTimeoutMs));
    const std::string out = trainer.readAllStandardOutput().toStdString();
    const std::string err = trainer.readAllStandardError().toStdString();
    EXPECT_EQ(trainer.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(trainer.exitCode(), 0) << err;
    EXPECT_NE(out.find("title: Tarnwick - Frans\n"), std::string::npos) << out;
    EXPECT_NE(out.find("count: 20 words\n"), std::string::npos) << out;
    EXPECT_NE(out.find("rows: 22\n"), std::string::npos) << out;
    EXPECT_EQ(err.find("message:"), std::string::npos) << err;
}

// Installed by the administrator, the trainer starts for any other user: one whose store and
// desktop folders are empty reads the machine-wide values from the system's store.
TEST_F(Distribution, InstalledForEveryUserTheTrainerStartsForAnotherUser)
{
    SetAdministratorCheck([] { return true; });
    InstallDistribution(QString());
    const QString folder = env.SystemRoot() + "/opt/Tarnwick";
    ASSERT_EQ(SetupPars.InstallFolder, QFile::encodeName(folder).toStdString());

    QTemporaryDir otherStore;
    QTemporaryDir otherHome;
    ASSERT_TRUE(otherStore.isValid() && otherHome.isValid());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("TARNWICK_TEST_REPORT", "1");
    environment.insert("TARNWICK_SYSTEM_ROOT", env.SystemRoot());
    environment.insert("TARNWICK_REGISTRY_DIR", otherStore.path());
    environment.insert("HOME", otherHome.path());
    environment.insert("XDG_DATA_HOME", otherHome.filePath("data"));
    environment.insert("XDG_CONFIG_HOME", otherHome.filePath("config"));
    QProcess trainer;
    trainer.setProcessEnvironment(environment);
    trainer.start(folder + "/" TARNWICK_TRAINER_FILE_NAME, {folder + "/Frans.wdl"});
    ASSERT_TRUE(trainer.waitForFinished(TrainerTimeoutMs));
    const std::string out = trainer.readAllStandardOutput().toStdString();
    const std::string err = trainer.readAllStandardError().toStdString();
    EXPECT_EQ(trainer.exitCode(), 0) << err;
    EXPECT_NE(out.find("title: Tarnwick - Frans\n"), std::string::npos) << out;
    EXPECT_EQ(err.find("message:"), std::string::npos) << err;
    // The user's own settings went into the user's own store.
    EXPECT_TRUE(QFileInfo::exists(otherStore.filePath("HKEY_CURRENT_USER.reg")));
}

} // namespace
