#include "core/BusyCursor.h"
#include "core/PrivateMessages.h"
#include "core/Unit_FilesThread.h"
#include "core/Unit_ThreadInterchange.h"
#include "core/Unit_WLFile.h"
#include "core/Unit_Warnings.h"
#include "core/Unit_WordList.h"
#include "support/ScriptedMessageBox.h"
#include "support/WordListFixtures.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>

namespace {

// What the window learnt from one WM_FILESTHREADDONE, read while the message was handled.
struct TDone
{
    intptr_t Action = -1;
    bool LoadOk = false;
    int LoadFormat = 0;
    TWordList *List = nullptr;
    int32_t ImportCount = 0;
    bool OnGuiThread = false;
};

class TReceiver : public QObject
{
public:
    bool event(QEvent *event) override
    {
        if (event->type() != static_cast<QEvent::Type>(WM_FILESTHREADDONE))
            return QObject::event(event);
        const auto *message = static_cast<TMessageEvent *>(event);
        Done.push_back({message->WParam, LoadOk, LoadFormat, CurrentList, ImportCount,
                        QThread::currentThread() == QCoreApplication::instance()->thread()});
        return true;
    }

    std::vector<TDone> Done;
};

// Conversion of a second-format list fails with an exception nobody expects.
class TThrowingHooks : public TRecordingHooks
{
public:
    int ConvertList(TWordList &) override { throw std::runtime_error("conversion broke"); }
};

class FilesThread : public ::testing::Test
{
protected:
    void TearDown() override { CurrentList = nullptr; }

    std::string Path(const std::string &name) const
    {
        return dir.filePath(QString::fromStdString(name)).toStdString();
    }

