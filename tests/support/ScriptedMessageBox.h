#pragma once

#include "core/Unit_Warnings.h"
#include "platform/CodePage.h"
#include "support/QtPrinting.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// Stands in for the message dialogs while it lives. It keeps every request and its text (as the
// program's own DEFAULT code-page bytes, to compare with pack texts; file names are compared in
// the requests), and answers from the script, then with Answer when that is set, else with the
// escape button.
class TScriptedBox : public IMessageBox
{
public:
    TScriptedBox() { previous = SetMessageBox(this); }
    ~TScriptedBox() override { SetMessageBox(previous); }
    TScriptedBox(const TScriptedBox &) = delete;
    TScriptedBox &operator=(const TScriptedBox &) = delete;

    int Show(const TMessageRequest &request) override
    {
        Requests.push_back(request);
        Texts.push_back(Bytes(request.Text));
        if (OnShow)
            OnShow(request);
        if (Answers.empty())
            return Answer.value_or(request.EscapeButton);
        const int answer = Answers.front();
        Answers.pop_front();
        return answer;
    }

    // The texts shown since the last call.
    std::vector<std::string> Take() { return std::exchange(Texts, {}); }
    // The texts of the requests shown with the icon.
    std::vector<std::string> TextsWith(TMessageIcon icon) const
    {
        std::vector<std::string> texts;
        for (const TMessageRequest &request : Requests) {
            if (request.Icon == icon)
                texts.push_back(Bytes(request.Text));
        }
        return texts;
    }

    std::vector<TMessageRequest> Requests;
    std::vector<std::string> Texts;
    std::deque<int> Answers;
    std::optional<int> Answer;
    // Runs as each dialog comes up, before it is answered.
    std::function<void(const TMessageRequest &)> OnShow;

private:
    static std::string Bytes(const QString &text)
    {
        return CodePage::FromUnicodeLossy(text, CodePage::Default);
    }

    IMessageBox *previous = nullptr;
};
