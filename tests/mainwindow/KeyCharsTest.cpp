#include "kbtool/KeyChars.h"
#include "core/Unit_Constants.h"
#include "platform/CodePage.h"
#include "platform/KbKeymap.h"

#include <QList>
#include <QString>
#include <algorithm>
#include <array>
#include <cstdio>
#include <gtest/gtest.h>
#include <optional>
#include <ostream>
#include <string>
#include <xkbcommon/xkbcommon-compose.h>
#include <xkbcommon/xkbcommon.h>

namespace {

constexpr xkb_keycode_t KeycodeOffset = 8;
constexpr xkb_keycode_t LeftShift = 50;
constexpr xkb_keycode_t RightAlt = 108;
constexpr int Cp1250 = 1250;
constexpr int Cp1251 = 1251;
constexpr int Cp1253 = 1253;
constexpr int Cp1254 = 1254;
constexpr int Cp1257 = 1257;
constexpr int TopLetterRow = 13;
constexpr int GraveKey = 0;
constexpr int AcuteKey = 12;
constexpr int QKey = 13;
constexpr int EKey = 15;
constexpr int ShiftSixKey = 6;

// The layouts and compose table as xkbcommon answers for them directly, without the program's
// keymap layer.
class TXkbOracle
{
public:
    explicit TXkbOracle(const std::string &layout, const std::string &variant)
    {
        context = xkb_context_new(static_cast<xkb_context_flags>(
                XKB_CONTEXT_NO_DEFAULT_INCLUDES | XKB_CONTEXT_NO_ENVIRONMENT_NAMES));
        xkb_context_include_path_append(context, "/usr/share/X11/xkb");
        const xkb_rule_names names{"evdev", "pc105", layout.c_str(), variant.c_str(), ""};
        keymap = xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
        if (std::FILE *file = std::fopen("/usr/share/X11/locale/en_US.UTF-8/Compose", "r")) {
            compose = xkb_compose_table_new_from_file(context, file, "en_US.UTF-8",
                                                      XKB_COMPOSE_FORMAT_TEXT_V1,
                                                      XKB_COMPOSE_COMPILE_NO_FLAGS);
            std::fclose(file);
        }
    }
    ~TXkbOracle()
    {
        xkb_compose_table_unref(compose);
        xkb_keymap_unref(keymap);
        xkb_context_unref(context);
    }

    bool Valid() const { return keymap && compose; }

    // The keysym of the key in the shift state; none when AltGr is held and the key has no level
    // of its own for it.
    xkb_keysym_t Sym(int key, int shift) const
    {
        xkb_state *state = xkb_state_new(keymap);
        if (shift & ssShift)
            xkb_state_update_key(state, LeftShift, XKB_KEY_DOWN);
        if (shift & ssAltGr)
            xkb_state_update_key(state, RightAlt, XKB_KEY_DOWN);
        const xkb_keycode_t code = KeyScanCodes[key] + KeycodeOffset;
        xkb_keysym_t sym = xkb_state_key_get_one_sym(state, code);
        const xkb_level_index_t level = xkb_state_key_get_level(state, code, 0);
        if ((shift & ssAltGr) && level < 2)
            sym = XKB_KEY_NoSymbol;
        xkb_state_unref(state);
        return sym;
    }

    static bool IsDeadName(xkb_keysym_t sym)
    {
        std::array<char, 64> name{};
        xkb_keysym_get_name(sym, name.data(), name.size());
        return std::string(name.data()).rfind("dead_", 0) == 0;
    }

