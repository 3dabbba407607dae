#pragma once

#include "platform/KbLayout.h"

#include <cstdint>
#include <memory>
#include <string>

struct xkb_keymap;

// One compiled keyboard layout and what its keys type. Keys are named by their scan code (the XKB
// key code is the scan code + 8); shift states are 0 none, 1 Shift, 2 AltGr, 3 Shift+AltGr.
// Nothing is locked, so Caps Lock is always off. Keysyms are XKB keysyms, 0 meaning none.
class KbKeymap
{
public:
    // The layout's keymap, compiled once and shared; nullptr when it does not compile.
    static std::shared_ptr<const KbKeymap> Of(const KbLayout &layout);
    // Keymaps and compose tables from the system's files only: no user files and no environment.
    // Drops every keymap compiled before.
    static void UseSystemFilesOnly();

    ~KbKeymap();
    KbKeymap(const KbKeymap &) = delete;
    KbKeymap &operator=(const KbKeymap &) = delete;

    const KbLayout &Layout() const { return layout; }
    // The layout's display name, e.g. "German (no dead keys)".
    std::string LayoutText() const;

    // What the key gives in the shift state. AltGr states count only when the key uses AltGr;
    // otherwise they give nothing.
    uint32_t KeySym(int scanCode, int shift) const;
    // The character of KeySym, 0 when it has none (control characters included).
    char32_t KeyChar(int scanCode, int shift) const;

    // True when the keysym starts a composition (an accent key).
    static bool IsDead(uint32_t keysym);
    // The spacing character a dead key stands for on its own (the acute accent gives U+00B4);
    // 0 when the keysym is not dead or has none.
    static char32_t DeadChar(uint32_t keysym);
    // The dead key's spacing character as the code page holds it: the first of the accent's forms
    // that the code page has (the Greek tonos for the acute in 1253, the degree sign for the ring
    // in 1250), else the usual form.
    static char32_t DeadChar(uint32_t keysym, int codePage);
    // The one character that the dead key followed by the keysym composes; 0 when they compose
    // nothing, more than one character, or wait for a further key.
    static char32_t Composed(uint32_t deadKeysym, uint32_t keysym);

    // The character as one byte of the code page; 0 when it has no single-byte form there.
    static unsigned char InCodePage(char32_t character, int codePage);

private:
    KbKeymap(KbLayout layout, xkb_keymap *keymap);
    uint32_t LevelThreeKey() const;

    KbLayout layout;
    xkb_keymap *keymap;
    uint32_t levelThreeKey;
};