    static bool WaitFor(const std::function<bool()> &condition)
    {
        QDeadlineTimer deadline(10000);
        while (!condition() && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        return condition();
    }

    // Starts the operation and waits until the thread has freed itself.
    void Run(const std::string &fileName, uint8_t action, QObject *window)
    {
        QPointer<TFilesThread> thread = new TFilesThread(fileName, action, window);
        EXPECT_TRUE(WaitFor([&] { return thread.isNull(); }));
    }

    TDone RunOne(const std::string &fileName, uint8_t action)
    {
        Run(fileName, action, &receiver);
        EXPECT_EQ(1u, receiver.Done.size());
        return receiver.Done.empty() ? TDone{} : receiver.Done.back();
    }

    QTemporaryDir dir;
    TFakeFontCatalog fonts;
    TRecordingHooks hooks;
    TNumberedPack pack;
    TScriptedBox box;
    TReceiver receiver;
};

TEST_F(FilesThread, AnOpenHandsTheNewListToTheWindow)
{
    TListBytes file;
    file.Header(3).Record(3, "un").Record(3, "deux");
    const std::string path = WriteFile(Path("list.wdl"), file.Bytes);
    const TDone done = RunOne(path, FilesOpen);
    std::unique_ptr<TWordList> list(done.List);
    EXPECT_EQ(FilesOpen, done.Action);
    EXPECT_TRUE(done.LoadOk);
    EXPECT_EQ(3, done.LoadFormat);
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(2, list->Count());
    EXPECT_TRUE(box.Requests.empty());
}

TEST_F(FilesThread, AFailedOpenStillSendsItsMessage)
{
    LoadOk = true;
    TDone done = RunOne(Path("missing.wdl"), FilesOpen);
    delete done.List;
    EXPECT_EQ(FilesOpen, done.Action);
    EXPECT_NE(nullptr, done.List);
    EXPECT_FALSE(done.LoadOk);
    EXPECT_TRUE(box.Requests.empty());

    // An exception from deep inside the reader is shown once and does not stop the message.
    TThrowingHooks throwing;
    TListBytes file;
    file.Header(2).Record(2, "un", "WAVE");
    receiver.Done.clear();
    LoadOk = true;
    done = RunOne(WriteFile(Path("old.wdl"), file.Bytes), FilesOpen);
    delete done.List;
    EXPECT_EQ(FilesOpen, done.Action);
    EXPECT_FALSE(done.LoadOk);
    ASSERT_EQ(1u, box.Requests.size());
    EXPECT_EQ("conversion broke.", box.Requests[0].Text);
    EXPECT_EQ(TMessageIcon::Stop, box.Requests[0].Icon);
}

TEST_F(FilesThread, AnImportInsertsAtTheIndexAndCounts)
{
    TWordList list;
    TListBuilder(list).Words({"first", "last"});
    CurrentList = &list;
    ImportIndex = 1;
    const TDone done = RunOne(WriteFile(Path("words.txt"), "a\tb\r\nc\td\r\n"), FilesImport);
    EXPECT_EQ(FilesImport, done.Action);
    EXPECT_EQ(2, done.ImportCount);
    ASSERT_EQ(4, list.Count());
    EXPECT_EQ("a", list.GetForWord(1));
    EXPECT_EQ("last", list.GetForWord(3));
}

TEST_F(FilesThread, AnImportOfNothingOrOfAnUnreadableFileSendsACountOfZero)
{
    TWordList list;
    CurrentList = &list;
    ImportIndex = 0;
    ImportCount = 99;
    TDone done = RunOne(WriteFile(Path("words.txt"), "no record here\r\n"), FilesImport);
    EXPECT_EQ(FilesImport, done.Action);
    EXPECT_EQ(0, done.ImportCount);
    EXPECT_TRUE(box.Requests.empty());

    receiver.Done.clear();
    ImportCount = 99;
    done = RunOne(dir.path().toStdString(), FilesImport);
    EXPECT_EQ(FilesImport, done.Action);
    EXPECT_EQ(0, done.ImportCount);
    EXPECT_EQ(1u, box.Requests.size());
    EXPECT_EQ(0, list.Count());
}

TEST_F(FilesThread, ASaveAndAnExportWriteTheirFiles)
{
    TWordList list;
    list.InitLanguages("Frans", 0, "Arial", 12, "Nederlands", 0, "Arial", 10);
    TListBuilder(list).Word("un", "een", "les");
    CurrentList = &list;
    EXPECT_EQ(FilesSave, RunOne(Path("list.wdl"), FilesSave).Action);
    EXPECT_TRUE(list.Saved);
    EXPECT_EQ(Path("list.wdl"), list.FileName);
    EXPECT_EQ(0u, ReadFile(Path("list.wdl")).find(Signature(5)));

    receiver.Done.clear();
    EXPECT_EQ(FilesExport, RunOne(Path("list.txt"), FilesExport).Action);
    EXPECT_EQ("un\teen\t\t\tles\r\n", ReadFile(Path("list.txt")));
    EXPECT_TRUE(box.Requests.empty());
}

TEST_F(FilesThread, AFailedSaveOrExportIsShownOnceAndStillSendsItsMessage)
{
    TWordList list;
    list.InitLanguages("Frans", 0, "Arial", 12, "Nederlands", 0, "Arial", 10);
    TListBuilder(list).Word("un", "een", "les");
    list.FileName = "/kept/name.wdl";
    CurrentList = &list;
    EXPECT_EQ(FilesSave, RunOne(Path("no/such/folder/list.wdl"), FilesSave).Action);
    EXPECT_EQ(1u, box.Requests.size());
    EXPECT_EQ("/kept/name.wdl", list.FileName);
    EXPECT_FALSE(list.Saved);

    receiver.Done.clear();
    EXPECT_EQ(FilesExport, RunOne(Path("no/such/folder/list.txt"), FilesExport).Action);
    ASSERT_EQ(2u, box.Requests.size());
    EXPECT_EQ("Tarnwick", box.Requests[1].Title);
    EXPECT_EQ(TMessageIcon::Stop, box.Requests[1].Icon);
}

TEST_F(FilesThread, AnUnknownActionDoesNothingAndSendsNothing)
{
    TWordList list;
    CurrentList = &list;
    ImportCount = 5;
    Run(WriteFile(Path("words.txt"), "a\tb\r\n"), 7, &receiver);
    EXPECT_TRUE(receiver.Done.empty());
    EXPECT_EQ(0, list.Count());
    EXPECT_EQ(5, ImportCount);
}

TEST_F(FilesThread, TheOperationWaitsUntilTheStartingCommandHasReturned)
{
    TWordList list;
    CurrentList = &list;
    ImportIndex = 0;
    ImportCount = -5;
    QPointer<TFilesThread> thread
            = new TFilesThread(WriteFile(Path("words.txt"), "a\tb\r\n"), FilesImport, &receiver);
    EXPECT_EQ(Path("words.txt"), thread->FileName);
    EXPECT_EQ(FilesImport, thread->Action);
    QThread::msleep(100);
    EXPECT_EQ(-5, ImportCount);
    EXPECT_EQ(0, list.Count());
    EXPECT_TRUE(receiver.Done.empty());
    EXPECT_TRUE(WaitFor([&] { return thread.isNull(); }));
    ASSERT_EQ(1u, receiver.Done.size());
    EXPECT_EQ(1, receiver.Done[0].ImportCount);
    EXPECT_TRUE(receiver.Done[0].OnGuiThread);
}

TEST_F(FilesThread, AWindowGoneBeforeTheEndGetsNoMessageAndTheWorkIsDone)
{
    TWordList list;
    TListBuilder(list).Word("un", "een");
    CurrentList = &list;
    auto window = std::make_unique<TReceiver>();
    QPointer<TFilesThread> thread = new TFilesThread(Path("out.txt"), FilesExport, window.get());
    window.reset();
    EXPECT_TRUE(WaitFor([&] { return thread.isNull(); }));
    EXPECT_EQ("un\teen\t\t\t\r\n", ReadFile(Path("out.txt")));
}

TEST(BusyCursor, IsOneSettingNotAStack)
{
    ASSERT_EQ(nullptr, QGuiApplication::overrideCursor());
    SetBusyCursor(true);
    SetBusyCursor(true);
    EXPECT_TRUE(BusyCursorShown());
    ASSERT_NE(nullptr, QGuiApplication::overrideCursor());
    EXPECT_EQ(Qt::WaitCursor, QGuiApplication::overrideCursor()->shape());
    SetBusyCursor(false);
    EXPECT_FALSE(BusyCursorShown());
    EXPECT_EQ(nullptr, QGuiApplication::overrideCursor());
    SetBusyCursor(false);
    EXPECT_EQ(nullptr, QGuiApplication::overrideCursor());
}

} // namespace
