#pragma once

#include "platform/CodePage.h"
#include "widgets/KbTyping.h"

#include <functional>

class QEvent;
class QKeyEvent;
class QWidget;

// The key handling that the keyboard-aware edit and combo box share: typing through the control's
// layout, the control's key hooks, and what the control does with a key after its hooks saw it.
class TKBAwareKeys
{
public:
    // Where the two controls differ after the hooks saw a key.
    struct TRules
    {
        // Called after the hooks saw the key, with the character they left (Tab 9, Enter 13):
        // true when the control does nothing further with the key.
        std::function<bool(const QKeyEvent &key, QChar typed)> Swallows;
        // The code page of the control's text; accents are typed in its forms.
        int CodePage = CodePage::Default;
        // Typed text the code page cannot hold is refused; off where the control keeps no text.
        bool ChecksTyped = true;
    };
    // The control's key hooks (see TKBAwareEdit).
    struct THooks
    {
        const std::function<bool(QKeyEvent &event)> &OnKeyDown;
        const std::function<void(QChar &key)> &OnKeyPress;
    };
    using TKeyHandler = std::function<void(QKeyEvent &event)>;

    // The control's event(): true when the event was handled here. With takesTab, Tab reaches
    // keyPress, the control's own key-press handler, instead of moving the focus.
    bool Event(QEvent &event, bool takesTab, const TKeyHandler &keyPress) const;
    // The control's keyPressEvent(); inherited is the base class's.
    void KeyPress(QWidget &control, QKeyEvent &event, const TRules &rules, const THooks &hooks,
                  const TKeyHandler &inherited);
    // A key release; true when it asks for the next offered layout.
    bool KeyRelease(const QKeyEvent &event, int codePage);
    // Forgets held modifiers and a pending accent.
    void Reset() { Typing.Reset(); }

private:
    TKbTyping Typing;
};
