#include "core/Unit_Warnings.h"

#include "core/Unit_LanguagePack.h"
#include "platform/Beep.h"

#include <initializer_list>
#include <utility>

namespace {

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

int Ask(TEntry title, TMessageIcon icon, std::initializer_list<TEntry> captions,
        const std::string &msg, TBeepKind beep)
{
    TMessageRequest request;
    request.Title = LanguageText(title);
    request.Text = msg;
    request.Icon = icon;
    for (TEntry caption : captions)
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
    const int pressed = Ask(TEntry::WarningTitle, TMessageIcon::Warning,
                            {TEntry::YesButton, TEntry::NoButton, TEntry::CancelButton}, msg,
                            TBeepKind::Question);
    return pressed == mbYes || pressed == mbNo ? pressed : mbCancel;
}

int WarnYesNo(const std::string &msg)
{
    const int pressed = Ask(TEntry::WarningTitle, TMessageIcon::Warning,
                            {TEntry::YesButton, TEntry::NoButton}, msg, TBeepKind::Question);
    return pressed == mbYes ? mbYes : mbNo;
}

int ConfirmYesNo(const std::string &msg)
{
    const int pressed = Ask(TEntry::ConfirmationTitle, TMessageIcon::Confirmation,
                            {TEntry::YesButton, TEntry::NoButton}, msg, TBeepKind::Question);
    return pressed == mbYes ? mbYes : mbNo;
}

void ShowInformation(const std::string &msg)
{
    Ask(TEntry::InformationTitle, TMessageIcon::Information, {TEntry::OkButton}, msg,
        TBeepKind::Default);
}

void ShowWarning(const std::string &msg)
{
    Ask(TEntry::WarningTitle, TMessageIcon::Warning, {TEntry::OkButton}, msg, TBeepKind::Question);
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
