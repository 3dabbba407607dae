#include "kbtool/KeyChars.h"
#include "core/Unit_Constants.h"
#include "platform/CodePage.h"
#include "platform/KbKeymap.h"

#include <QList>
#include <QString>
#include <array>
#include <cstdio>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <xkbcommon/xkbcommon-compose.h>
#include <xkbcommon/xkbcommon.h>

namespace {

constexpr xkb_keycode_t KeycodeOffset = 8;
constexpr xkb_keycode_t LeftShift = 50;
constexpr xkb_keycode_t RightAlt = 108;
constexpr int Cp1251 = 1251;
constexpr int Cp1253 = 1253;
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
            if (!entry.IsDead) {
                // Only a dead key without a spacing character in the code page is shown as none.
                EXPECT_EQ(0, entry.Char);
                continue;
            }
            ++deadKeys;
            EXPECT_NE(0, entry.Char);
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

INSTANTIATE_TEST_SUITE_P(Layouts, KeyCharsAgainstXkb,
                         ::testing::Values(TLayoutCase{"us", "", CodePage::Default},
                                           TLayoutCase{"de", "", CodePage::Default},
                                           TLayoutCase{"fr", "", CodePage::Default},
                                           TLayoutCase{"ru", "", Cp1251},
                                           TLayoutCase{"gr", "", Cp1253},
                                           TLayoutCase{"us", "intl", CodePage::Default}),
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
