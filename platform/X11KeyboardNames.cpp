#include "platform/X11KeyboardNames.h"

#include <QAbstractNativeEventFilter>
#include <QGuiApplication>
#include <QList>
#include <QPointer>
#include <QtGui/qguiapplication_platform.h>
#include <cstdlib>
#include <memory>
#include <utility>
#include <xcb/xcb.h>
// The XKB header names a structure member "explicit", a C++ keyword; it is renamed for this one
// header, after everything else is included. Clang warns on any macro named like a keyword.
#ifdef __clang__
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wkeyword-macro"
#endif
#define explicit xkb_explicit
#include <xcb/xkb.h>
#undef explicit
#ifdef __clang__
#pragma clang diagnostic pop
#endif

namespace {

template<class T> using TReply = std::unique_ptr<T, decltype(&std::free)>;

// The property holds rules, model, layouts, variants and options, each ended by a NUL.
constexpr qsizetype LayoutsIndex = 2;
constexpr qsizetype VariantsIndex = 3;
constexpr uint32_t MaxPropertyWords = 1024;
// The top bit of an event's type marks one sent by another client.
constexpr uint8_t SentEventBit = 0x80;

// The program's connection to the X server; nullptr on any other platform.
xcb_connection_t *X11Connection()
{
    auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    if (!app || QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto *x11 = app->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

// The XKB extension's first event number, once the extension is usable on the connection.
std::optional<uint8_t> XkbFirstEvent(xcb_connection_t *connection)
{
    const xcb_query_extension_reply_t *extension = xcb_get_extension_data(connection, &xcb_xkb_id);
    if (!extension || !extension->present)
        return std::nullopt;
    const TReply<xcb_xkb_use_extension_reply_t> use(
            xcb_xkb_use_extension_reply(
                    connection,
                    xcb_xkb_use_extension(connection, XCB_XKB_MAJOR_VERSION, XCB_XKB_MINOR_VERSION),
                    nullptr),
            &std::free);
    if (!use || !use->supported)
        return std::nullopt;
    return extension->first_event;
}

std::optional<xcb_xkb_get_state_reply_t> CoreKeyboardState(xcb_connection_t *connection)
{
    const TReply<xcb_xkb_get_state_reply_t> state(
            xcb_xkb_get_state_reply(
                    connection, xcb_xkb_get_state(connection, XCB_XKB_ID_USE_CORE_KBD), nullptr),
            &std::free);
    if (!state)
        return std::nullopt;
    return *state;
}

// Sees the XKB state changes of the core keyboard among the program's X events and passes on
// those that switch the group. Qt needs the events as well, so none is filtered out. It lives as
// long as the application, which owns it.
class TGroupFilter
    : public QObject
    , public QAbstractNativeEventFilter
{
public:
    TGroupFilter(uint8_t firstEvent, uint8_t deviceId, QObject *application)
        : QObject(application)
        , firstEvent(firstEvent)
        , deviceId(deviceId)
    { }

    std::function<void(uint32_t)> Changed;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) override
    {
        if (eventType != "xcb_generic_event_t")
            return false;
        const auto *event = static_cast<const xcb_generic_event_t *>(message);
        if ((event->response_type & ~SentEventBit) != firstEvent)
            return false;
        const auto *state = reinterpret_cast<const xcb_xkb_state_notify_event_t *>(event);
        if (state->xkbType == XCB_XKB_STATE_NOTIFY && state->deviceID == deviceId
            && (state->changed & XCB_XKB_STATE_PART_GROUP_STATE) && Changed)
            Changed(state->group);
        return false;
    }

private:
    uint8_t firstEvent;
    uint8_t deviceId;
};

} // namespace

std::optional<uint32_t> ReadX11KeyboardGroup()
{
    xcb_connection_t *connection = X11Connection();
    if (!connection || !XkbFirstEvent(connection))
        return std::nullopt;
    const auto state = CoreKeyboardState(connection);
    if (!state)
        return std::nullopt;
    return state->group;
}

bool WatchX11KeyboardGroup(std::function<void(uint32_t group)> changed)
{
    static QPointer<TGroupFilter> filter;
    if (filter) {
        filter->Changed = std::move(changed);
        return true;
    }
    xcb_connection_t *connection = X11Connection();
    const std::optional<uint8_t> firstEvent = connection ? XkbFirstEvent(connection) : std::nullopt;
    const auto state = firstEvent ? CoreKeyboardState(connection) : std::nullopt;
    if (!state)
        return false;
    // Adds the state changes to what the connection hears; Qt asks for them too, and the other
    // kinds of XKB events keep their selection.
    xcb_xkb_select_events(connection, XCB_XKB_ID_USE_CORE_KBD, XCB_XKB_EVENT_TYPE_STATE_NOTIFY, 0,
                          XCB_XKB_EVENT_TYPE_STATE_NOTIFY, 0, 0, nullptr);
    xcb_flush(connection);
    filter = new TGroupFilter(*firstEvent, state->deviceID, QCoreApplication::instance());
    filter->Changed = std::move(changed);
    QCoreApplication::instance()->installNativeEventFilter(filter);
    return true;
}

std::optional<TX11KeyboardNames> ReadX11KeyboardNames()
{
    xcb_connection_t *connection = X11Connection();
    if (!connection)
        return std::nullopt;
    static const char atomName[] = "_XKB_RULES_NAMES";
    const TReply<xcb_intern_atom_reply_t> atom(
            xcb_intern_atom_reply(connection,
                                  xcb_intern_atom(connection, 1, sizeof atomName - 1, atomName),
                                  nullptr),
            &std::free);
    if (!atom || atom->atom == XCB_ATOM_NONE)
        return std::nullopt;
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (!screen)
        return std::nullopt;
    const TReply<xcb_get_property_reply_t> property(
            xcb_get_property_reply(connection,
                                   xcb_get_property(connection, 0, screen->root, atom->atom,
                                                    XCB_ATOM_STRING, 0, MaxPropertyWords),
                                   nullptr),
            &std::free);
    if (!property || property->format != 8)
        return std::nullopt;
    const int length = xcb_get_property_value_length(property.get());
    if (length <= 0)
        return std::nullopt;
    const QByteArray value(static_cast<const char *>(xcb_get_property_value(property.get())),
                           length);
    const QList<QByteArray> names = value.split('\0');
    if (names.size() <= VariantsIndex)
        return std::nullopt;
    return TX11KeyboardNames{names[LayoutsIndex], names[VariantsIndex]};
}