    // The one character the two keysyms compose; 0 for anything else.
    char32_t Compose(xkb_keysym_t dead, xkb_keysym_t next) const
    {
        xkb_compose_state *state = xkb_compose_state_new(compose, XKB_COMPOSE_STATE_NO_FLAGS);
        xkb_compose_state_feed(state, dead);
        xkb_compose_state_feed(state, next);
        std::array<char, 64> utf8{};
        const bool composed = xkb_compose_state_get_status(state) == XKB_COMPOSE_COMPOSED;
        xkb_compose_state_get_utf8(state, utf8.data(), utf8.size());
        xkb_compose_state_unref(state);
        const QList<uint> text = QString::fromUtf8(utf8.data()).toUcs4();
        return composed && text.size() == 1 ? text[0] : 0;
    }

private:
    xkb_context *context = nullptr;
    xkb_keymap *keymap = nullptr;
    xkb_compose_table *compose = nullptr;
};

// The byte each code page gives an accent typed on its own, read off the code pages' charts: the
// accent's spacing form, or the look-alike the code page holds instead (the Greek tonos for the
// acute in 1253, the degree sign for the ring); 0 where the code page has no form of it.
struct TAccentByte
{
    const char *Accent;
    std::array<uint8_t, 5> Bytes;
};
constexpr std::array<int, 5> AccentCodePages{1250, 1252, 1253, 1254, 1257};
const TAccentByte AccentBytes[] = {
        {"dead_grave", {0x60, 0x60, 0x60, 0x60, 0x60}},
        {"dead_acute", {0xB4, 0xB4, 0xB4, 0xB4, 0xB4}},
        {"dead_circumflex", {0x5E, 0x5E, 0x5E, 0x5E, 0x5E}},
        {"dead_tilde", {0x7E, 0x7E, 0x7E, 0x7E, 0x7E}},
        {"dead_macron", {0, 0xAF, 0, 0xAF, 0x9D}},
        {"dead_breve", {0xA2, 0, 0, 0, 0}},
        {"dead_abovedot", {0xFF, 0, 0, 0, 0xFF}},
        {"dead_diaeresis", {0xA8, 0xA8, 0xA8, 0xA8, 0x8D}},
        {"dead_abovering", {0xB0, 0xB0, 0xB0, 0xB0, 0xB0}},
        {"dead_doubleacute", {0xBD, 0, 0, 0, 0}},
        {"dead_caron", {0xA1, 0, 0, 0, 0x8E}},
        {"dead_cedilla", {0xB8, 0xB8, 0, 0xB8, 0x8F}},
        {"dead_ogonek", {0xB2, 0, 0, 0, 0x9E}},
        {"dead_iota", {0, 0, 0, 0, 0}},
        {"dead_stroke", {0x2F, 0x2F, 0x2F, 0x2F, 0x2F}},
        {"dead_belowdot", {0, 0, 0, 0, 0}},
        {"dead_hook", {0, 0, 0, 0, 0}},
        {"dead_horn", {0, 0, 0, 0, 0}},
        {"dead_abovecomma", {0, 0, 0, 0, 0}},
        {"dead_abovereversedcomma", {0, 0, 0, 0, 0}},
};

std::string KeysymName(xkb_keysym_t sym)
{
    std::array<char, 64> name{};
    xkb_keysym_get_name(sym, name.data(), name.size());
    return name.data();
}

// The accent's byte in the code page; nothing when the table does not know the accent.
std::optional<uint8_t> AccentByte(xkb_keysym_t sym, int codePage)
{
    const std::string name = KeysymName(sym);
    const auto page = std::find(AccentCodePages.begin(), AccentCodePages.end(), codePage);
    for (const TAccentByte &accent : AccentBytes) {
        if (name == accent.Accent && page != AccentCodePages.end())
            return accent.Bytes[static_cast<size_t>(page - AccentCodePages.begin())];
    }
    return std::nullopt;
}

uint8_t Byte(char32_t c, int codePage)
{
    if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0))
        return 0;
    std::string bytes;
    if (!CodePage::FromUnicode(QString::fromUcs4(&c, 1), codePage, bytes) || bytes.size() != 1)
        return 0;
    return static_cast<uint8_t>(bytes[0]);
}

TKeyChars Compute(const std::string &name, int codePage)
{
    TKeyChars chars;
    const auto keymap = KbKeymap::Of(KbLayout::FromName(name));
    EXPECT_TRUE(keymap) << name;
    if (!keymap)
        return chars;
    TKeyCharsComputer computer(chars, *keymap, codePage);
    for (int key = 0; key < KeyCount; ++key) {
        for (int shift = 0; shift < ShiftCount; ++shift)
            computer.ComputeKeyChar(key, shift);
    }
    return chars;
}

struct TLayoutCase
{
    const char *Layout;
    const char *Variant;
    int CodePage;
};

void PrintTo(const TLayoutCase &layout, std::ostream *out)
{
    *out << layout.Layout << '(' << layout.Variant << ") in " << layout.CodePage;
}

