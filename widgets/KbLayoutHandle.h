#pragma once

#include "platform/KbLayout.h"

#include <cstdint>

class QWidget;

// A keyboard layout as the layout-change message carries it; 0 is the desktop's own layout.
using TKbLayoutHandle = intptr_t;

// The handle of a layout, the same for equal layouts for the whole run.
TKbLayoutHandle KbLayoutHandle(const KbLayout &layout);
// The layout of a handle; 0 and unknown handles give the desktop's start-up layout.
KbLayout KbLayoutOfHandle(TKbLayoutHandle handle);

// Gives an editor its layout: a keyboard-aware edit takes and activates it at once; other
// controls only remember it.
void SetKbLayout(QWidget &edit, TKbLayoutHandle layout);
TKbLayoutHandle KbLayoutOf(const QWidget &edit);

// From now on a layout switch made with the desktop's own switcher goes to the focused
// keyboard-aware control as the user's request for that layout. The controls call it when they
// are created; later calls change nothing.
void FollowDesktopLayoutSwitches();
