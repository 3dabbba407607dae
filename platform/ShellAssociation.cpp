#include "platform/ShellAssociation.h"

#include "platform/AppIcon.h"
#include "platform/CodePage.h"
#include "platform/MachineScope.h"
#include "platform/SpecialFolders.h"

#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>

namespace ShellAssociation {

namespace {

constexpr int ToolTimeoutMs = 15000;
const char *const MimeFolder = "mime";
const char *const ApplicationsFolder = "applications";

QString XmlEscaped(const QString &text)
{
    return text.toHtmlEscaped();
}

bool WriteWhole(const QString &path, const QByteArray &bytes, std::string &error)
{
    QSaveFile file(path);
    if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !file.open(QIODevice::WriteOnly)
        || file.write(bytes) != bytes.size() || !file.commit()) {
        error = QFile::encodeName(path).toStdString();
        return false;
    }
    return true;
}

QByteArray MimePackage(const std::string &comment)
{
    const QString text = CodePage::ToUnicode(comment, CodePage::Default);
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<mime-info xmlns=\"http://www.freedesktop.org/standards/"
                          "shared-mime-info\">\n"
                          "  <mime-type type=\"%1\">\n"
                          "    <comment>%2</comment>\n"
                          "    <glob pattern=\"*.wdl\"/>\n"
                          "  </mime-type>\n"
                          "</mime-info>\n")
            .arg(QString::fromLatin1(WordListMimeType), XmlEscaped(text))
            .toUtf8();
}

// Backslashes of the Exec value are doubled once more, as in every string value of the file.
QByteArray DesktopEntry(const std::string &programPath)
{
    const QByteArray exec = QByteArray::fromStdString(DesktopValue(DesktopExec(programPath)));
    return QByteArray("[Desktop Entry]\n"
                      "Type=Application\n"
                      "Name=Tarnwick\n"
                      "Exec=")
            + exec
            + "\n"
              "MimeType="
            + WordListMimeType
            + ";\n"
              "NoDisplay=true\n"
              "Terminal=false\n"
              "Icon="
            + QByteArray(ApplicationIconName) + "\n";
}

// The mimeapps.list with our entry the type's default; every other line is kept as it was.
QByteArray WithDefault(const QByteArray &old)
{
    const QByteArray section = "[Default Applications]";
    const QByteArray key = QByteArray(WordListMimeType) + "=";
    const QByteArray entry = key + DesktopEntryName;
    QList<QByteArray> lines = old.split('\n');
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    qsizetype sectionLine = -1;
    qsizetype end = lines.size();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray trimmed = lines[i].trimmed();
        if (trimmed.startsWith('[')) {
            if (sectionLine >= 0) {
                end = i;
                break;
            }
            if (trimmed == section)
                sectionLine = i;
        }
    }
    if (sectionLine < 0) {
        lines.append(section);
        lines.append(entry);
    } else {
        qsizetype found = -1;
        for (qsizetype i = sectionLine + 1; i < end; ++i)
            if (lines[i].trimmed().startsWith(key))
                found = i;
        if (found >= 0) {
            lines[found] = entry;
        } else {
            qsizetype insertAt = end;
            while (insertAt > sectionLine + 1 && lines[insertAt - 1].trimmed().isEmpty())
                --insertAt;
            lines.insert(insertAt, entry);
        }
    }
    return lines.join('\n') + '\n';
}

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Where the desktop keeps its side of the association.
struct TPlaces
{
    TPlaces()
        : Mime(QDir(DesktopDataFolder()).filePath(QLatin1String(MimeFolder)))
        , Applications(QDir(DesktopDataFolder()).filePath(QLatin1String(ApplicationsFolder)))
        , MimePackage(QDir(DesktopDataFolder()).filePath(DesktopFiles()[0]))
        , DesktopEntry(QDir(DesktopDataFolder()).filePath(DesktopFiles()[1]))
        , MimeApps(DesktopConfigFolder() + QStringLiteral("/mimeapps.list"))
    { }

    QString Mime;
    QString Applications;
    QString MimePackage;
    QString DesktopEntry;
    QString MimeApps;
};

void RunTool(const QString &name, const QString &folder)
{
    const QString tool = QStandardPaths::findExecutable(name);
    if (tool.isEmpty())
        return;
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(tool, {folder});
    if (process.waitForStarted() && !process.waitForFinished(ToolTimeoutMs))
        process.kill();
    process.waitForFinished();
}

} // namespace

bool HasDefaultApplication(const QString &file)
{
    const QString type = QMimeDatabase().mimeTypeForFile(file).name();
    const QString query = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (query.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty())
        return false;
    QProcess process;
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(query, {QStringLiteral("query"), QStringLiteral("default"), type});
    if (!process.waitForStarted() || !process.waitForFinished(ToolTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        return false;
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0
            && !process.readAllStandardOutput().trimmed().isEmpty();
}

QStringList DesktopFiles()
{
    return {QLatin1String(MimeFolder) + QStringLiteral("/packages/")
                    + QLatin1String(MimePackageName),
            QLatin1String(ApplicationsFolder) + QLatin1Char('/') + QLatin1String(DesktopEntryName)};
}

std::string DesktopExec(const std::string &programPath)
{
    return DesktopExecArgument(programPath) + " %f";
}

std::string DesktopExecArgument(const std::string &argument)
{
    std::string quoted = "\"";
    for (char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        if (c == '%')
            quoted += '%';
        quoted += c;
    }
    return quoted + '"';
}

std::string DesktopValue(const std::string &value)
{
    std::string escaped;
    for (char c : value) {
        switch (c) {
        case '\\':
            escaped += "\\\\";
            break;
        case '\n':
            escaped += "\\n";
            break;
        case '\r':
            escaped += "\\r";
            break;
        case '\t':
            escaped += "\\t";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

bool Notify(const TAssociation &association, std::string &error)
{
    const TPlaces places;
    if (!WriteWhole(places.MimePackage, MimePackage(association.Comment), error)
        || !WriteWhole(places.DesktopEntry, DesktopEntry(association.ProgramPath), error))
        return false;
    // The system's list of defaults is every package's; with the type's only entry in place the
    // desktop opens word lists with it anyway. A user's list decides over other entries.
    if (MachineScope() != TMachineScope::System
        && !WriteWhole(places.MimeApps, WithDefault(ReadAll(places.MimeApps)), error))
        return false;
    QString iconError;
    if (!InstallApplicationIcon(iconError)) {
        error = QFile::encodeName(iconError).toStdString();
        return false;
    }
    RunTool(QStringLiteral("update-mime-database"), places.Mime);
    RunTool(QStringLiteral("update-desktop-database"), places.Applications);
    return true;
}

bool IsCurrent(const TAssociation &association)
{
    const TPlaces places;
    const QByteArray mimeApps = ReadAll(places.MimeApps);
    return ReadAll(places.MimePackage) == MimePackage(association.Comment)
            && ReadAll(places.DesktopEntry) == DesktopEntry(association.ProgramPath)
            && WithDefault(mimeApps) == mimeApps;
}

} // namespace ShellAssociation
