#pragma once

#include <functional>

class QWidget;

// Told about each window right after it is created, before the next one is.
using TFormCreated = std::function<void(QWidget *form)>;

// Names the application. Only the main window's close ends the program, so closing the last
// visible dialog (the splash window during start-up, say) never does.
void InitApplication();

// Creates the twenty windows once each, in their fixed order, and sets their globals. The first is
// the main window; none is shown.
void CreateForms(const TFormCreated &created = {});

// Shows the main window and runs the message loop until the main window closes.
int RunMessageLoop();

// Destroys the windows, the last created first, and clears their globals.
void DestroyForms();
