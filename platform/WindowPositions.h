#pragma once

// Whether the desktop tells a program where its windows stand. A Wayland compositor places the
// windows itself: it neither reports their positions nor takes positions from the program.
using TPositionsQuery = bool (*)();

bool WindowPositionsReported();
// Replaces the query (nullptr restores the desktop's answer); returns the previous one.
TPositionsQuery SetPositionsQuery(TPositionsQuery query);
