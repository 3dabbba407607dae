#pragma once

#include "helpviewer/HelpViewerWindow.h"

#include <QPoint>
#include <cstdint>
#include <string>

class QWidget;

// The program's help viewer entry: one function for every help request, over the CHM reader of
// platform/HelpViewerLibrary.
enum THtmlHelpCommand : uint32_t {
    HH_DISPLAY_TEXT_POPUP = 14,
    HH_HELP_CONTEXT = 15,
};

struct THtmlHelpData
{
    // HH_HELP_CONTEXT: the topic's context; HH_DISPLAY_TEXT_POPUP: the pop-up text's number.
    uint32_t Context = 0;
    // HH_DISPLAY_TEXT_POPUP: where the pop-up shows, in screen coordinates.
    QPoint Position;
};

// file is "<help file>" or "<help file>::<path inside>". HH_HELP_CONTEXT opens (or reuses) the
// help window and gives it back; nullptr when the file cannot be read. A pop-up shows the text
// of that number from the inner text file; an unknown number shows nothing.
QWidget *HtmlHelpEntry(QWidget *owner, const std::string &file, THtmlHelpCommand command,
                       const THtmlHelpData &data);

// The help window, when one has been opened; for tests and for the end of the program.
THelpViewerWindow *HelpViewerWindow();
// Destroys the help window and closes its file; runs before the reader library is released.
void CloseHelpViewer();
// Shows a pop-up text; tests put in a recorder.
using TPopupPresenter = std::function<void(QPoint position, const QString &text)>;
void SetPopupPresenter(TPopupPresenter presenter);
