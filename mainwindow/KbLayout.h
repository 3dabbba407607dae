#pragma once

#include <cstdint>

class QWidget;

// A keyboard layout as the layout-change message carries it; 0 is the desktop's own layout.
using TKbLayoutHandle = intptr_t;

// Gives an editor its layout. Where the desktop lets no program switch layouts (Wayland,
// offscreen) the editor only remembers it.
void SetKbLayout(QWidget &edit, TKbLayoutHandle layout);
TKbLayoutHandle KbLayoutOf(const QWidget &edit);
