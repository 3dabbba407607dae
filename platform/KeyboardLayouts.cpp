#include "platform/KeyboardLayouts.h"

#include "platform/KbKeymap.h"
#include "platform/Registry.h"
#include "platform/X11KeyboardNames.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <algorithm>
#include <charconv>
#include <map>
#include <mutex>
#include <optional>
#include <utility>

namespace {

constexpr const char *PreloadKey = "Keyboard Layout\\Preload";
// The rules lists and the keyboard file are a few hundred kilobytes at most.
constexpr qint64 MaxListSize = 8 * 1024 * 1024;

std::optional<QByteArray> ReadSmallFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxListSize)
        return std::nullopt;
    return file.read(MaxListSize);
}

bool Compiles(const KbLayout &layout)
{
    return KbKeymap::Of(layout) != nullptr;
}

// Pairs the comma-separated layouts with their variants, item by item; an item that names no
// layout or one that does not compile keeps its place as an empty layout, so that the places
// stay the XKB groups.
std::vector<KbLayout> GroupList(const QByteArray &layouts, const QByteArray &variants)
{
    const QList<QByteArray> names = layouts.split(',');
    const QList<QByteArray> kinds = variants.split(',');
    std::vector<KbLayout> result;
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QByteArray name = names[i].trimmed();
        const QByteArray variant = i < kinds.size() ? kinds[i].trimmed() : QByteArray();
        const KbLayout layout = KbLayout::FromName(
                variant.isEmpty() ? name.toStdString()
                                  : (name + "(" + variant + ")").toStdString());
        result.push_back(Compiles(layout) ? layout : KbLayout{});
    }
    return result;
}

std::vector<KbLayout> NamedOnes(std::vector<KbLayout> groups)
{
    std::erase_if(groups, [](const KbLayout &layout) { return layout.empty(); });
    return groups;
}

bool NamesOne(const std::vector<KbLayout> &groups)
{
    return std::any_of(groups.begin(), groups.end(),
                       [](const KbLayout &layout) { return !layout.empty(); });
}

// The shell-style assignment NAME=value of the keyboard file, without its quotes.
QByteArray ShellValue(const QByteArray &text, const QByteArray &name)
{
    for (const QByteArray &rawLine : text.split('\n')) {
        const QByteArray line = rawLine.trimmed();
        if (!line.startsWith(name + "="))
            continue;
        QByteArray value = line.mid(name.size() + 1).trimmed();
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'')) {
            const qsizetype close = value.indexOf(value.front(), 1);
            value = close > 0 ? value.mid(1, close - 1) : QByteArray();
        }
        return value;
    }
    return {};
}

std::vector<KbLayout> StoredLayouts()
{
    TRegistry registry;
    if (!registry.OpenKeyReadOnly(PreloadKey))
        return {};
    std::map<int, KbLayout> byNumber;
    for (const std::string &valueName : registry.GetValueNames()) {
        int number = 0;
        const auto [end, error]
                = std::from_chars(valueName.data(), valueName.data() + valueName.size(), number);
        if (error != std::errc() || end != valueName.data() + valueName.size() || number <= 0)
            continue;
        if (const auto text = registry.ReadString(valueName))
            byNumber[number] = KbLayout::FromName(*text);
    }
    std::vector<KbLayout> result;
    for (const auto &[number, layout] : byNumber) {
        if (!layout.empty())
            result.push_back(layout);
    }
    return result;
}

struct TState
{
    std::mutex lock;
    bool detected = false;
    std::vector<KbLayout> groups;
    std::vector<KbLayout> desktop;
    KbLayout startup;
    KbLayout desktopNow;
    KbLayout active;
    KbLayouts::TDesktopSwitchHandler switchHandler;
};

TState &State()
{
    static TState state;
    return state;
}

void DetectLocked(TState &state)
{
    if (state.detected)
        return;
    state.groups = KbLayouts::DetectDesktopGroups();
    state.desktop = NamedOnes(state.groups);
    state.startup = KbLayouts::StartupChoice(state.groups, ReadX11KeyboardGroup());
    state.desktopNow = state.startup;
    state.active = state.startup;
    state.detected = true;
}

void AppendNew(std::vector<KbLayout> &list, const KbLayout &layout)
{
    if (std::find(list.begin(), list.end(), layout) == list.end())
        list.push_back(layout);
}

} // namespace

