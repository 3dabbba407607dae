#include "widgets/HelpDispatcher.h"

#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QWhatsThis>
#include <QWidget>
#include <memory>

namespace {

constexpr uint32_t CoordinateMask = 0xFFFF;
constexpr int CoordinateBits = 16;

} // namespace

void SetHelpContext(QObject *object, int context)
{
    object->setProperty(HelpContextProperty, context);
}

int HelpContextOf(const QObject *object)
{
    for (; object; object = object->parent())
        if (const int context = object->property(HelpContextProperty).toInt())
            return context;
    return 0;
}

uint32_t PackPopupPos(QPoint point)
{
    return (static_cast<uint32_t>(point.x()) & CoordinateMask)
            | ((static_cast<uint32_t>(point.y()) & CoordinateMask) << CoordinateBits);
}

QPoint UnpackPopupPos(uint32_t data)
{
    return {static_cast<int16_t>(data & CoordinateMask),
            static_cast<int16_t>(data >> CoordinateBits)};
}

THelpDispatcher::THelpDispatcher()
{
    qApp->installEventFilter(this);
}

THelpDispatcher::~THelpDispatcher()
{
    if (qApp)
        qApp->removeEventFilter(this);
}

THelpHandler THelpDispatcher::SetHandler(THelpHandler newHandler)
{
    return std::exchange(handler, std::move(newHandler));
}

bool THelpDispatcher::HelpContext(int context)
{
    return HelpCommand(HELP_CONTEXT, static_cast<uint32_t>(context));
}

bool THelpDispatcher::HelpCommand(uint32_t command, uint32_t data)
{
    if (!handler)
        return false;
    bool callHelp = true;
    return handler(command, data, callHelp);
}

// An open menu holds the keyboard: its highlighted item's context counts, else the menu's own.
bool THelpDispatcher::HelpKey()
{
    int context = 0;
    if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
        if (QAction *action = menu->activeAction())
            context = action->property(HelpContextProperty).toInt();
        if (!context)
            context = HelpContextOf(menu);
    } else if (QWidget *focus = QApplication::focusWidget()) {
        context = HelpContextOf(focus);
    } else if (QWidget *window = QApplication::activeWindow()) {
        context = HelpContextOf(window);
    }
    if (!context)
        return false;
    HelpContext(context);
    return true;
}

bool THelpDispatcher::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_F1 || !watched->isWidgetType() || !handler)
            break;
        if (key->modifiers() == Qt::NoModifier)
            return HelpKey();
        // Context-help mode: the next click on a control asks for its pop-up.
        if (key->modifiers() == Qt::ShiftModifier && !QWhatsThis::inWhatsThisMode()) {
            QWhatsThis::enterWhatsThisMode();
            return true;
        }
        break;
    }
    case QEvent::WhatsThis: {
        const int context = HelpContextOf(watched);
        if (!context || !handler)
            break;
        const auto *help = static_cast<QHelpEvent *>(event);
        HelpCommand(HELP_SETPOPUP_POS, PackPopupPos(help->globalPos()));
        HelpCommand(HELP_CONTEXTPOPUP, static_cast<uint32_t>(context));
        event->accept();
        return true;
    }
    case QEvent::QueryWhatsThis:
        if (HelpContextOf(watched) && handler) {
            event->accept();
            return true;
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

THelpDispatcher &HelpDispatcher()
{
    static const std::unique_ptr<THelpDispatcher> dispatcher = std::make_unique<THelpDispatcher>();
    return *dispatcher;
}
