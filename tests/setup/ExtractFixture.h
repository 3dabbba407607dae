#pragma once

#include "core/Unit_LanguagePack.h"
#include "setup/Unit_DataFile.h"

#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <string>
#include <vector>

// The installer's texts for one test: the global pack holds known setup entries while it lives.
class TSetupTexts
{
public:
    TSetupTexts();
    ~TSetupTexts();
    TSetupTexts(const TSetupTexts &) = delete;
    TSetupTexts &operator=(const TSetupTexts &) = delete;

private:
    TLanguagePack pack;
    TLanguagePack *saved;
};

// Answers the extraction's questions from scripts and records what was asked. A question that
// the script does not expect fails the test.
class TScriptedQuestions : public TExtractQuestions
{
public:
    std::deque<bool> ExitAnswers; // true: Exit
    std::deque<bool> DiskAnswers; // true: Cancel
    std::deque<int> OverwriteAnswers;
    std::function<void()> DuringDisk; // runs while the disk question is up
    std::function<void()> DuringExit; // runs while the exit question is up

    int ExitAsked = 0;
    std::vector<std::string> DiskTexts;
    std::vector<std::string> OverwriteTexts;
    std::vector<std::string> Errors;

    bool AskExit() override;
    bool AskForDisk(const std::string &text) override;
    int AskOverwrite(const std::string &text) override;
    void ShowError(const std::string &text) override;
};

// A temporary folder with the usual file helpers.
class TFolder
{
public:
    std::string Path() const { return dir.path().toStdString(); }
    std::string File(const std::string &name) const;
    void Write(const std::string &name, const std::string &bytes) const;
    std::string Read(const std::string &name) const;
    bool Exists(const std::string &name) const;
    // Every file below the folder, relative, with "/", sorted.
    std::vector<std::string> Files() const;

private:
    QTemporaryDir dir;
};

// Bytes of a volume written by hand.
std::string Int32Bytes(int32_t value);
std::string EntryBytes(const std::string &name, const std::string &content);
std::string EntryHeader(const std::string &name, int32_t size);

// Content that differs from one file to the next.
std::string Pattern(size_t size, unsigned seed);

// The lines of a log, CR LF stripped.
std::vector<std::string> LogLines(const std::string &bytes);

// Outcome of one run of the extraction dialog.
struct TExtractRun
{
    int Result = 0;
    bool GaveUp = false;
    bool ExitChosen = false;
    bool YesToAll = false;
    int Progress = 0;
    int MaxProgress = 0;
    std::string Log; // Install.log after the log was freed
};

// Shows the extraction dialog over the volumes in volumeFolder, extracting into dest with a
// fresh log for group "Group", and waits until the worker has ended. setup runs while the
// dialog is up (e.g. to start a timer).
TExtractRun RunExtraction(const std::string &volumeFolder, const std::string &dest,
                          TScriptedQuestions &questions,
                          const std::function<void(class TExtractForm &)> &setup = {});
