#include "platform/KbLayout.h"

#include <algorithm>

namespace {

// XKB names are short identifiers; anything else cannot name a symbols file.
bool IsXkbName(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
                || c == '_' || c == '-';
    });
}

} // namespace

std::string KbLayout::name() const
{
    if (variant.empty())
        return layout;
    return layout + "(" + variant + ")";
}

KbLayout KbLayout::FromName(std::string_view name)
{
    const size_t open = name.find('(');
    if (open == std::string_view::npos)
        return IsXkbName(name) ? KbLayout{std::string(name), {}} : KbLayout{};
    if (name.back() != ')')
        return {};
    const std::string_view layout = name.substr(0, open);
    const std::string_view variant = name.substr(open + 1, name.size() - open - 2);
    if (!IsXkbName(layout) || !IsXkbName(variant))
        return {};
    return {std::string(layout), std::string(variant)};
}
