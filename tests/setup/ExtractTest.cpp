#include "setup/ExtractFixture.h"
#include "setup/Unit_Extract.h"
#include "setup/Unit_LogFile.h"
#include "support/FileSizeLimit.h"
#include "tools/pack/Packer.h"

#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>

namespace {

struct TFile
{
    std::string Name; // as stored, "\" separated
    std::string Content;
};

std::string Slashed(std::string name)
{
    for (char &c : name)
        if (c == '\\')
            c = '/';
    return name;
}

class ExtractTest : public ::testing::Test
{
protected:
    // Packs files with the packer into the volume folder; returns the number of volumes.
    int Pack(const std::vector<TFile> &files, int64_t capacity)
    {
        std::vector<TPackItem> items;
        for (size_t i = 0; i < files.size(); ++i) {
            const std::string source = "source" + std::to_string(i);
            sources.Write(source, files[i].Content);
            items.push_back({files[i].Name, sources.File(source)});
        }
        std::string error;
        const int count = PackVolumes(items, capacity, volumes.Path(), error);
        EXPECT_GT(count, 0) << error;
        return count;
    }

    void WriteVolume(int number, const std::string &bytes)
    {
        volumes.Write(VolumeName(number), bytes);
    }

    TExtractRun Run() { return RunExtraction(volumes.Path(), dest(), questions); }

    std::string dest() const { return root.Path() + "/inst"; }

    std::string Extracted(const std::string &name) const
    {
        QFile file(QString::fromStdString(dest() + "/" + Slashed(name)));
        if (!file.open(QIODevice::ReadOnly))
            return "<missing>";
        return file.readAll().toStdString();
    }

    // The log that a complete extraction of files writes.
    std::vector<std::string> ExpectedLog(const std::vector<TFile> &files) const
    {
        std::vector<std::string> lines{"Installation log \xE9", "0",     "",
                                       "{program folder}",      "Group", "",
                                       "{program files}"};
        for (const TFile &file : files) {
            lines.push_back(file.Name);
            const auto stamp = FileTimeStamp(dest() + "/" + Slashed(file.Name));
            lines.push_back(stamp ? std::to_string(*stamp) : "<no stamp>");
        }
        lines.push_back("");
        return lines;
    }

    void ExpectAllExtracted(const std::vector<TFile> &files)
    {
        for (const TFile &file : files)
            EXPECT_EQ(Extracted(file.Name), file.Content) << file.Name;
    }

    TSetupTexts texts;
    TFolder root;
    TFolder sources;
    TFolder volumes;
    TScriptedQuestions questions;
};

std::vector<TFile> ProgramFiles()
{
    return {{"tarnwick",
             "\x7F"
             "ELF" + Pattern(3000, 1)},
            {"English.lng", Pattern(700, 2)},
            {"empty.txt", ""},
            {"sub\\data.bin", Pattern(2500, 3)},
            {"run.sh", "#!/bin/sh\n" + Pattern(900, 4)},
            {"ELF.txt", "ELF" + Pattern(400, 5)},
            {"last-empty", ""},
            {"docs\\deep\\none.txt", ""}};
}

// The whole road: volumes from the packer, split so that content runs over ten and more of them,
// extracted into a fresh folder with a fresh desktop environment.
TEST_F(ExtractTest, ExtractsEveryFileByteForByteAndLogsItInVolumeOrder)
{
    TFolder xdgData, xdgConfig;
    const QByteArray savedData = qgetenv("XDG_DATA_HOME");
    const QByteArray savedConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(xdgData.Path()));
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(xdgConfig.Path()));

    const std::vector<TFile> files = ProgramFiles();
    EXPECT_GE(Pack(files, 700), 11);
    EXPECT_TRUE(volumes.Exists("Setup.d10"));
    const TExtractRun run = Run();

    EXPECT_EQ(run.Result, 1);
    EXPECT_FALSE(run.GaveUp);
    EXPECT_FALSE(run.ExitChosen);
    EXPECT_TRUE(questions.Errors.empty());
    ExpectAllExtracted(files);
    EXPECT_EQ(LogLines(run.Log), ExpectedLog(files));
    EXPECT_EQ(root.Files(),
              (std::vector<std::string>{"inst/ELF.txt", "inst/English.lng", "inst/Install.log",
                                        "inst/docs/deep/none.txt", "inst/empty.txt",
                                        "inst/last-empty", "inst/run.sh", "inst/sub/data.bin",
                                        "inst/tarnwick"}));
    EXPECT_LE(run.MaxProgress, 100);
    EXPECT_GE(run.Progress, 90);

    const auto executable = QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;
    const auto mode = [&](const std::string &name) {
        return QFileInfo(QString::fromStdString(dest() + "/" + name)).permissions() & executable;
    };
    EXPECT_EQ(mode("tarnwick"), executable);
    EXPECT_EQ(mode("run.sh"), executable);
    EXPECT_EQ(mode("ELF.txt"), QFileDevice::Permissions());
    EXPECT_EQ(mode("English.lng"), QFileDevice::Permissions());

    qputenv("XDG_DATA_HOME", savedData);
    qputenv("XDG_CONFIG_HOME", savedConfig);
}

