#pragma once

#include <string>
#include <vector>

// The program's modal message dialogs. Texts are DEFAULT code-page bytes; titles and button
// captions come from the language pack at each call, so a replaced pack shows at once.

enum class TMessageIcon {
    Warning,
    Confirmation,
    Information,
    Stop,
    // The plain message box: no picture.
    None,
};

struct TMessageRequest
{
    std::string Title;
    std::string Text;
    TMessageIcon Icon = TMessageIcon::Warning;
    // Captions left to right; the first is the default button.
    std::vector<std::string> Buttons;
    // The button that Escape and the close box answer.
    int EscapeButton = 0;
};

// Shows one message modally. The program uses the desktop dialog; tests put a recorder in.
class IMessageBox
{
public:
    virtual ~IMessageBox() = default;
    // The index of the button that closed the dialog.
    virtual int Show(const TMessageRequest &request) = 0;
};

// nullptr restores the default box. Gives back the box installed before.
IMessageBox *SetMessageBox(IMessageBox *box);
// The box shown when none is set: the application object installs the desktop dialog.
void SetDefaultMessageBox(IMessageBox *box);

// What a message dialog was answered with.
enum TMessageAnswer : int {
    mbYes = 0,
    mbNo = 1,
    mbCancel = 2,
};

// Yes, no, or cancel for any other way of closing.
int WarnYesNoCancel(const std::string &msg);
// Yes, or no for any other way of closing.
int WarnYesNo(const std::string &msg);
int ConfirmYesNo(const std::string &msg);
void ShowInformation(const std::string &msg);
void ShowWarning(const std::string &msg);

// The plain message box: the program's title, OK and no picture.
void ShowMessage(const std::string &msg);

// The one way failures are reported: the program's title, OK and the stop icon.
void ShowError(const std::string &text);
// The text as ShowError shows it: a full stop follows a last character that sorts after ".".
std::string ErrorText(const std::string &text);
