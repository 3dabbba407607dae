#pragma once

#include "platform/KbLayout.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
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

// The desktop's layouts in the order of its XKB groups, from the first source that names one that
// compiles: XKB_DEFAULT_LAYOUT with XKB_DEFAULT_VARIANT, then the X server's start-up layouts when
// the program runs on one, then the keyboard configuration file, then "us". An item that does not
// compile keeps its group's place as an empty layout.
std::vector<KbLayout> DetectDesktopGroups(const QString &keyboardFile = "/etc/default/keyboard");
// The layouts of DetectDesktopGroups() that compile.
std::vector<KbLayout> DetectDesktopLayouts(const QString &keyboardFile = "/etc/default/keyboard");

// The layout in an XKB group's place among the groups; empty when the group has none.
KbLayout GroupLayout(const std::vector<KbLayout> &groups, uint32_t group);
// The desktop's start-up layout: that of the active group, else the first of the groups that
// names one.
KbLayout StartupChoice(const std::vector<KbLayout> &groups, std::optional<uint32_t> activeGroup);

// Detects the desktop's layouts and its active group once; later calls change nothing.
// StartupLayout() and OfferedLayouts() detect on first use when nothing called this.
void DetectStartupLayout();
KbLayout StartupLayout();

// The layout the desktop types with now: the start-up layout until the desktop reports a switch.
KbLayout DesktopLayout();
// The desktop switched to another group: that group's layout becomes the desktop's, and the
// switch handler hears of it. A group without a layout that compiles changes nothing. The X11
// watcher calls this for every switch.
void DesktopGroupSwitched(uint32_t group);
using TDesktopSwitchHandler = std::function<void(const KbLayout &layout)>;
// Gives the desktop's switches to handler from now on, and starts watching for them where the
// desktop reports them to applications (X11). Returns the previous handler.
TDesktopSwitchHandler SetDesktopSwitchHandler(TDesktopSwitchHandler handler);

// The desktop's layouts and then those the user added, each once.
std::vector<KbLayout> OfferedLayouts();
// Adds a layout to the user's list in the store; false when it does not compile or is already
// offered.
bool AddOfferedLayout(const KbLayout &layout);

// The program-wide active layout; the start-up layout until something activates another. The
// keyboard-aware editors translate their keys while it differs from the desktop's layout.
KbLayout GetKeyboardLayout();
// False, and nothing changes, when the layout does not compile.
bool ActivateKeyboardLayout(const KbLayout &layout);

// The display name of a layout; empty when it does not compile.
std::string LayoutText(const KbLayout &layout);

} // namespace KbLayouts