// Every way the packer can cut the stream (a header at the very end of a volume, content that
// ends with a volume, a volume that holds only the middle of one file) reads back the same.
TEST_F(ExtractTest, EveryVolumeSizeReadsBackTheSameFiles)
{
    const std::vector<TFile> files{{"a", Pattern(37, 6)},
                                   {"bb\\c", Pattern(1, 7)},
                                   {"z", ""},
                                   {"dd", Pattern(120, 8)},
                                   {"e", Pattern(3, 9)}};
    for (int capacity = 16; capacity <= 48; ++capacity) {
        SCOPED_TRACE("capacity " + std::to_string(capacity));
        TFolder packed;
        std::vector<TPackItem> items;
        for (size_t i = 0; i < files.size(); ++i) {
            sources.Write("s" + std::to_string(i), files[i].Content);
            items.push_back({files[i].Name, sources.File("s" + std::to_string(i))});
        }
        std::string error;
        const int count = PackVolumes(items, capacity, packed.Path(), error);
        ASSERT_GT(count, 1) << error;
        for (int number = 1; number <= count; ++number) {
            const std::string volume = packed.Read(VolumeName(number));
            EXPECT_LE(volume.size(), static_cast<size_t>(capacity));
            EXPECT_EQ(volume.back(), static_cast<char>(number + 1));
        }
        EXPECT_FALSE(packed.Exists(VolumeName(count + 1)));
        TFolder target;
        TScriptedQuestions local;
        const TExtractRun run = RunExtraction(packed.Path(), target.Path(), local);
        ASSERT_EQ(run.Result, 1);
        for (const TFile &file : files)
            EXPECT_EQ(target.Read(Slashed(file.Name)), file.Content) << file.Name;
        EXPECT_EQ(LogLines(run.Log).size(), 7 + 2 * files.size() + 1);
    }
}

TEST_F(ExtractTest, PayloadsUnderAHundredBytesAndEmptyOnesFinish)
{
    const std::vector<TFile> small{{"one", Pattern(30, 10)}, {"two", Pattern(7, 11)}};
    Pack(small, 20);
    const TExtractRun run = Run();
    EXPECT_EQ(run.Result, 1);
    ExpectAllExtracted(small);
    EXPECT_LE(run.MaxProgress, 100);
    EXPECT_EQ(LogLines(run.Log), ExpectedLog(small));

    TFolder emptyVolumes, emptyDest;
    const std::vector<TFile> empty{{"x", ""}, {"y\\z", ""}};
    std::vector<TPackItem> items;
    for (size_t i = 0; i < empty.size(); ++i) {
        sources.Write("e" + std::to_string(i), "");
        items.push_back({empty[i].Name, sources.File("e" + std::to_string(i))});
    }
    std::string error;
    ASSERT_EQ(PackVolumes(items, 14, emptyVolumes.Path(), error), 1) << error;
    TScriptedQuestions local;
    const TExtractRun emptyRun = RunExtraction(emptyVolumes.Path(), emptyDest.Path(), local);
    EXPECT_EQ(emptyRun.Result, 1);
    EXPECT_EQ(emptyDest.Read("x"), "");
    EXPECT_EQ(emptyDest.Read("y/z"), "");
    const std::vector<std::string> lines = LogLines(emptyRun.Log);
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[7], "x");
    EXPECT_TRUE(ParseStamp(lines[8]).has_value());
    EXPECT_EQ(lines[9], "y\\z");
    EXPECT_TRUE(ParseStamp(lines[10]).has_value());
    EXPECT_EQ(emptyRun.Progress, 0);
}

