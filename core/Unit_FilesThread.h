#pragma once

#include <QPointer>
#include <QThread>
#include <cstdint>
#include <string>

// The actions of TFilesThread, sent back as the wParam of WM_FILESTHREADDONE.
enum TFilesAction : uint8_t {
    FilesOpen = 0,
    FilesSave = 1,
    FilesImport = 2,
    FilesExport = 3
};

// Opens, saves, imports or exports the word list of the interchange variables. The work runs on
// the GUI thread, after the command that created the thread has gone back to the event loop, and
// ends with WM_FILESTHREADDONE (wParam the action) sent to Window, failure or not. Failures are
// shown by the error presenter. Create it with new: it starts at once and frees itself.
class TFilesThread final : public QThread
{
    Q_OBJECT

public:
    TFilesThread(std::string fileName, uint8_t action, QObject *window);

    const std::string FileName;
    const uint8_t Action;
    const QPointer<QObject> Window;

protected:
    void run() override;

private:
    ~TFilesThread() override = default;

    void Execute();
    void Operate();
    void Open();
    void Save();
    void Import();
    void Export();
};
