#pragma once

#include <QObject>
#include <QPoint>
#include <cstdint>
#include <functional>

// The toolkit's help routing: every help request (the help-topics command, F1, a dialog's
// context-help mode) becomes a command for one replaceable application-wide handler.
enum THelpCommand : uint32_t {
    HELP_CONTEXT = 1,
    HELP_CONTEXTPOPUP = 8,
    HELP_SETPOPUP_POS = 13,
};

// The property that carries a widget's, a window's or a command's help context.
inline constexpr const char *HelpContextProperty = "HelpContext";
void SetHelpContext(QObject *object, int context);
// The nearest non-zero help context from object up its parents; 0 when none has one.
int HelpContextOf(const QObject *object);

// A point as HELP_SETPOPUP_POS carries it: x in the low, y in the high 16 bits, each signed.
uint32_t PackPopupPos(QPoint point);
QPoint UnpackPopupPos(uint32_t data);

// Arguments: the command, its data and the flag that hands the request on to the classic help
// route; the result tells whether the request was dealt with.
using THelpHandler = std::function<bool(uint32_t command, uint32_t data, bool &callHelp)>;

class THelpDispatcher : public QObject
{
    Q_OBJECT

public:
    // Installs the event filter that turns F1 and context-help clicks into help requests.
    THelpDispatcher();
    ~THelpDispatcher() override;

    // Gives back the handler installed before.
    THelpHandler SetHandler(THelpHandler handler);
    const THelpHandler &Handler() const { return handler; }

    bool HelpContext(int context);
    // False without a handler. A request the handler hands on goes nowhere: there is no classic
    // help route on this platform.
    bool HelpCommand(uint32_t command, uint32_t data);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool HelpKey();

    THelpHandler handler;
};

// The program's one dispatcher, made on first use (a QApplication must exist).
THelpDispatcher &HelpDispatcher();