// Total 200 gives passes of two bytes; the first file fills volume 1 exactly, so a pass ends on
// the volume's last content byte and the next one must go on with volume 2.
TEST_F(ExtractTest, APassThatEndsWithAVolumeGoesOnWithTheNextVolume)
{
    const std::string a = Pattern(100, 12), b = Pattern(100, 13);
    WriteVolume(1, Int32Bytes(200) + EntryBytes("a", a) + "\x02");
    WriteVolume(2, EntryBytes("b", b) + EntryHeader("c", 0) + "\x03");
    const TExtractRun run = Run();
    EXPECT_EQ(run.Result, 1);
    EXPECT_EQ(Extracted("a"), a);
    EXPECT_EQ(Extracted("b"), b);
    EXPECT_EQ(Extracted("c"), "");
    EXPECT_EQ(LogLines(run.Log), ExpectedLog({{"a", a}, {"b", b}, {"c", ""}}));
}

// An entry's header may be the last thing in a volume, its content all in the next.
TEST_F(ExtractTest, AHeaderAtTheEndOfAVolumeTakesItsContentFromTheNext)
{
    const std::string a = Pattern(50, 14);
    WriteVolume(1, Int32Bytes(50) + EntryHeader("a", 50) + "\x02");
    WriteVolume(2, a.substr(0, 20) + "\x03");
    WriteVolume(3, a.substr(20) + "\x04");
    const TExtractRun run = Run();
    EXPECT_EQ(run.Result, 1);
    EXPECT_EQ(Extracted("a"), a);
}

TEST(VolumeNames, CountWithTwoDigitsFromOneToNineAndPlainlyAfter)
{
    EXPECT_EQ(VolumeName(1), "Setup.d01");
    EXPECT_EQ(VolumeName(9), "Setup.d09");
    EXPECT_EQ(VolumeName(10), "Setup.d10");
    EXPECT_EQ(VolumeName(255), "Setup.d255");
}

TEST(VolumeNames, ExactNameFirstThenAnyCaseThenTheNextFolder)
{
    TFolder first, second;
    second.Write("Setup.d02", "2");
    first.Write("SETUP.D02", "upper");
    first.Write("Setup.d03", "exact");
    first.Write("setup.D03", "other");
    QDir().mkpath(QString::fromStdString(first.File("Setup.d04")));
    second.Write("setup.d04", "4");

    const std::vector<std::string> folders{first.Path(), second.Path()};
    EXPECT_EQ(FindVolume("Setup.d02", folders), first.File("SETUP.D02"));
    EXPECT_EQ(FindVolume("Setup.d03", folders), first.File("Setup.d03"));
    EXPECT_EQ(FindVolume("Setup.d04", folders), second.File("setup.d04"));
    EXPECT_EQ(FindVolume("Setup.d05", folders), "");
    EXPECT_EQ(FindVolume("Setup.d02", {second.Path()}), second.File("Setup.d02"));
}

