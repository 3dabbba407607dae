#pragma once

#include <QString>
#include <functional>
#include <string>

class TWordList;

// The questions that reading a word list asks of the user. The reader runs without a display:
// tests install fakes. The default shows the message dialogs and the change-font dialog that the
// program installs; without one, and for the sound conversion, it answers as a user who cancels.
class TLoadHooks
{
public:
    virtual ~TLoadHooks() = default;

    // The application's error presenter; the text as it is shown (file names in it as the file
    // system holds them).
    virtual void ShowError(const QString &text);
    // A yes/no question: 0 yes, 1 no.
    virtual int WarnYesNo(const std::string &text);
    // The change-font dialog, preset to the character-set item charsetIndex. On 1 (OK), fontName
    // and charsetIndex hold what the user chose; any other result cancels.
    virtual int ChangeFont(int &charsetIndex, std::string &fontName);
    // The conversion of a list's WAV sounds: 1 converted, 2 failed, 3 cancelled by the user.
    virtual int ConvertList(TWordList &list);
};

// The change-font dialog behind the default ChangeFont: the same arguments and result. An empty
// function takes it away.
using TChangeFontDialog = std::function<int(int &charsetIndex, std::string &fontName)>;
void SetChangeFontDialog(TChangeFontDialog dialog);

TLoadHooks &LoadHooks();
// Installs hooks (not owned); nullptr restores the default.
void SetLoadHooks(TLoadHooks *hooks);
