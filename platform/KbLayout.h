#pragma once

#include <string>
#include <string_view>

// A keyboard layout: an XKB layout with an optional variant. An empty layout means none.
struct KbLayout
{
    std::string layout;
    std::string variant;

    bool empty() const { return layout.empty(); }
    // "de" or "de(nodeadkeys)".
    std::string name() const;
    // The inverse of name(); text that is not of that form gives no layout.
    static KbLayout FromName(std::string_view name);

    friend bool operator==(const KbLayout &, const KbLayout &) = default;
};