TEST_F(ExtractTest, AMissingVolumeIsAskedForUntilItIsThere)
{
    const std::vector<TFile> files{{"a", Pattern(60, 15)}, {"b", Pattern(60, 16)}};
    const int count = Pack(files, 50);
    ASSERT_GE(count, 3);
    const std::string second = volumes.Read("Setup.d02");
    QFile::remove(QString::fromStdString(volumes.File("Setup.d02")));
    // OK while it is still missing asks again; the second time the disk has been put in.
    questions.DiskAnswers = {false, false};
    questions.DuringDisk = [&] {
        if (questions.DiskTexts.size() == 2)
            volumes.Write("setup.d02", second);
    };
    const TExtractRun run = Run();
    EXPECT_EQ(run.Result, 1);
    EXPECT_EQ(questions.DiskTexts, (std::vector<std::string>{"Insert disk 2", "Insert disk 2"}));
    EXPECT_EQ(questions.ExitAsked, 0);
    ExpectAllExtracted(files);
}

TEST_F(ExtractTest, CancelAtTheDiskQuestionAsksWhetherToLeave)
{
    const std::vector<TFile> files{{"a", Pattern(60, 17)}, {"b", Pattern(60, 18)}};
    Pack(files, 50);
    QFile::remove(QString::fromStdString(volumes.File("Setup.d02")));
    // Cancel, Resume: asked again; Cancel, Exit: the dialog ends at once.
    questions.DiskAnswers = {true, true};
    questions.ExitAnswers = {false, true};
    const TExtractRun run = Run();
    EXPECT_EQ(run.Result, 2);
    EXPECT_TRUE(run.GaveUp);
    EXPECT_EQ(questions.DiskTexts.size(), 2u);
    EXPECT_EQ(questions.ExitAsked, 2);
    EXPECT_TRUE(questions.Errors.empty());
    const std::vector<std::string> lines = LogLines(run.Log);
    ASSERT_GE(lines.size(), 9u);
    EXPECT_EQ(lines[7], "a");
    EXPECT_EQ(lines.back(), "");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "{program folder files}"), 0);
}

TEST_F(ExtractTest, AMissingFirstVolumeGoesThroughTheDiskQuestion)
{
    questions.DiskAnswers = {false, true};
    questions.ExitAnswers = {true};
    const TExtractRun run = Run();
    EXPECT_EQ(run.Result, 2);
    EXPECT_TRUE(run.GaveUp);
    EXPECT_EQ(questions.DiskTexts, (std::vector<std::string>{"Insert disk 1", "Insert disk 1"}));
    EXPECT_EQ(LogLines(run.Log),
              (std::vector<std::string>{"Installation log \xE9", "0", "", "{program folder}",
                                        "Group", "", "{program files}", ""}));
}

TEST_F(ExtractTest, AnExistingTargetIsReplacedAfterYes)
{
    const std::vector<TFile> files{{"a", Pattern(10, 19)}, {"sub\\b", Pattern(10, 20)}};
    Pack(files, 1000);
    root.Write("inst/sub/b", "old");
    questions.OverwriteAnswers = {1};
    const TExtractRun run = Run();
    EXPECT_EQ(run.Result, 1);
    EXPECT_EQ(questions.OverwriteTexts, (std::vector<std::string>{"Overwrite b?"}));
    EXPECT_FALSE(run.YesToAll);
    ExpectAllExtracted(files);
}

TEST_F(ExtractTest, YesToAllAsksOnceAndIsHandedToTheWizard)
{
    const std::vector<TFile> files{
            {"a", Pattern(10, 21)}, {"b", Pattern(10, 22)}, {"c", Pattern(10, 23)}};
    Pack(files, 1000);
    root.Write("inst/a", "old a");
    root.Write("inst/c", "old c");
    questions.OverwriteAnswers = {3};
    const TExtractRun run = Run();
    EXPECT_EQ(run.Result, 1);
    EXPECT_EQ(questions.OverwriteTexts.size(), 1u);
    EXPECT_TRUE(run.YesToAll);
    ExpectAllExtracted(files);
}

