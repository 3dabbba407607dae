#pragma once

#include <QByteArray>
#include <QDir>
#include <QStringList>
#include <QTemporaryDir>
#include <string>

// Temporary files go to a folder of their own while the object lives (TMPDIR), so that a test
// sees which of them the program made and left behind.
class TTempFolder
{
public:
    TTempFolder()
        : saved(qgetenv("TMPDIR"))
        , hadValue(qEnvironmentVariableIsSet("TMPDIR"))
    {
        qputenv("TMPDIR", QFile::encodeName(dir.path()));
    }
    ~TTempFolder()
    {
        if (hadValue)
            qputenv("TMPDIR", saved);
        else
            qunsetenv("TMPDIR");
    }
    TTempFolder(const TTempFolder &) = delete;
    TTempFolder &operator=(const TTempFolder &) = delete;

    std::string Path() const { return QFile::encodeName(dir.path()).toStdString(); }
    std::string File(const std::string &name) const { return Path() + "/" + name; }
    // The files in the folder whose names start with prefix.
    QStringList Files(const QString &prefix = {}) const
    {
        return QDir(dir.path()).entryList({prefix + QLatin1Char('*')}, QDir::Files, QDir::Name);
    }

private:
    QTemporaryDir dir;
    QByteArray saved;
    bool hadValue;
};
