#pragma once

#include "platform/KbLayout.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

class QKeyEvent;
class QMenu;
class QWidget;

// What the key presses of one keyboard-aware control type while the program's active layout is
// not the one the desktop types with now: the control translates them through the active layout
// itself. On the desktop's layout everything passes through, so the desktop's input methods keep
// working.
class TKbTyping
{
public:
    enum class TKind {
        // Deliver the event as it came.
        PassThrough,
        // An accent key: it waits for the next key and types nothing yet.
        Composing,
        // Deliver the event with Text instead of its own.
        Translated,
    };
    struct TResult
    {
        TKind Kind = TKind::PassThrough;
        QString Text;
    };

    // Whether key events carry XKB key codes (scan code + 8) as their native scan codes. They do on
    // X11 and Wayland; tests switch it on for the offscreen platform.
    static bool ScanCodesAreXkb();
    static void SetScanCodesAreXkb(bool on);
    // True when key presses are translated now, for controls that ask before an event comes.
    static bool Translating();

    // Forgets held modifiers and a pending accent: on entering the control and on a layout change.
    void Reset();
    // Feeds a key press or release; an accent typed on its own takes the form that codePage
    // holds.
    TResult Translate(const QKeyEvent &event, int codePage);
    // Whether a press (or its shortcut query) would type through the active layout.
    bool TypesText(const QKeyEvent &event) const;

    // Alt and Shift pressed together and released with no other key between them ask for the
    // next offered layout; true on the release that ends such a press.
    bool CycleRequested(const QKeyEvent &event);

private:
    struct TKey
    {
        uint32_t Keysym = 0;
        char32_t Char = 0;
        bool Dead = false;
    };
    // The key as the active layout types it; nothing when the event passes through.
    std::optional<TKey> Lookup(const QKeyEvent &event) const;

    bool ShiftHeld = false;
    bool LevelThreeHeld = false;
    bool CapsLock = false;
    uint32_t PendingDead = 0;
    bool CycleArmed = false;
};

// The offered layout after the given one, the first when it is not offered.
KbLayout NextOfferedLayout(const KbLayout &layout);

// Shows the layout chooser (every layout of the catalogue); nothing when cancelled. Tests put a
// script in; nullptr restores the desktop's chooser.
using TKbLayoutChooser = std::function<std::optional<KbLayout>(QWidget *parent)>;
TKbLayoutChooser SetKbLayoutChooser(TKbLayoutChooser chooser);

// Adds the keyboard-layout submenu to a control's context menu: the offered layouts with the
// current one checked, and an item that adds a layout from the catalogue. request is called with
// the chosen layout.
void AddKbLayoutMenu(QMenu &menu, QWidget *control, const KbLayout &current,
                     const std::function<void(const KbLayout &)> &request);

// Puts into copy the event as it would come if it typed text instead of its own text.
void RetypeKeyEvent(std::optional<QKeyEvent> &copy, const QKeyEvent &event, const QString &text);

// The character a key press types, as key hooks see it: Tab is 9, Enter 13, Up and Down none.
QChar TypedChar(const QKeyEvent &event);

// False, with a beep, when some character of text has no encoding in the code page.
bool AcceptTyped(const QString &text, int codePage);
