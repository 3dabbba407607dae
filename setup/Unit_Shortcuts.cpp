#include "setup/Unit_Shortcuts.h"

#include "core/Unit_FileAssociation.h"
#include "core/Unit_LanguagePack.h"
#include "core/Unit_Paths.h"
#include "platform/AppIcon.h"
#include "platform/CodePage.h"
#include "platform/Registry.h"
#include "platform/ShellAssociation.h"
#include "platform/SpecialFolders.h"
#include "setup/Unit_FileWrite.h"
#include "setup/Unit_GroupMenu.h"
#include "setup/Unit_LogFile.h"
#include "setup/Unit_SetupPars.h"
#include "setup/Unit_SetupPaths.h"
#include "setup/Unit_SetupTexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

struct TShortcut
{
    std::string Exec;
    TSetupEntry NameEntry;
};

bool DesktopOpensHelp(const std::string &helpFile)
{
    return ShellAssociation::HasDefaultApplication(
            QFile::decodeName(QByteArray::fromStdString(helpFile)));
}

THelpViewerCheck HelpViewerCheck = DesktopOpensHelp;

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

THelpViewerCheck SetHelpViewerCheck(THelpViewerCheck check)
{
    THelpViewerCheck previous = HelpViewerCheck;
    HelpViewerCheck = check ? std::move(check) : DesktopOpensHelp;
    return previous;
}

std::string ShortcutEntry(const std::string &name, const std::string &exec,
                          const std::string &workingFolder, bool withCategory)
{
    using ShellAssociation::DesktopValue;
    const std::string text = CodePage::ToUnicode(name, CodePage::Default).toUtf8().toStdString();
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name="
            + DesktopValue(text) + "\nExec=" + DesktopValue(exec)
            + "\nPath=" + DesktopValue(Utf8(workingFolder))
            + "\nTerminal=false\n"
              "Icon="
            + ApplicationIconName + (withCategory ? "\nCategories=Education;\n" : "\n");
}

void CreateShortcuts(const std::string &folder, const std::string &group, TLogFile &log,
                     TFailures &failures)
{
    log.StartProgramFolderFiles();
    const std::string groupFolder = JoinPath(ToLocal(ProgramsFolder()), LocalFileName(group));
    std::vector<TShortcut> shortcuts{
            {Quoted(JoinPath(folder, kProgramFile)), TSetupEntry::TrainerShortcutName}};
    const std::string help
            = JoinPath(folder, LocalFileName(SetupBytes(TSetupEntry::SecondShortcutTarget)));
    if (HelpViewerCheck(help))
        shortcuts.push_back({"xdg-open " + Quoted(help), TSetupEntry::SecondShortcutName});
    const bool withCategory = GroupLevels(group).empty();
    // The uninstaller does not come with every installation; an entry must not start nothing.
    const std::string uninstaller = JoinPath(folder, kUninstallerFile);
    if (QFileInfo(QFile::decodeName(QByteArray::fromStdString(uninstaller))).isFile())
        shortcuts.push_back({Quoted(uninstaller), TSetupEntry::UninstallShortcutName});

    std::vector<std::string> written;
    for (const TShortcut &shortcut : shortcuts) {
        const std::string name = ShortcutName(SetupBytes(shortcut.NameEntry)) + Extension;
        const std::string path = JoinPath(groupFolder, LocalFileName(name));
        QString reason;
        if (!WriteWholeFile(FromLocal(path),
                            ShortcutEntry(SetupBytes(shortcut.NameEntry), shortcut.Exec, folder,
                                          withCategory),
                            reason)) {
            failures.push_back(FileFailure("Could not write the shortcut", path, reason));
            continue;
        }
        log.WriteLine(name);
        if (const std::optional<int32_t> stamp = FileTimeStamp(path))
            log.WriteNumber(*stamp);
        written.push_back(name);
    }
    CreateGroupMenu(group, written, log, failures);
    // The entries name the program's icon; the theme must hold it.
    QString iconError;
    if (!InstallApplicationIcon(iconError))
        failures.push_back(CodePage::FromUnicodeLossy(iconError, CodePage::Default));
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
    ChooseMachineScope();
    WriteMachineString(MachineKey, "Language", language, failures);
    WriteMachineString(UninstallKey, "DisplayName", "Tarnwick", failures);
    WriteMachineString(UninstallKey, "UninstallString", JoinPath(folder, kUninstallerFile),
                       failures);
    std::string error;
    if (!RegisterFileAssociation(InstalledProgramPath(folder),
                                 SetupBytes(TSetupEntry::FileTypeName), error))
        failures.push_back("The word-list file type could not be registered: " + error);
}

void LogDesktopDataFiles(TLogFile &log)
{
    log.StartDesktopDataFiles();
    const QDir data(DesktopDataFolder());
    for (QString name : ApplicationIconFiles() + ShellAssociation::DesktopFiles()) {
        const std::string path = ToLocal(data.filePath(name));
        const std::optional<int32_t> stamp = FileTimeStamp(path);
        if (!stamp)
            continue;
        std::string logged;
        if (!ToBytes(name.replace(QLatin1Char('/'), QLatin1Char('\\')), logged))
            continue;
        log.WriteLine(logged);
        log.WriteNumber(*stamp);
    }
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
