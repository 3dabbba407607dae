#pragma once

#include "mainwindow/FileDialogs.h"

#include <QString>
#include <deque>
#include <vector>

// Answers file dialogs from a script of chosen files ("" cancels) and keeps the requests.
class TScriptedFileDialogs : public IMainFileDialogs
{
public:
    TScriptedFileDialogs() { previous = SetMainFileDialogs(this); }
    ~TScriptedFileDialogs() override { SetMainFileDialogs(previous); }
    bool Execute(TFileDialogRequest &request) override
    {
        Requests.push_back(request);
        if (Choices.empty() || Choices.front().isEmpty()) {
            if (!Choices.empty())
                Choices.pop_front();
            return false;
        }
        request.FileName = Choices.front();
        Choices.pop_front();
        request.FilterIndex = ChosenFilter;
        return true;
    }
    std::vector<TFileDialogRequest> Requests;
    std::deque<QString> Choices;
    int ChosenFilter = 1;

private:
    IMainFileDialogs *previous = nullptr;
};
