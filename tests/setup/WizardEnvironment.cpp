#include "setup/WizardEnvironment.h"

#include "platform/MachineScope.h"
#include "platform/Registry.h"
#include "platform/SpecialFolders.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

bool OrdinaryUser()
{
    return false;
}

} // namespace

TSetupEnvironment::TSetupEnvironment()
    : savedDataHome(qgetenv("XDG_DATA_HOME"))
    , hadDataHome(qEnvironmentVariableIsSet("XDG_DATA_HOME"))
    , savedConfigHome(qgetenv("XDG_CONFIG_HOME"))
    , hadConfigHome(qEnvironmentVariableIsSet("XDG_CONFIG_HOME"))
    , savedSystemRoot(qgetenv("TARNWICK_SYSTEM_ROOT"))
{
    QDir(dir.path()).mkpath(QStringLiteral("setup"));
    QDir(dir.path()).mkpath(QStringLiteral("data"));
    QDir(dir.path()).mkpath(QStringLiteral("system"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(DataFolder()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath(QStringLiteral("config"))));
    qputenv("TARNWICK_SYSTEM_ROOT", QFile::encodeName(SystemRoot()));
    SetAdministratorCheck(OrdinaryUser);
    SetMachineScope(TMachineScope::Layered);
}

TSetupEnvironment::~TSetupEnvironment()
{
    SetMachineScope(TMachineScope::Layered);
    SetAdministratorCheck(nullptr);
    qputenv("TARNWICK_SYSTEM_ROOT", savedSystemRoot);
    if (hadDataHome)
        qputenv("XDG_DATA_HOME", savedDataHome);
    else
        qunsetenv("XDG_DATA_HOME");
    if (hadConfigHome)
        qputenv("XDG_CONFIG_HOME", savedConfigHome);
    else
        qunsetenv("XDG_CONFIG_HOME");
}

QString TSetupEnvironment::SetupFolder() const
{
    return dir.filePath(QStringLiteral("setup"));
}

QString TSetupEnvironment::SystemRoot() const
{
    return dir.filePath(QStringLiteral("system"));
}

QString TSetupEnvironment::DataFolder() const
{
    return dir.filePath(QStringLiteral("data"));
}

QString TSetupEnvironment::ProgramsFolder() const
{
    return dir.filePath(QStringLiteral("data/applications"));
}

QString TSetupEnvironment::MergedMenusFolder() const
{
    return dir.filePath(QStringLiteral("config/menus/applications-merged"));
}

QString TSetupEnvironment::DesktopDirectoriesFolder() const
{
    return dir.filePath(QStringLiteral("data/desktop-directories"));
}

QString TSetupEnvironment::Path(const QString &relative) const
{
    return dir.filePath(relative);
}

std::string TSetupEnvironment::LocalPath(const QString &relative) const
{
    return QFile::encodeName(Path(relative)).toStdString();
}

void TSetupEnvironment::WriteFile(const QString &path, const QByteArray &bytes) const
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

QByteArray TSetupEnvironment::ReadFile(const QString &path) const
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

void TSetupEnvironment::AddShippedPack(const QString &source, const QString &fileName) const
{
    WriteFile(QDir(SetupFolder()).filePath(fileName),
              ReadFile(QStringLiteral(TARNWICK_SOURCE_DIR "/lang/") + source));
}

QByteArray TSetupEnvironment::GeneratedPack(const std::vector<std::pair<int, std::string>> &texts)
{
    std::string pack = "Tarnwick Language Pack\r\n2\r\n:setup\r\n";
    for (int i = 0; i < 40; ++i) {
        std::string text = "S" + std::to_string(i);
        for (const auto &[number, replacement] : texts) {
            if (number == i)
                text = replacement;
        }
        pack += text + "\r\n";
    }
    pack += ":main\r\n";
    for (int i = 0; i < 357; ++i)
        pack += "M" + std::to_string(i) + "\r\n";
    pack += ":uninst\r\n";
    return QByteArray::fromStdString(pack);
}

void TSetupEnvironment::AddGeneratedPack(
        const QString &fileName, const std::vector<std::pair<int, std::string>> &texts) const
{
    WriteFile(QDir(SetupFolder()).filePath(fileName), GeneratedPack(texts));
}

void TSetupEnvironment::WriteMachineString(const char *key, const char *name,
                                           const std::string &value)
{
    TRegistry registry(Registry::Hive::LocalMachine);
    ASSERT_TRUE(registry.OpenKey(key, true));
    ASSERT_TRUE(registry.WriteString(name, value));
}

int TScriptedDialogs::AskExit()
{
    ++ExitQuestions;
    if (ExitAnswers.empty()) {
        ADD_FAILURE() << "unexpected exit question";
        return 1;
    }
    const int answer = ExitAnswers.front();
    ExitAnswers.pop_front();
    return answer;
}

int TScriptedDialogs::AskOverwrite(const std::string &text)
{
    OverwriteQuestions.push_back(text);
    if (OverwriteAnswers.empty()) {
        ADD_FAILURE() << "unexpected overwrite question: " << text;
        return 2;
    }
    const int answer = OverwriteAnswers.front();
    OverwriteAnswers.pop_front();
    return answer;
}

QString TScriptedDialogs::BrowseForFolder(QWidget *, const QString &title)
{
    BrowseTitles.push_back(title);
    return BrowseAnswer;
}
