#include "setup/Unit_Shortcuts.h"

#include "core/Unit_FileAssociation.h"
#include "core/Unit_LanguagePack.h"
#include "core/Unit_Paths.h"
#include "platform/CodePage.h"
#include "platform/Registry.h"
#include "platform/ShellAssociation.h"
#include "platform/SpecialFolders.h"
#include "setup/Unit_LogFile.h"
#include "setup/Unit_SetupPars.h"
#include "setup/Unit_SetupPaths.h"
#include "setup/Unit_SetupTexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace Setup {

namespace {

const char *const Extension = ".desktop";
const char *const MachineKey = "\\Software\\Tarnwick";

std::string Utf8(const std::string &localPath)
{
    return QFile::decodeName(QByteArray::fromStdString(localPath)).toUtf8().toStdString();
}

std::string Quoted(const std::string &localPath)
{
    return ShellAssociation::DesktopExecArgument(Utf8(localPath));
}

bool WriteFile(const QString &path, const std::string &contents)
{
    QSaveFile file(path);
    const auto size = static_cast<qint64>(contents.size());
    return QDir().mkpath(QFileInfo(path).absolutePath()) && file.open(QIODevice::WriteOnly)
            && file.write(contents.data(), size) == size && file.commit();
}

struct TShortcut
{
    std::string Exec;
    TSetupEntry NameEntry;
};

void WriteMachineString(const char *key, const char *name, const std::string &value,
                        TFailures &failures)
{
    TRegistry registry(Registry::Hive::LocalMachine);
    if (!registry.OpenKey(key, true) || !registry.WriteString(name, value))
        failures.push_back(std::string("The setting ") + name
                           + " could not be written: " + Registry::LastError());
}

} // namespace

std::string ShortcutName(const std::string &text)
{
    std::string name = text;
    for (char &c : name)
        if (c == '/' || c == '\\')
            c = '-';
    return name;
}

std::string ShortcutEntry(const std::string &name, const std::string &exec,
                          const std::string &workingFolder)
{
    using ShellAssociation::DesktopValue;
    const std::string text = CodePage::ToUnicode(name, CodePage::Default).toUtf8().toStdString();
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name="
            + DesktopValue(text) + "\nExec=" + DesktopValue(exec)
            + "\nPath=" + DesktopValue(Utf8(workingFolder))
            + "\nTerminal=false\n"
              "Categories=Education;\n";
}

void CreateShortcuts(const std::string &folder, const std::string &group, TLogFile &log,
                     TFailures &failures)
{
    log.StartProgramFolderFiles();
    const std::string groupFolder = JoinPath(ToLocal(ProgramsFolder()), LocalFileName(group));
    const TShortcut shortcuts[] = {
            {Quoted(JoinPath(folder, kProgramFile)), TSetupEntry::TrainerShortcutName},
            {"xdg-open "
                     + Quoted(JoinPath(
                             folder, LocalFileName(SetupBytes(TSetupEntry::SecondShortcutTarget)))),
             TSetupEntry::SecondShortcutName},
            {Quoted(JoinPath(folder, kUninstallerFile)), TSetupEntry::UninstallShortcutName},
    };
    for (const TShortcut &shortcut : shortcuts) {
        const std::string name = ShortcutName(SetupBytes(shortcut.NameEntry)) + Extension;
        const std::string path = JoinPath(groupFolder, LocalFileName(name));
        const QString file = QFile::decodeName(QByteArray::fromStdString(path));
        const bool written = WriteFile(
                file, ShortcutEntry(SetupBytes(shortcut.NameEntry), shortcut.Exec, folder));
        const std::optional<int32_t> stamp = FileTimeStamp(path);
        if (!written || !stamp) {
            failures.push_back("The shortcut " + PathText(path) + " could not be written.");
            continue;
        }
        log.WriteLine(name);
        log.WriteNumber(*stamp);
    }
}

std::string InstalledProgramPath(const std::string &folder)
{
    const QFileInfo program(
            QFile::decodeName(QByteArray::fromStdString(JoinPath(folder, kProgramFile))));
    const QString canonical = program.canonicalFilePath();
    return QFile::encodeName(canonical.isEmpty() ? program.absoluteFilePath() : canonical)
            .toStdString();
}

void WriteSettings(const std::string &language, const std::string &folder, TFailures &failures)
{
    WriteMachineString(MachineKey, "Language", language, failures);
    WriteMachineString(UninstallKey, "DisplayName", "Tarnwick", failures);
    WriteMachineString(UninstallKey, "UninstallString", JoinPath(folder, kUninstallerFile),
                       failures);
    std::string error;
    if (!RegisterFileAssociation(InstalledProgramPath(folder),
                                 SetupBytes(TSetupEntry::FileTypeName), error))
        failures.push_back("The word-list file type could not be registered: " + error);
}

std::string FailureWarning(const TFailures &failures)
{
    std::string text = "Tarnwick has been installed, but some of its shortcuts or settings "
                       "could not be written:";
    for (const std::string &failure : failures)
        text += "\n" + failure;
    return text;
}

} // namespace Setup
