#pragma once

#include "platform/KbLayout.h"

#include <QString>
#include <string>
#include <vector>

// The program's keyboard layouts. The desktop's layout is never changed: activating a layout
// only tells the program's keyboard-aware editors which layout to type with.
namespace KbLayouts {

struct TCatalogueEntry
{
    KbLayout layout;
    std::string description;
};

// Every layout and variant the system's rules list names, in the list's order.
std::vector<TCatalogueEntry> Catalogue(const QString &rulesList
                                       = "/usr/share/X11/xkb/rules/evdev.lst");

// The desktop's layouts, from the first source that names one that compiles: XKB_DEFAULT_LAYOUT
// with XKB_DEFAULT_VARIANT, then the X server's start-up layouts when the program runs on one,
// then the keyboard configuration file, then "us". The first is the desktop's start-up layout.
std::vector<KbLayout> DetectDesktopLayouts(const QString &keyboardFile = "/etc/default/keyboard");

// Detects the desktop's layouts once; later calls change nothing. StartupLayout() and
// OfferedLayouts() detect on first use when nothing called this.
void DetectStartupLayout();
KbLayout StartupLayout();

// The desktop's layouts and then those the user added, each once.
std::vector<KbLayout> OfferedLayouts();
// Adds a layout to the user's list in the store; false when it does not compile or is already
// offered.
bool AddOfferedLayout(const KbLayout &layout);

// The program-wide active layout; the start-up layout until something activates another.
KbLayout GetKeyboardLayout();
// False, and nothing changes, when the layout does not compile.
bool ActivateKeyboardLayout(const KbLayout &layout);

// The display name of a layout; empty when it does not compile.
std::string LayoutText(const KbLayout &layout);

} // namespace KbLayouts