TEST_F(ExtractTest, NoThenResumeAsksTheOverwriteQuestionAgain)
{
    const std::vector<TFile> files{{"a", Pattern(10, 24)}};
    Pack(files, 1000);
    root.Write("inst/a", "old");
    questions.OverwriteAnswers = {2, 1};
    questions.ExitAnswers = {false};
    const TExtractRun run = Run();
    EXPECT_EQ(run.Result, 1);
    EXPECT_EQ(questions.OverwriteTexts.size(), 2u);
    ExpectAllExtracted(files);
}

TEST_F(ExtractTest, ExitAtTheOverwriteQuestionLeavesTheTargetAndStops)
{
    const std::vector<TFile> files{
            {"a", Pattern(10, 25)}, {"b", Pattern(10, 26)}, {"c", Pattern(10, 27)}};
    Pack(files, 1000);
    root.Write("inst/b", "old b");
    questions.OverwriteAnswers = {2};
    questions.ExitAnswers = {true};
    const TExtractRun run = Run();
    EXPECT_EQ(run.Result, 2);
    EXPECT_TRUE(run.ExitChosen);
    EXPECT_FALSE(run.GaveUp);
    EXPECT_EQ(questions.ExitAsked, 1);
    EXPECT_EQ(Extracted("a"), files[0].Content);
    EXPECT_EQ(Extracted("b"), "old b");
    EXPECT_EQ(Extracted("c"), "<missing>");
    const std::vector<std::string> lines = LogLines(run.Log);
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[7], "a");
    EXPECT_EQ(lines[9], "b"); // begun, never stamped
    EXPECT_EQ(lines[10], "");
}

// Only an existing target is a question; a target that cannot be created is a failure.
TEST_F(ExtractTest, ATargetThatCannotBeCreatedStopsWithAMessage)
{
    const std::vector<TFile> files{
            {"a", Pattern(10, 28)}, {"blocker\\b", Pattern(10, 29)}, {"c", Pattern(10, 30)}};
    Pack(files, 1000);
    root.Write("inst/blocker", "a plain file where a folder should be");
    const TExtractRun run = Run();
    EXPECT_EQ(run.Result, 2);
    EXPECT_TRUE(run.GaveUp);
    EXPECT_EQ(questions.ExitAsked, 0);
    EXPECT_TRUE(questions.OverwriteTexts.empty());
    ASSERT_EQ(questions.Errors.size(), 1u);
    EXPECT_EQ(questions.Errors[0],
              "Could not create the file \"" + dest() + "/blocker/b\": " + std::strerror(ENOTDIR)
                      + ".");
    EXPECT_EQ(Extracted("c"), "<missing>");
    EXPECT_FALSE(run.Log.empty());
}

// A full disk: the write that fails half-way names the file and the system's reason, and the
// extraction stops there.
TEST_F(ExtractTest, AWriteThatFailsHalfWayNamesTheFileAndTheSystemsReason)
{
    constexpr rlim_t Limit = 4096;
    const std::vector<TFile> files{
            {"small", Pattern(100, 31)}, {"sub\\large", Pattern(3 * Limit, 32)}, {"c", "c"}};
    Pack(files, 1000);
    TExtractRun run;
    {
        TFileSizeLimit limit(Limit);
        run = Run();
    }
    EXPECT_EQ(run.Result, 2);
    EXPECT_TRUE(run.GaveUp);
    ASSERT_EQ(questions.Errors.size(), 1u);
    EXPECT_EQ(questions.Errors[0],
              "Could not write the file \"" + dest() + "/sub/large\": " + std::strerror(EFBIG)
                      + ".");
    EXPECT_EQ(Extracted("small"), files[0].Content);
    EXPECT_EQ(Extracted("sub\\large").size(), Limit);
    EXPECT_EQ(Extracted("c"), "<missing>");
}

struct TCorruptCase
{
    const char *What;
    std::string Volume1;
    std::string Volume2;
    const char *Named;
};

