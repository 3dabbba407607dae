#pragma once

// The application cursor is one setting: busy or normal. Setting it busy twice and back once
// gives the normal cursor again, unlike the toolkit's stack of override cursors.
void SetBusyCursor(bool busy);
bool BusyCursorShown();
