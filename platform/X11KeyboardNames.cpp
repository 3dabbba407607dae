#include "platform/X11KeyboardNames.h"

#include <QGuiApplication>
#include <QList>
#include <QtGui/qguiapplication_platform.h>
#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>

namespace {

template<class T> using TReply = std::unique_ptr<T, decltype(&std::free)>;

// The property holds rules, model, layouts, variants and options, each ended by a NUL.
constexpr qsizetype LayoutsIndex = 2;
constexpr qsizetype VariantsIndex = 3;
constexpr uint32_t MaxPropertyWords = 1024;

} // namespace

std::optional<TX11KeyboardNames> ReadX11KeyboardNames()
{
    auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    if (!app || QGuiApplication::platformName() != QLatin1String("xcb"))
        return std::nullopt;
    auto *x11 = app->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
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
