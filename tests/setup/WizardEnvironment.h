#pragma once

#include "setup/Unit_SetupDialogs.h"
#include "support/StoreFixture.h"

#include <QByteArray>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <ostream>
#include <string>
#include <vector>

// Readable failures.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

// What setup finds around it in a test: its own folder, the user's data and configuration folders
// (for the default install folder and the menus), a store and a stand-in for the system's folders
// ($TARNWICK_SYSTEM_ROOT), all fresh; the user counts as an ordinary user.
class TSetupEnvironment
{
public:
    TSetupEnvironment();
    ~TSetupEnvironment();
    TSetupEnvironment(const TSetupEnvironment &) = delete;
    TSetupEnvironment &operator=(const TSetupEnvironment &) = delete;

    QString SetupFolder() const;
    // The folder that stands in for "/" of the system-wide paths.
    QString SystemRoot() const;
    QString DataFolder() const;
    QString ProgramsFolder() const;
    QString MergedMenusFolder() const;
    QString DesktopDirectoriesFolder() const;
    QString Path(const QString &relative) const;
    std::string LocalPath(const QString &relative) const;

    void WriteFile(const QString &path, const QByteArray &bytes) const;
    QByteArray ReadFile(const QString &path) const;
    // A copy of a pack of the source tree in setup's folder, under the given file name.
    void AddShippedPack(const QString &source, const QString &fileName) const;
    // A pack whose setup entry N reads "S<N>", except where texts says otherwise.
    void AddGeneratedPack(const QString &fileName,
                          const std::vector<std::pair<int, std::string>> &texts = {}) const;
    static QByteArray GeneratedPack(const std::vector<std::pair<int, std::string>> &texts);

    // The store's machine-wide string value.
    static void WriteMachineString(const char *key, const char *name, const std::string &value);

private:
    QTemporaryDir dir;
    TStoreDir store;
    QByteArray savedDataHome;
    bool hadDataHome;
    QByteArray savedConfigHome;
    bool hadConfigHome;
    QByteArray savedSystemRoot;
};

// Answers the wizard's questions from queues; a question without a prepared answer fails the test.
class TScriptedDialogs : public Setup::ISetupDialogs
{
public:
    void ShowMessage(const QString &text) override { Messages.push_back(text); }
    void ShowError(const QString &text) override { Errors.push_back(text); }
    int AskExit() override;
    int AskOverwrite(const std::string &text) override;
    QString BrowseForFolder(QWidget *owner, const QString &title) override;

    std::deque<int> ExitAnswers;
    std::deque<int> OverwriteAnswers;
    QString BrowseAnswer;

    QStringList Messages;
    QStringList Errors;
    int ExitQuestions = 0;
    std::vector<std::string> OverwriteQuestions;
    QStringList BrowseTitles;
};