class KeyCharsAgainstXkb : public ::testing::TestWithParam<TLayoutCase>
{
protected:
    static void SetUpTestSuite() { KbKeymap::UseSystemFilesOnly(); }
};

} // namespace

TEST_P(KeyCharsAgainstXkb, EveryKeyAndEveryCompositionIsWhatXkbcommonAnswers)
{
    const TLayoutCase layout = GetParam();
    const TXkbOracle oracle(layout.Layout, layout.Variant);
    ASSERT_TRUE(oracle.Valid());
    const std::string name = *layout.Variant
            ? std::string(layout.Layout) + "(" + layout.Variant + ")"
            : std::string(layout.Layout);
    const TKeyChars chars = Compute(name, layout.CodePage);
    int deadKeys = 0;
    int letters = 0;
    for (int shift = 0; shift < ShiftCount; ++shift) {
        for (int key = 0; key < KeyCount; ++key) {
            SCOPED_TRACE(testing::Message() << name << " key " << key << " shift " << shift);
            const TKeyChar &entry = chars.At(shift, key);
            const xkb_keysym_t sym = oracle.Sym(key, shift);
            EXPECT_EQ(entry.DeadTable != nullptr, entry.IsDead);
            if (!TXkbOracle::IsDeadName(sym)) {
                EXPECT_FALSE(entry.IsDead);
                EXPECT_EQ(Byte(xkb_keysym_to_utf32(sym), layout.CodePage), entry.Char);
                letters += entry.Char != 0;
                continue;
            }
            const std::optional<uint8_t> accent = AccentByte(sym, layout.CodePage);
            if (!accent) {
                ADD_FAILURE() << "no byte for " << KeysymName(sym) << " in " << layout.CodePage;
                continue;
            }
            // A dead key is shown as none only where the code page has no form of its accent.
            EXPECT_EQ(*accent != 0, entry.IsDead) << KeysymName(sym);
            EXPECT_EQ(*accent, entry.Char) << KeysymName(sym);
            if (!entry.IsDead)
                continue;
            ++deadKeys;
            for (int t = 0; t < ShiftCount; ++t) {
                for (int j = 0; j < KeyCount; ++j) {
                    const xkb_keysym_t next = oracle.Sym(j, t);
                    uint8_t expected = next == XKB_KEY_space
                            ? (j == SpaceBarKey && t == ssNone ? entry.Char : 0)
                            : Byte(oracle.Compose(sym, next), layout.CodePage);
                    if (expected == entry.Char && !(j == SpaceBarKey && t == ssNone))
                        expected = 0;
                    EXPECT_EQ(expected, entry.DeadTable->At(t, j).Char)
                            << "after key " << j << " shift " << t;
                }
            }
        }
    }
    // Each layout types letters in its own code page; those with accent keys list them.
    EXPECT_GT(letters, 60);
    EXPECT_EQ(DeadKeysKeyMajor(chars).size(), static_cast<size_t>(deadKeys));
    if (name == "us" || name == "ru")
        EXPECT_EQ(0, deadKeys);
    else
        EXPECT_GT(deadKeys, 0);
}

INSTANTIATE_TEST_SUITE_P(
        Layouts, KeyCharsAgainstXkb,
        ::testing::Values(TLayoutCase{"us", "", CodePage::Default},
                          TLayoutCase{"de", "", CodePage::Default},
                          TLayoutCase{"fr", "", CodePage::Default}, TLayoutCase{"ru", "", Cp1251},
                          TLayoutCase{"gr", "", Cp1253},
                          TLayoutCase{"us", "intl", CodePage::Default},
                          TLayoutCase{"cz", "", Cp1250}, TLayoutCase{"sk", "", Cp1250},
                          TLayoutCase{"pl", "", Cp1250}, TLayoutCase{"hu", "", Cp1250},
                          TLayoutCase{"ro", "", Cp1250}, TLayoutCase{"tr", "", Cp1254},
                          TLayoutCase{"lt", "", Cp1257}),
        [](const ::testing::TestParamInfo<TLayoutCase> &info) {
            return std::string(info.param.Layout) + info.param.Variant;
        });

