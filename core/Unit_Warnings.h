#pragma once

#include <QString>
#include <QStringList>
#include <exception>
#include <string>

// The program's modal message dialogs. Titles and button captions come from the language pack at
// each call, so a replaced pack shows at once.

enum class TMessageIcon {
    Warning,
    Confirmation,
    Information,
    Stop,
    // The plain message box: no picture.
    None,
};

// A message as it is shown. The program's own texts are DEFAULT code-page bytes (language-pack
// texts, fixed texts); a text that carries a file name is put together as a QString after the pack
// text was decoded, so that a name never passes through a code page.
class TShownText
{
public:
    TShownText(const char *bytes);
    TShownText(const std::string &bytes);
    TShownText(QString text);

    const QString &Text() const { return text; }

private:
    QString text;
};

struct TMessageRequest
{
    QString Title;
    QString Text;
    TMessageIcon Icon = TMessageIcon::Warning;
    // Captions left to right; the first is the default button.
    QStringList Buttons;
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
int WarnYesNoCancel(const TShownText &msg);
// Yes, or no for any other way of closing.
int WarnYesNo(const TShownText &msg);
int ConfirmYesNo(const TShownText &msg);
void ShowInformation(const TShownText &msg);
void ShowWarning(const TShownText &msg);

// The plain message box: the program's title, OK and no picture.
void ShowMessage(const TShownText &msg);

// The one way failures are reported: the program's title, OK and the stop icon.
void ShowError(const TShownText &text);
// A failure of the file layer: its message is UTF-8, the file names in it as the file system
// holds them.
void ShowError(const std::exception &error);
// The text as ShowError shows it: a full stop follows a last character that sorts after ".".
QString ErrorText(const QString &text);