TEST_F(ExtractTest, ADamagedVolumeStopsWithAMessageAndWritesNothingOutside)
{
    const std::string ok = EntryBytes("ok", "12345");
    const std::vector<TCorruptCase> cases{
            {"absolute name", Int32Bytes(10) + ok + EntryBytes("/tmp/evil", "12345") + "\x02", "",
             "Setup.d01"},
            {"backslash root", Int32Bytes(10) + ok + EntryBytes("\\evil", "12345") + "\x02", "",
             "Setup.d01"},
            {"drive letter", Int32Bytes(10) + ok + EntryBytes("C:evil", "12345") + "\x02", "",
             "Setup.d01"},
            {"parent folder", Int32Bytes(10) + ok + EntryBytes("..\\evil", "12345") + "\x02", "",
             "Setup.d01"},
            {"deep parent", Int32Bytes(10) + ok + EntryBytes("a\\..\\../evil", "12345") + "\x02",
             "", "Setup.d01"},
            {"empty name", Int32Bytes(10) + ok + EntryBytes("", "12345") + "\x02", "", "Setup.d01"},
            {"negative size", Int32Bytes(10) + ok + EntryHeader("neg", -5) + "\x02", "",
             "Setup.d01"},
            {"size past the total", Int32Bytes(10) + ok + EntryBytes("big", "123456") + "\x02", "",
             "Setup.d01"},
            {"negative total", Int32Bytes(-1) + ok + "\x02", "", "Setup.d01"},
            {"unterminated name", Int32Bytes(10) + ok + "abc\x02", "", "Setup.d01"},
            {"truncated size", Int32Bytes(10) + ok + std::string("abc\0\x05\x00", 6) + "\x02", "",
             "Setup.d01"},
            {"truncated total", std::string("\x05\x00", 2), "", "Setup.d01"},
            {"empty volume", "", "", "Setup.d01"},
            {"name in the next volume", Int32Bytes(10) + ok + "\x02",
             EntryBytes("../evil", "12345") + "\x03", "Setup.d02"},
            {"volume number that does not count up", Int32Bytes(10) + ok + "\x01", "", "Setup.d01"},
            {"overlong name",
             Int32Bytes(10) + ok + EntryBytes(std::string(5000, 'n'), "12345") + "\x02", "",
             "Setup.d01"},
    };
    for (const TCorruptCase &test : cases) {
        SCOPED_TRACE(test.What);
        TFolder parent;
        const std::string inst = parent.Path() + "/inst";
        parent.Write("vol/" + VolumeName(1), test.Volume1);
        if (!test.Volume2.empty())
            parent.Write("vol/" + VolumeName(2), test.Volume2);
        QDir().mkpath(QString::fromStdString(inst));
        TScriptedQuestions local;
        const TExtractRun run = RunExtraction(parent.File("vol"), inst, local);
        EXPECT_EQ(run.Result, 2);
        EXPECT_TRUE(run.GaveUp);
        EXPECT_EQ(local.ExitAsked, 0);
        ASSERT_EQ(local.Errors.size(), 1u);
        EXPECT_EQ(local.Errors[0],
                  std::string("The data volume \"") + test.Named + "\" is damaged.");
        for (const std::string &file : parent.Files())
            EXPECT_TRUE(file.starts_with("inst/") || file.starts_with("vol/")) << file;
        EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/tmp/evil")));
        EXPECT_FALSE(parent.Exists("evil"));
        const std::vector<std::string> lines = LogLines(run.Log);
        ASSERT_GE(lines.size(), 8u);
        EXPECT_EQ(lines[6], "{program files}");
        EXPECT_EQ(lines.back(), "");
    }
}

class CancelTest : public ExtractTest
{
protected:
    // Clicks Cancel once the bar has reached `at`.
    TExtractRun RunCancelledAt(int at)
    {
        return RunExtraction(volumes.Path(), dest(), questions, [this, at](TExtractForm &form) {
            current = &form;
            auto *timer = new QTimer(&form);
            QObject::connect(timer, &QTimer::timeout, &form, [&form, timer, at] {
                if (form.Progress() < at)
                    return;
                timer->stop();
                form.findChild<QPushButton *>(QStringLiteral("CancelButton"))->click();
            });
            timer->start(0);
        });
    }