TEST(KeyChars, TheTablesOfUsAndGermanHoldWhatTheKeyboardShows)
{
    KbKeymap::UseSystemFilesOnly();
    const TKeyChars us = Compute("us", CodePage::Default);
    EXPECT_TRUE(DeadKeysKeyMajor(us).empty());
    for (int key = 0; key < KeyCount; ++key) {
        EXPECT_EQ(0, us.At(ssAltGr, key).Char) << key;
        EXPECT_EQ(0, us.At(ssShiftAltGr, key).Char) << key;
    }
    EXPECT_EQ('q', us.At(ssNone, QKey).Char);
    EXPECT_EQ('^', us.At(ssShift, ShiftSixKey).Char);

    const TKeyChars de = Compute("de", CodePage::Default);
    const std::vector<TDeadKeyInfo> dead = DeadKeysKeyMajor(de);
    ASSERT_GE(dead.size(), 3u);
    EXPECT_EQ((TDeadKeyInfo{GraveKey, ssNone}), dead[0]);
    EXPECT_EQ('^', de.At(ssNone, GraveKey).Char);
    // Key-major: the acute (key 12, no shift) comes before any dead key of a later key, and the
    // grave accent on its Shift level follows it directly.
    const auto acute = std::find(dead.begin(), dead.end(), TDeadKeyInfo{AcuteKey, ssNone});
    ASSERT_NE(dead.end(), acute);
    ASSERT_NE(dead.end(), acute + 1);
    EXPECT_EQ((TDeadKeyInfo{AcuteKey, ssShift}), *(acute + 1));
    const TKeyChar &acuteKey = de.At(ssNone, AcuteKey);
    EXPECT_EQ(0xB4, acuteKey.Char);
    ASSERT_TRUE(acuteKey.DeadTable);
    EXPECT_EQ(0xE9, acuteKey.DeadTable->At(ssNone, EKey).Char);
    EXPECT_EQ(0xC9, acuteKey.DeadTable->At(ssShift, EKey).Char);
    EXPECT_EQ(0, acuteKey.DeadTable->At(ssNone, QKey).Char);
    // The space bar records the accent on its own although it is the dead key's own character.
    EXPECT_EQ(0xB4, acuteKey.DeadTable->At(ssNone, SpaceBarKey).Char);
    EXPECT_EQ(0, acuteKey.DeadTable->At(ssShift, SpaceBarKey).Char);
    // The dead key pressed twice gives its own character, which is not listed.
    EXPECT_EQ(0, acuteKey.DeadTable->At(ssNone, AcuteKey).Char);
    EXPECT_EQ(DeadKeysShiftMajor(de).size(), dead.size());
    EXPECT_EQ((TDeadKeyInfo{GraveKey, ssNone}), DeadKeysShiftMajor(de).front());
}

TEST(KeyChars, CharactersTheCodePageCannotHoldAreNone)
{
    KbKeymap::UseSystemFilesOnly();
    const TKeyChars ru = Compute("ru", CodePage::Default);
    for (int key = TopLetterRow; key < TopLetterRow + 10; ++key)
        EXPECT_EQ(0, ru.At(ssNone, key).Char) << key;
    EXPECT_EQ('1', ru.At(ssNone, 1).Char);
    const TKeyChars gr = Compute("gr", CodePage::Default);
    EXPECT_EQ(0, gr.At(ssNone, EKey).Char);
    EXPECT_EQ(0xE5, Compute("gr", Cp1253).At(ssNone, EKey).Char);
}

TEST(KeyChars, RowsAndStoredKeyPrintsOfAnyLength)
{
    EXPECT_EQ(0, KeyRow(0));
    EXPECT_EQ(0, KeyRow(12));
    EXPECT_EQ(1, KeyRow(13));
    EXPECT_EQ(3, KeyRow(46));
    EXPECT_EQ(-1, KeyRow(SpaceBarKey));
    EXPECT_EQ(25, RowStart(2));
    const std::string tenPrints = "`123456789";
    EXPECT_EQ('9', KeyPrintAt(tenPrints, 9));
    EXPECT_EQ(' ', KeyPrintAt(tenPrints, 10));
    EXPECT_EQ(' ', KeyPrintAt(tenPrints, 46));
    EXPECT_EQ(' ', KeyPrintAt("", 0));
    EXPECT_EQ(' ', KeyPrintAt(tenPrints, -1));
}
