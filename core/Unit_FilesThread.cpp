#include "core/Unit_FilesThread.h"

#include "core/PrivateMessages.h"
#include "core/Unit_ThreadInterchange.h"
#include "core/Unit_Warnings.h"
#include "core/Unit_WordList.h"

#include <exception>

TFilesThread::TFilesThread(std::string fileName, uint8_t action, QObject *window)
    : FileName(std::move(fileName))
    , Action(action)
    , Window(window)
{
    connect(this, &QThread::finished, this, &QObject::deleteLater);
    start();
}

void TFilesThread::run()
{
    Execute();
}

// The thread only waits: the object lives on the GUI thread, so the call runs there.
void TFilesThread::Execute()
{
    if (Action > FilesExport)
        return;
    QMetaObject::invokeMethod(
            this, [this] { Operate(); }, Qt::BlockingQueuedConnection);
}

void TFilesThread::Operate()
{
    switch (Action) {
    case FilesOpen:
        Open();
        break;
    case FilesSave:
        Save();
        break;
    case FilesImport:
        Import();
        break;
    default:
        Export();
        break;
    }
    SendPrivateMessage(Window.data(), WM_FILESTHREADDONE, Action, 0);
}

void TFilesThread::Open()
{
    CurrentList = nullptr;
    LoadOk = false;
    LoadFormat = 0;
    try {
        CurrentList = new TWordList;
        int format = 0;
        CurrentList->LoadFromFile(FileName, LoadOk, format);
        LoadFormat = static_cast<uint8_t>(format);
    } catch (const std::exception &error) {
        LoadOk = false;
        ShowError(error);
    }
}

void TFilesThread::Save()
{
    SaveOk = false;
    try {
        if (CurrentList) {
            CurrentList->SaveToFile(FileName);
            SaveOk = true;
        }
    } catch (const std::exception &error) {
        ShowError(error);
    }
}

void TFilesThread::Import()
{
    ImportCount = 0;
    try {
        if (CurrentList)
            ImportCount = CurrentList->ImportFile(ImportIndex, FileName);
    } catch (const std::exception &error) {
        ImportCount = 0;
        ShowError(error);
    }
}

void TFilesThread::Export()
{
    try {
        if (CurrentList)
            CurrentList->ExportTextFile(FileName);
    } catch (const std::exception &error) {
        ShowError(error);
    }
}
