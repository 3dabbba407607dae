#include "platform/KbKeymap.h"

#include "platform/CodePage.h"

#include <QList>
#include <QString>
#include <array>
#include <clocale>
#include <cstdio>
#include <map>
#include <mutex>
#include <utility>
#include <xkbcommon/xkbcommon-compose.h>
#include <xkbcommon/xkbcommon.h>

namespace {

constexpr const char *SystemXkbDir = "/usr/share/X11/xkb";
constexpr const char *SystemComposeFile = "/usr/share/X11/locale/en_US.UTF-8/Compose";
constexpr const char *FallbackLocale = "en_US.UTF-8";
constexpr xkb_keycode_t LeftShiftKey = 50;
constexpr xkb_keycode_t RightAltKey = 108;
constexpr xkb_keycode_t LevelThreeKeyCode = 92;
constexpr int KeycodeOffset = 8;

// The XKB context, the compose table and the compiled keymaps of the process.
class TXkb
{
public:
    static TXkb &Instance()
    {
        static TXkb xkb;
        return xkb;
    }

    ~TXkb() { Reset(false); }

    std::mutex lock;
    std::map<std::string, std::shared_ptr<const KbKeymap>> keymaps;

    xkb_context *Context() { return context; }

    xkb_compose_table *Compose()
    {
        if (!composeLoaded) {
            composeLoaded = true;
            compose = systemOnly ? ComposeFromSystemFile() : ComposeFromLocale();
        }
        return compose;
    }

    void Reset(bool newSystemOnly)
    {
        keymaps.clear();
        if (compose)
            xkb_compose_table_unref(compose);
        compose = nullptr;
        composeLoaded = false;
        if (context)
            xkb_context_unref(context);
        context = nullptr;
        systemOnly = newSystemOnly;
    }

    void Open()
    {
        if (context)
            return;
        if (systemOnly) {
            context = xkb_context_new(static_cast<xkb_context_flags>(
                    XKB_CONTEXT_NO_DEFAULT_INCLUDES | XKB_CONTEXT_NO_ENVIRONMENT_NAMES));
            if (context)
                xkb_context_include_path_append(context, SystemXkbDir);
        } else {
            context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
        }
        // An unknown layout is an answer, not an error worth printing.
        if (context)
            xkb_context_set_log_level(context, XKB_LOG_LEVEL_CRITICAL);
    }

private:
    TXkb() = default;

    xkb_compose_table *ComposeFromLocale()
    {
        if (!context)
            return nullptr;
        const char *locale = std::setlocale(LC_CTYPE, nullptr);
        xkb_compose_table *table = nullptr;
        if (locale)
            table = xkb_compose_table_new_from_locale(context, locale,
                                                      XKB_COMPOSE_COMPILE_NO_FLAGS);
        // The C locale has no compose table; the dead keys still have to work.
        if (!table)
            table = xkb_compose_table_new_from_locale(context, FallbackLocale,
                                                      XKB_COMPOSE_COMPILE_NO_FLAGS);
        return table;
    }

    xkb_compose_table *ComposeFromSystemFile()
    {
        if (!context)
            return nullptr;
        std::FILE *file = std::fopen(SystemComposeFile, "r");
        if (!file)
            return nullptr;
        xkb_compose_table *table = xkb_compose_table_new_from_file(context, file, FallbackLocale,
                                                                   XKB_COMPOSE_FORMAT_TEXT_V1,
                                                                   XKB_COMPOSE_COMPILE_NO_FLAGS);
        std::fclose(file);
        return table;
    }

