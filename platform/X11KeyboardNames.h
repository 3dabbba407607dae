#pragma once

#include <QByteArray>
#include <optional>

// The layouts and variants the X server was started with (the root window's _XKB_RULES_NAMES),
// as comma lists. Nothing when the program does not run on an X server or the server has none.
struct TX11KeyboardNames
{
    QByteArray layouts;
    QByteArray variants;
};

std::optional<TX11KeyboardNames> ReadX11KeyboardNames();