namespace KbLayouts {

std::vector<TCatalogueEntry> Catalogue(const QString &rulesList)
{
    const auto text = ReadSmallFile(rulesList);
    if (!text)
        return {};
    std::vector<TCatalogueEntry> result;
    QByteArray section;
    for (const QByteArray &line : text->split('\n')) {
        if (line.startsWith('!')) {
            section = line.mid(1).trimmed();
            continue;
        }
        const QByteArray entry = line.simplified();
        const qsizetype gap = entry.indexOf(' ');
        if (gap <= 0)
            continue;
        const std::string name = entry.left(gap).toStdString();
        QByteArray description = entry.mid(gap).trimmed();
        if (section == "layout") {
            const KbLayout layout = KbLayout::FromName(name);
            if (!layout.empty())
                result.push_back({layout, description.toStdString()});
        } else if (section == "variant") {
            // "nodeadkeys      de: German (no dead keys)"
            const qsizetype colon = description.indexOf(':');
            if (colon <= 0)
                continue;
            const KbLayout layout
                    = KbLayout::FromName(description.left(colon).toStdString() + "(" + name + ")");
            if (!layout.empty())
                result.push_back({layout, description.mid(colon + 1).trimmed().toStdString()});
        }
    }
    return result;
}

std::vector<KbLayout> DetectDesktopGroups(const QString &keyboardFile)
{
    std::vector<KbLayout> groups
            = GroupList(qgetenv("XKB_DEFAULT_LAYOUT"), qgetenv("XKB_DEFAULT_VARIANT"));
    if (!NamesOne(groups)) {
        if (const auto names = ReadX11KeyboardNames())
            groups = GroupList(names->layouts, names->variants);
    }
    if (!NamesOne(groups)) {
        if (const auto text = ReadSmallFile(keyboardFile))
            groups = GroupList(ShellValue(*text, "XKBLAYOUT"), ShellValue(*text, "XKBVARIANT"));
    }
    if (!NamesOne(groups))
        groups = {KbLayout{"us", {}}};
    return groups;
}

std::vector<KbLayout> DetectDesktopLayouts(const QString &keyboardFile)
{
    return NamedOnes(DetectDesktopGroups(keyboardFile));
}

KbLayout GroupLayout(const std::vector<KbLayout> &groups, uint32_t group)
{
    return group < groups.size() ? groups[group] : KbLayout{};
}

KbLayout StartupChoice(const std::vector<KbLayout> &groups, std::optional<uint32_t> activeGroup)
{
    if (const KbLayout active = activeGroup ? GroupLayout(groups, *activeGroup) : KbLayout{};
        !active.empty())
        return active;
    const std::vector<KbLayout> named = NamedOnes(groups);
    return named.empty() ? KbLayout{} : named.front();
}

void DetectStartupLayout()
{
    TState &state = State();
    std::lock_guard guard(state.lock);
    DetectLocked(state);
}

KbLayout StartupLayout()
{
    TState &state = State();
    std::lock_guard guard(state.lock);
    DetectLocked(state);
    return state.startup;
}

KbLayout DesktopLayout()
{
    TState &state = State();
    std::lock_guard guard(state.lock);
    DetectLocked(state);
    return state.desktopNow;
}

void DesktopGroupSwitched(uint32_t group)
{
    TState &state = State();
    KbLayout layout;
    TDesktopSwitchHandler handler;
    {
        std::lock_guard guard(state.lock);
        DetectLocked(state);
        layout = GroupLayout(state.groups, group);
        if (layout.empty())
            return;
        state.desktopNow = layout;
        handler = state.switchHandler;
    }
    // Unlocked: the handler activates layouts itself.
    if (handler)
        handler(layout);
}

TDesktopSwitchHandler SetDesktopSwitchHandler(TDesktopSwitchHandler handler)
{
    const bool watch = static_cast<bool>(handler);
    TDesktopSwitchHandler previous;
    {
        TState &state = State();
        std::lock_guard guard(state.lock);
        previous = std::exchange(state.switchHandler, std::move(handler));
    }
    if (watch)
        WatchX11KeyboardGroup(DesktopGroupSwitched);
    return previous;
}

std::vector<KbLayout> OfferedLayouts()
{
    std::vector<KbLayout> offered;
    {
        TState &state = State();
        std::lock_guard guard(state.lock);
        DetectLocked(state);
        offered = state.desktop;
    }
    for (const KbLayout &layout : StoredLayouts()) {
        if (Compiles(layout))
            AppendNew(offered, layout);
    }
    return offered;
}

bool AddOfferedLayout(const KbLayout &layout)
{
    if (!Compiles(layout))
        return false;
    const std::vector<KbLayout> offered = OfferedLayouts();
    if (std::find(offered.begin(), offered.end(), layout) != offered.end())
        return false;
    TRegistry registry;
    if (!registry.OpenKey(PreloadKey, true))
        return false;
    int number = 1;
    while (registry.ValueExists(std::to_string(number)))
        ++number;
    return registry.WriteString(std::to_string(number), layout.name());
}

KbLayout GetKeyboardLayout()
{
    TState &state = State();
    std::lock_guard guard(state.lock);
    DetectLocked(state);
    return state.active;
}

bool ActivateKeyboardLayout(const KbLayout &layout)
{
    if (!Compiles(layout))
        return false;
    TState &state = State();
    std::lock_guard guard(state.lock);
    DetectLocked(state);
    state.active = layout;
    return true;
}

std::string LayoutText(const KbLayout &layout)
{
    const auto keymap = KbKeymap::Of(layout);
    return keymap ? keymap->LayoutText() : std::string();
}

} // namespace KbLayouts
