#include "setup/ExtractFixture.h"

#include "setup/Unit_Extract.h"
#include "setup/Unit_LogFile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTimer>
#include <QtTest/QTest>
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>

TSetupTexts::TSetupTexts()
    : saved(LanguagePack)
{
    pack.Entries.assign(SetupEntryCount, "");
    for (int i = 0; i < SetupEntryCount; ++i)
        pack.Entries[static_cast<size_t>(i)] = "entry " + std::to_string(i);
    pack.Entries[29] = "Insert disk %dn%";
    pack.Entries[31] = "Overwrite %f%?";
    pack.Entries[34] = "Installation log \xE9";
    LanguagePack = &pack;
}

TSetupTexts::~TSetupTexts()
{
    LanguagePack = saved;
}

bool TScriptedQuestions::AskExit()
{
    ++ExitAsked;
    if (DuringExit)
        DuringExit();
    if (ExitAnswers.empty()) {
        ADD_FAILURE() << "unexpected exit question";
        return true;
    }
    const bool answer = ExitAnswers.front();
    ExitAnswers.pop_front();
    return answer;
}

bool TScriptedQuestions::AskForDisk(const std::string &text)
{
    DiskTexts.push_back(text);
    if (DuringDisk)
        DuringDisk();
    if (DiskAnswers.empty()) {
        ADD_FAILURE() << "unexpected disk question: " << text;
        return true;
    }
    const bool answer = DiskAnswers.front();
    DiskAnswers.pop_front();
    return answer;
}

int TScriptedQuestions::AskOverwrite(const std::string &text)
{
    OverwriteTexts.push_back(text);
    if (OverwriteAnswers.empty()) {
        ADD_FAILURE() << "unexpected overwrite question: " << text;
        return 2;
    }
    const int answer = OverwriteAnswers.front();
    OverwriteAnswers.pop_front();
    return answer;
}

void TScriptedQuestions::ShowError(const std::string &text)
{
    Errors.push_back(text);
}

std::string TFolder::File(const std::string &name) const
{
    return Path() + "/" + name;
}

void TFolder::Write(const std::string &name, const std::string &bytes) const
{
    QDir().mkpath(QFileInfo(QString::fromStdString(File(name))).path());
    QFile file(QString::fromStdString(File(name)));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes.data(), static_cast<qint64>(bytes.size())),
              static_cast<qint64>(bytes.size()));
}

std::string TFolder::Read(const std::string &name) const
{
    QFile file(QString::fromStdString(File(name)));
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll().toStdString();
}

bool TFolder::Exists(const std::string &name) const
{
    return QFileInfo::exists(QString::fromStdString(File(name)));
}

std::vector<std::string> TFolder::Files() const
{
    std::vector<std::string> files;
    QDirIterator it(dir.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.push_back(QDir(dir.path()).relativeFilePath(it.next()).toStdString());
    std::sort(files.begin(), files.end());
    return files;
}

std::string Int32Bytes(int32_t value)
{
    const auto bits = static_cast<uint32_t>(value);
    std::string bytes;
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<char>((bits >> (8 * i)) & 0xFF));
    return bytes;
}

std::string EntryHeader(const std::string &name, int32_t size)
{
    return name + std::string(1, '\0') + Int32Bytes(size);
}

std::string EntryBytes(const std::string &name, const std::string &content)
{
    return EntryHeader(name, static_cast<int32_t>(content.size())) + content;
}

std::string Pattern(size_t size, unsigned seed)
{
    std::string bytes(size, '\0');
    unsigned state = seed * 2654435761u + 1;
    for (char &byte : bytes) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<char>(state >> 16);
    }
    return bytes;
}

std::vector<std::string> LogLines(const std::string &bytes)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        const size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(bytes.substr(start) + "<no CR LF>");
            break;
        }
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

TExtractRun RunExtraction(const std::string &volumeFolder, const std::string &dest,
                          TScriptedQuestions &questions,
                          const std::function<void(TExtractForm &)> &setup)
{
    TExtractRun run;
    QDir().mkpath(QString::fromStdString(dest));
    auto log = std::make_unique<TLogFile>(dest, "Group");
    TExtractForm form;
    form.Log = log.get();
    form.DestFolder = dest;
    form.VolumeFolders = {volumeFolder};
    form.SetQuestions(&questions);
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, &form,
                     [&] { run.MaxProgress = std::max(run.MaxProgress, form.Progress()); });
    watch.start(0);
    if (setup)
        QTimer::singleShot(0, &form, [&] { setup(form); });
    run.Result = form.exec();
    watch.stop();
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.Worker.isNull(); }, 10000))
            << "the worker did not end";
    run.GaveUp = form.GaveUp;
    run.ExitChosen = form.ExitChosen;
    run.YesToAll = form.YesToAll;
    run.Progress = form.Progress();
    run.MaxProgress = std::max(run.MaxProgress, run.Progress);
    log.reset();
    QFile file(QString::fromStdString(dest + "/Install.log"));
    if (file.open(QIODevice::ReadOnly))
        run.Log = file.readAll().toStdString();
    return run;
}
