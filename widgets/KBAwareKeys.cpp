#include "widgets/KBAwareKeys.h"

#include <QKeyEvent>
#include <QWidget>
#include <optional>

bool TKBAwareKeys::Event(QEvent &event, bool takesTab, const TKeyHandler &keyPress) const
{
    if (event.type() == QEvent::KeyPress) {
        auto &key = static_cast<QKeyEvent &>(event);
        if (takesTab && (key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab)
            && !(key.modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            keyPress(key);
            return true;
        }
    } else if (event.type() == QEvent::ShortcutOverride) {
        // Typed characters must not start menu mnemonics when the desktop's AltGr is an Alt.
        if (Typing.TypesText(static_cast<QKeyEvent &>(event))) {
            event.accept();
            return true;
        }
    }
    return false;
}

void TKBAwareKeys::KeyPress(QWidget &control, QKeyEvent &event, const TRules &rules,
                            const THooks &hooks, const TKeyHandler &inherited)
{
    event.accept();
    Typing.CycleRequested(event);
    const TKbTyping::TResult typed = Typing.Translate(event, rules.CodePage);
    std::optional<QKeyEvent> translated;
    if (typed.Kind == TKbTyping::TKind::Translated)
        RetypeKeyEvent(translated, event, typed.Text);
    QKeyEvent &key = translated ? *translated : event;
    const bool wasVisible = control.isVisible();
    const bool hadFocus = control.hasFocus();
    // The hook may move to another cell: the control is then closed and types nothing.
    const auto closed = [&] {
        return (wasVisible && !control.isVisible()) || (hadFocus && !control.hasFocus());
    };
    const bool zeroed = hooks.OnKeyDown && hooks.OnKeyDown(key);
    if (closed() || typed.Kind == TKbTyping::TKind::Composing)
        return;
    QChar c = TypedChar(key);
    if (!c.isNull() && hooks.OnKeyPress) {
        const QChar before = c;
        hooks.OnKeyPress(c);
        if (c.isNull() || closed())
            return;
        if (c != before && !zeroed)
            RetypeKeyEvent(translated, key, QString(c));
    }
    if (zeroed || (rules.Swallows && rules.Swallows(key, c)))
        return;
    QKeyEvent &final = translated ? *translated : event;
    if (rules.ChecksTyped && !final.text().isEmpty() && !AcceptTyped(final.text(), rules.CodePage))
        return;
    final.setAccepted(false);
    inherited(final);
    event.setAccepted(final.isAccepted());
}

bool TKBAwareKeys::KeyRelease(const QKeyEvent &event, int codePage)
{
    Typing.Translate(event, codePage);
    return Typing.CycleRequested(event);
}
