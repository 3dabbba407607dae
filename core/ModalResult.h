#pragma once

// What a modal dialog ends with. Closing it any other way than by its buttons counts as cancel;
// a dialog that has a third answer names it beside these.
enum TModalResult : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
};
