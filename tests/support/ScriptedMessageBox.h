#pragma once

#include "core/Unit_Warnings.h"

#include <deque>
#include <string>
#include <vector>

// Answers message dialogs from a script (the escape button once it runs out) and keeps their
// texts.
class TScriptedBox : public IMessageBox
{
public:
    TScriptedBox() { previous = SetMessageBox(this); }
    ~TScriptedBox() override { SetMessageBox(previous); }
    int Show(const TMessageRequest &request) override
    {
        Texts.push_back(request.Text);
        if (Answers.empty())
            return request.EscapeButton;
        const int answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    std::vector<std::string> Texts;
    std::deque<int> Answers;

private:
    IMessageBox *previous = nullptr;
};