    // Keeps the exit question up for a while, spinning the event loop as a modal dialog does,
    // and notes the bar before and after.
    void WatchTheQuestion()
    {
        questions.DuringExit = [this] {
            before = current->Progress();
            QTest::qWait(100);
            after = current->Progress();
        };
    }

    std::vector<TFile> files{{"a", Pattern(3000, 31)}, {"b", Pattern(3000, 32)}};
    TExtractForm *current = nullptr;
    int before = -1;
    int after = -2;
};

TEST_F(CancelTest, ResumeGoesOnAndNoStepRunsWhileTheQuestionIsUp)
{
    Pack(files, 1000);
    questions.ExitAnswers = {false};
    WatchTheQuestion();
    const TExtractRun run = RunCancelledAt(5);
    EXPECT_EQ(run.Result, 1);
    EXPECT_EQ(questions.ExitAsked, 1);
    EXPECT_GE(before, 5);
    EXPECT_EQ(before, after);
    ExpectAllExtracted(files);
    EXPECT_EQ(LogLines(run.Log), ExpectedLog(files));
}

TEST_F(CancelTest, ExitEndsTheExtractionAndNoFurtherStepRuns)
{
    Pack(files, 1000);
    questions.ExitAnswers = {true};
    WatchTheQuestion();
    const TExtractRun run = RunCancelledAt(5);
    EXPECT_EQ(run.Result, 2);
    EXPECT_FALSE(run.GaveUp);
    EXPECT_FALSE(run.ExitChosen);
    EXPECT_EQ(questions.ExitAsked, 1);
    EXPECT_EQ(before, after);
    EXPECT_EQ(run.Progress, after);
    EXPECT_NE(Extracted("b"), files[1].Content);
    const std::vector<std::string> lines = LogLines(run.Log);
    EXPECT_EQ(lines.back(), "");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "{program folder files}"), 0);
}

// Damage that the earlier checks let through: content read as a name or as a volume number. A
// volume set is changed as copying or a broken medium changes it, and the extraction must call it
// damaged before it creates a file of a name no entry has, and never ask for a volume that does
// not exist.
struct TDamage
{
    const char *What;
    std::function<void(std::vector<std::string> &volumes)> Change;
};

// Files as a distribution holds them: a program and a help file with their headers and runs of
// zero bytes, a language pack's text.
std::vector<TFile> DistributionLikeFiles()
{
    const std::string zeros(40, '\0');
    std::string pack = "Tarnwick Language Pack\r\n2\r\n:setup\r\n";
    for (int i = 0; pack.size() < 1500; ++i)
        pack += "Text number " + std::to_string(i) + "\r\n";
    return {{"tarnwick",
             std::string("\x7F"
                         "ELF\x02\x01\x01\x03\0\0\0\0\0\0\0\0\x03\0\x3E\0\x01\0\0\0",
                         24)
                     + zeros + Pattern(900, 1) + zeros + Pattern(700, 2) + zeros},
            {"English.lng", pack},
            {"TarnwickEN.chm",
             std::string("ITSF\x03\0\0\0\x60\0\0\0\x01\0\0\0", 16) + zeros + Pattern(800, 3) + zeros
                     + "<html><body>Help</body></html>" + zeros},
            {"sub\\data.bin", Pattern(1200, 4)}};
}

std::string WithName(const std::string &name)
{
    return Int32Bytes(10) + EntryBytes("ok", "12345") + EntryBytes(name, "12345") + "\x02";
}