    xkb_context *context = nullptr;
    xkb_compose_table *compose = nullptr;
    bool composeLoaded = false;
    bool systemOnly = false;
};

// A compose state fed with the keysyms, with its final status and text.
std::pair<xkb_compose_status, std::u32string> Compose(std::initializer_list<xkb_keysym_t> keysyms)
{
    TXkb &xkb = TXkb::Instance();
    std::lock_guard guard(xkb.lock);
    xkb.Open();
    xkb_compose_table *table = xkb.Compose();
    if (!table)
        return {XKB_COMPOSE_NOTHING, {}};
    xkb_compose_state *state = xkb_compose_state_new(table, XKB_COMPOSE_STATE_NO_FLAGS);
    if (!state)
        return {XKB_COMPOSE_NOTHING, {}};
    for (xkb_keysym_t keysym : keysyms)
        xkb_compose_state_feed(state, keysym);
    const xkb_compose_status status = xkb_compose_state_get_status(state);
    std::array<char, 64> utf8{};
    const int size = xkb_compose_state_get_utf8(state, utf8.data(), utf8.size());
    xkb_compose_state_unref(state);
    std::u32string text;
    if (size > 0 && static_cast<size_t>(size) < utf8.size()) {
        const QString decoded = QString::fromUtf8(utf8.data(), size);
        for (char32_t c : decoded.toUcs4())
            text += c;
    }
    return {status, text};
}

// Spacing forms of the accents, the usual one first. The compose tables map most accents plus
// space to an ASCII look-alike (the acute to "'"), which would make a key's composition with itself
// look like a plain character. Code pages that lack the usual form often hold another: the Greek
// tonos for the acute, the degree sign for the ring, the modifier letters of Windows-1252.
struct TAccentForms
{
    xkb_keysym_t Keysym;
    std::array<char32_t, 3> Forms;
};

constexpr std::array<TAccentForms, 14> AccentForms{{
        {XKB_KEY_dead_grave, {U'`', U'\u02CB'}},
        {XKB_KEY_dead_acute, {U'\u00B4', U'\u0384', U'\u02CA'}},
        {XKB_KEY_dead_circumflex, {U'^', U'\u02C6'}},
        {XKB_KEY_dead_tilde, {U'~', U'\u02DC'}},
        {XKB_KEY_dead_macron, {U'\u00AF', U'\u02C9'}},
        {XKB_KEY_dead_breve, {U'\u02D8'}},
        {XKB_KEY_dead_abovedot, {U'\u02D9'}},
        {XKB_KEY_dead_diaeresis, {U'\u00A8'}},
        {XKB_KEY_dead_abovering, {U'\u02DA', U'\u00B0'}},
        {XKB_KEY_dead_doubleacute, {U'\u02DD'}},
        {XKB_KEY_dead_caron, {U'\u02C7'}},
        {XKB_KEY_dead_cedilla, {U'\u00B8'}},
        {XKB_KEY_dead_ogonek, {U'\u02DB'}},
        {XKB_KEY_dead_iota, {U'\u037A'}},
}};

const TAccentForms *FormsOf(xkb_keysym_t keysym)
{
    for (const TAccentForms &accent : AccentForms) {
        if (accent.Keysym == keysym)
            return &accent;
    }
    return nullptr;
}

bool IsTextCharacter(char32_t c)
{
    return c >= 0x20 && c != 0x7F && !(c >= 0x80 && c < 0xA0);
}

} // namespace

std::shared_ptr<const KbKeymap> KbKeymap::Of(const KbLayout &layout)
{
    if (layout.empty())
        return nullptr;
    TXkb &xkb = TXkb::Instance();
    std::lock_guard guard(xkb.lock);
    const std::string key = layout.name();
    if (auto found = xkb.keymaps.find(key); found != xkb.keymaps.end())
        return found->second;
    xkb.Open();
    std::shared_ptr<const KbKeymap> result;
    if (xkb.Context()) {
        // Fixed rules, model and options, so a layout types the same on every desktop.
        const xkb_rule_names names{"evdev", "pc105", layout.layout.c_str(), layout.variant.c_str(),
                                   ""};
        if (xkb_keymap *keymap
            = xkb_keymap_new_from_names(xkb.Context(), &names, XKB_KEYMAP_COMPILE_NO_FLAGS))
            result.reset(new KbKeymap(layout, keymap));
    }
    xkb.keymaps.emplace(key, result);
    return result;
}

void KbKeymap::UseSystemFilesOnly()
{
    TXkb &xkb = TXkb::Instance();
    std::lock_guard guard(xkb.lock);
    xkb.Reset(true);
}

KbKeymap::KbKeymap(KbLayout layout, xkb_keymap *keymap)
    : layout(std::move(layout))
    , keymap(keymap)
    , levelThreeKey(LevelThreeKey())
{ }

KbKeymap::~KbKeymap()
{
    xkb_keymap_unref(keymap);
}

std::string KbKeymap::LayoutText() const
{
    const char *name = xkb_keymap_layout_get_name(keymap, 0);
    return name ? name : "";
}

