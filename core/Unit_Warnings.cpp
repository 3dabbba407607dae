#include "core/Unit_Warnings.h"

#include "core/Texts.h"
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
        const TShownText &msg, TBeepKind beep)
{
    TMessageRequest request;
    request.Title = PackText(title);
    request.Text = msg.Text();
    request.Icon = icon;
    for (TEntry caption : captions)
        request.Buttons.append(PackText(caption));
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

int WarnYesNoCancel(const TShownText &msg)
{
    const int pressed = Ask(TEntry::WarningTitle, TMessageIcon::Warning,
                            {TEntry::YesButton, TEntry::NoButton, TEntry::CancelButton}, msg,
                            TBeepKind::Question);
    return pressed == mbYes || pressed == mbNo ? pressed : mbCancel;
}

int WarnYesNo(const TShownText &msg)
{
    const int pressed = Ask(TEntry::WarningTitle, TMessageIcon::Warning,
                            {TEntry::YesButton, TEntry::NoButton}, msg, TBeepKind::Question);
    return pressed == mbYes ? mbYes : mbNo;
}

int ConfirmYesNo(const TShownText &msg)
{
    const int pressed = Ask(TEntry::ConfirmationTitle, TMessageIcon::Confirmation,
                            {TEntry::YesButton, TEntry::NoButton}, msg, TBeepKind::Question);
    return pressed == mbYes ? mbYes : mbNo;
}

void ShowInformation(const TShownText &msg)
{
    Ask(TEntry::InformationTitle, TMessageIcon::Information, {TEntry::OkButton}, msg,
        TBeepKind::Default);
}

void ShowWarning(const TShownText &msg)
{
    Ask(TEntry::WarningTitle, TMessageIcon::Warning, {TEntry::OkButton}, msg, TBeepKind::Question);
}

TShownText::TShownText(const char *bytes)
    : text(DecodeText(bytes))
{ }

TShownText::TShownText(const std::string &bytes)
    : text(DecodeText(bytes))
{ }

TShownText::TShownText(QString text)
    : text(std::move(text))
{ }

QString ErrorText(const QString &text)
{
    if (!text.isEmpty() && text.back() > QLatin1Char('.'))
        return text + QLatin1Char('.');
    return text;
}

void ShowMessage(const TShownText &msg)
{
    TMessageRequest request;
    request.Title = QStringLiteral("Tarnwick");
    request.Text = msg.Text();
    request.Icon = TMessageIcon::None;
    request.Buttons = {QStringLiteral("OK")};
    Box().Show(request);
}

void ShowError(const TShownText &text)
{
    TMessageRequest request;
    request.Title = QStringLiteral("Tarnwick");
    request.Text = ErrorText(text.Text());
    request.Icon = TMessageIcon::Stop;
    request.Buttons = {QStringLiteral("OK")};
    Box().Show(request);
}

void ShowError(const std::exception &error)
{
    ShowError(QString::fromUtf8(error.what()));
}