TEST_F(ExtractTest, DamagedVolumeSetsAreCalledDamagedBeforeAFileIsCreatedFromTheDamage)
{
    const std::vector<TFile> files = DistributionLikeFiles();
    const int count = Pack(files, 1000);
    ASSERT_GE(count, 6);
    std::vector<std::string> packed;
    for (int number = 1; number <= count; ++number)
        packed.push_back(volumes.Read(VolumeName(number)));
    // The number of the next volume: the last byte.
    const auto setNext = [](std::string &volume, char number) { volume.back() = number; };
    // Where the first entry's size lies in volume 1: after the total and the name.
    const size_t firstSize = 4 + files[0].Name.size() + 1;

    const std::vector<TDamage> cases{
            {"volumes 1 and 2 swapped", [](auto &v) { std::swap(v[0], v[1]); }},
            {"volumes 2 and 3 swapped", [](auto &v) { std::swap(v[1], v[2]); }},
            {"volumes 3 and 5 swapped", [](auto &v) { std::swap(v[2], v[4]); }},
            {"first entry of size 0", [&](auto &v) { v[0].replace(firstSize, 4, Int32Bytes(0)); }},
            {"volume 1 one byte short", [](auto &v) { v[0].pop_back(); }},
            {"volume 2 one byte short", [](auto &v) { v[1].pop_back(); }},
            {"volume 1 truncated", [](auto &v) { v[0].resize(v[0].size() / 2); }},
            {"volume 3 truncated", [](auto &v) { v[2].resize(v[2].size() / 3); }},
            {"a volume skipped", [&](auto &v) { setNext(v[0], '\x03'); }},
            {"a content byte as the next number", [&](auto &v) { setNext(v[1], 'B'); }},
            {"a control character", [](auto &v) { v = {WithName("a\x01name")}; }},
            {"a program's first bytes",
             [](auto &v) {
                 v = {WithName("\x7F"
                               "ELF\x02\x01\x01\x03")};
             }},
            {"a tab", [](auto &v) { v = {WithName("a\tb")}; }},
            {"a line break", [](auto &v) { v = {WithName("readme\n.txt")}; }},
            {"a byte the code page leaves undefined", [](auto &v) { v = {WithName("a\x81")}; }},
            {"the folder itself", [](auto &v) { v = {WithName("sub\\.\\x")}; }},
            {"a dot alone", [](auto &v) { v = {WithName(".")}; }},
            {"an empty level", [](auto &v) { v = {WithName("sub\\\\x")}; }},
            {"a trailing separator", [](auto &v) { v = {WithName("sub\\")}; }},
            {"a level longer than a file name",
             [](auto &v) { v = {WithName("sub\\" + std::string(256, 'n'))}; }},
    };
    std::vector<std::string> names{"ok", "Install.log"};
    for (const TFile &file : files)
        names.push_back(Slashed(file.Name));
    for (const TDamage &test : cases) {
        SCOPED_TRACE(test.What);
        std::vector<std::string> set = packed;
        test.Change(set);
        TFolder parent;
        for (size_t i = 0; i < set.size(); ++i)
            parent.Write("vol/" + VolumeName(static_cast<int>(i + 1)), set[i]);
        const std::string inst = parent.Path() + "/inst";
        QDir().mkpath(QString::fromStdString(inst));
        TScriptedQuestions local;
        const TExtractRun run = RunExtraction(parent.File("vol"), inst, local);
        EXPECT_EQ(run.Result, 2);
        EXPECT_TRUE(local.DiskTexts.empty());
        EXPECT_EQ(local.Errors.size(), 1u);
        const std::string error = local.Errors.empty() ? std::string() : local.Errors[0];
        EXPECT_TRUE(error.starts_with("The data volume \"Setup.d0")) << error;
        EXPECT_TRUE(error.ends_with("\" is damaged.")) << error;
        for (const std::string &file : parent.Files()) {
            if (file.starts_with("vol/"))
                continue;
            EXPECT_TRUE(file.starts_with("inst/")) << file;
            const std::string name = file.substr(5);
            EXPECT_TRUE(std::find(names.begin(), names.end(), name) != names.end()) << name;
        }
    }
}

} // namespace