uint32_t KbKeymap::LevelThreeKey() const
{
    auto isLevelThree = [this](xkb_keycode_t key) {
        const xkb_keysym_t *syms = nullptr;
        return xkb_keymap_key_get_syms_by_level(keymap, key, 0, 0, &syms) == 1
                && syms[0] == XKB_KEY_ISO_Level3_Shift;
    };
    if (isLevelThree(RightAltKey))
        return RightAltKey;
    if (isLevelThree(LevelThreeKeyCode))
        return LevelThreeKeyCode;
    for (xkb_keycode_t key = xkb_keymap_min_keycode(keymap); key <= xkb_keymap_max_keycode(keymap);
         ++key) {
        if (isLevelThree(key))
            return key;
    }
    return 0;
}

uint32_t KbKeymap::KeySym(int scanCode, int shift) const
{
    if (scanCode <= 0 || shift < 0 || shift > 3)
        return 0;
    const bool altGr = shift >= 2;
    if (altGr && levelThreeKey == 0)
        return 0;
    const xkb_keycode_t key = static_cast<xkb_keycode_t>(scanCode + KeycodeOffset);
    if (key < xkb_keymap_min_keycode(keymap) || key > xkb_keymap_max_keycode(keymap))
        return 0;
    xkb_state *state = xkb_state_new(keymap);
    if (!state)
        return 0;
    if (shift & 1)
        xkb_state_update_key(state, LeftShiftKey, XKB_KEY_DOWN);
    if (altGr)
        xkb_state_update_key(state, levelThreeKey, XKB_KEY_DOWN);
    xkb_keysym_t keysym = xkb_state_key_get_one_sym(state, key);
    // A key without an AltGr level ignores AltGr and would repeat its plain character.
    if (altGr) {
        const xkb_mod_index_t levelThree = xkb_keymap_mod_get_index(keymap, "Mod5");
        if (levelThree == XKB_MOD_INVALID
            || xkb_state_mod_index_is_consumed(state, key, levelThree) != 1)
            keysym = XKB_KEY_NoSymbol;
    }
    xkb_state_unref(state);
    return keysym;
}

char32_t KbKeymap::KeyChar(int scanCode, int shift) const
{
    const char32_t c = xkb_keysym_to_utf32(KeySym(scanCode, shift));
    return IsTextCharacter(c) ? c : 0;
}

bool KbKeymap::IsDead(uint32_t keysym)
{
    return keysym != XKB_KEY_NoSymbol && Compose({keysym}).first == XKB_COMPOSE_COMPOSING;
}

char32_t KbKeymap::DeadChar(uint32_t keysym)
{
    if (!IsDead(keysym))
        return 0;
    if (const TAccentForms *accent = FormsOf(keysym))
        return accent->Forms[0];
    const auto [status, text] = Compose({keysym, XKB_KEY_space});
    if (status != XKB_COMPOSE_COMPOSED || text.size() != 1 || !IsTextCharacter(text[0]))
        return 0;
    return text[0];
}

char32_t KbKeymap::DeadChar(uint32_t keysym, int codePage)
{
    const char32_t usual = DeadChar(keysym);
    if (usual == 0 || CodePage::CanEncode(usual, codePage))
        return usual;
    if (const TAccentForms *accent = FormsOf(keysym)) {
        for (const char32_t form : accent->Forms) {
            if (form != 0 && CodePage::CanEncode(form, codePage))
                return form;
        }
    }
    return usual;
}

char32_t KbKeymap::Composed(uint32_t deadKeysym, uint32_t keysym)
{
    if (deadKeysym == XKB_KEY_NoSymbol || keysym == XKB_KEY_NoSymbol)
        return 0;
    const auto [status, text] = Compose({deadKeysym, keysym});
    if (status != XKB_COMPOSE_COMPOSED || text.size() != 1 || !IsTextCharacter(text[0]))
        return 0;
    return text[0];
}

unsigned char KbKeymap::InCodePage(char32_t character, int codePage)
{
    if (!IsTextCharacter(character))
        return 0;
    std::string bytes;
    if (!CodePage::FromUnicode(QString::fromUcs4(&character, 1), codePage, bytes)
        || bytes.size() != 1)
        return 0;
    return static_cast<unsigned char>(bytes[0]);
}
