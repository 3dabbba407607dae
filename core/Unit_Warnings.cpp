#include "core/Unit_Warnings.h"

#include "core/Unit_LanguagePack.h"
#include "platform/Beep.h"

#include <utility>

namespace {

constexpr int WarningTitle = 0;
constexpr int ConfirmationTitle = 1;
constexpr int InformationTitle = 2;
constexpr int OkCaption = 3;
constexpr int YesCaption = 4;
constexpr int NoCaption = 5;
constexpr int CancelCaption = 6;

constexpr int Yes = 0;
constexpr int No = 1;
constexpr int Cancel = 2;

// Without a display there is nobody to ask: every question gets its escape answer.
class TUnattendedBox : public IMessageBox
{
public:
    int Show(const TMessageRequest &request) override { return request.EscapeButton; }
};

IMessageBox *Injected = nullptr;
IMessageBox *Default = nullptr;

IMessageBox &Box()
{
    static TUnattendedBox unattended;
    if (Injected)
        return *Injected;
    return Default ? *Default : unattended;
}

int Ask(int title, TMessageIcon icon, std::vector<int> captions, const std::string &msg,
        TBeepKind beep)
{
    TMessageRequest request;
    request.Title = LanguageText(title);
    request.Text = msg;
    request.Icon = icon;
    for (int caption : captions)
        request.Buttons.push_back(LanguageText(caption));
    request.EscapeButton = static_cast<int>(captions.size()) - 1;
    PlatformBeep(beep);
    return Box().Show(request);
}

} // namespace

IMessageBox *SetMessageBox(IMessageBox *box)
{
    return std::exchange(Injected, box);
}

void SetDefaultMessageBox(IMessageBox *box)
{
    Default = box;
}

int WarnYesNoCancel(const std::string &msg)
{
    const int pressed = Ask(WarningTitle, TMessageIcon::Warning,
                            {YesCaption, NoCaption, CancelCaption}, msg, TBeepKind::Question);
    return pressed == Yes || pressed == No ? pressed : Cancel;
}

int WarnYesNo(const std::string &msg)
{
    const int pressed = Ask(WarningTitle, TMessageIcon::Warning, {YesCaption, NoCaption}, msg,
                            TBeepKind::Question);
    return pressed == Yes ? Yes : No;
}

int ConfirmYesNo(const std::string &msg)
{
    const int pressed = Ask(ConfirmationTitle, TMessageIcon::Confirmation, {YesCaption, NoCaption},
                            msg, TBeepKind::Question);
    return pressed == Yes ? Yes : No;
}

void ShowInformation(const std::string &msg)
{
    Ask(InformationTitle, TMessageIcon::Information, {OkCaption}, msg, TBeepKind::Default);
}

void ShowWarning(const std::string &msg)
{
    Ask(WarningTitle, TMessageIcon::Warning, {OkCaption}, msg, TBeepKind::Question);
}

std::string ErrorText(const std::string &text)
{
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.')
        return text + ".";
    return text;
}

void ShowMessage(const std::string &msg)
{
    TMessageRequest request;
    request.Title = "Tarnwick";
    request.Text = msg;
    request.Icon = TMessageIcon::None;
    request.Buttons = {"OK"};
    Box().Show(request);
}

void ShowError(const std::string &text)
{
    TMessageRequest request;
    request.Title = "Tarnwick";
    request.Text = ErrorText(text);
    request.Icon = TMessageIcon::Stop;
    request.Buttons = {"OK"};
    Box().Show(request);
}
