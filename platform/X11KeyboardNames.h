#pragma once

#include <QByteArray>
#include <cstdint>
#include <functional>
#include <optional>

// What the X server says about the desktop's keyboard. Each answers nothing when the program
// does not run on an X server or the server lacks what is asked for.

// The layouts and variants the X server was started with (the root window's _XKB_RULES_NAMES),
// as comma lists.
struct TX11KeyboardNames
{
    QByteArray layouts;
    QByteArray variants;
};

std::optional<TX11KeyboardNames> ReadX11KeyboardNames();

// The XKB group the core keyboard types with now: the place of its layout in those lists.
std::optional<uint32_t> ReadX11KeyboardGroup();

// From now on calls changed with the new group whenever the desktop switches the core keyboard
// to another group. False when the X server cannot tell; a second call only replaces changed.
bool WatchX11KeyboardGroup(std::function<void(uint32_t group)> changed);
