#include "kbtool/KeyChars.h"

#include "core/Unit_Constants.h"
#include "platform/KbKeymap.h"

namespace {

constexpr char32_t Space = U' ';

} // namespace

int KeyRow(int key)
{
    for (size_t row = 0; row < RowEnds.size(); ++row) {
        if (key <= RowEnds[row])
            return static_cast<int>(row);
    }
    return -1;
}

int RowStart(int row)
{
    return row == 0 ? 0 : RowEnds[row - 1] + 1;
}

TKeyCharsComputer::TKeyCharsComputer(TKeyChars &chars, const KbKeymap &keymap, int codePage)
    : chars(chars)
    , keymap(keymap)
    , codePage(codePage)
{ }

bool TKeyCharsComputer::ComputeKeyChar(int key, int shift)
{
    TKeyChar &entry = chars.At(shift, key);
    entry = TKeyChar{};
    const uint32_t keysym = keymap.KeySym(KeyScanCodes[key], shift);
    if (!KbKeymap::IsDead(keysym)) {
        entry.Char = KbKeymap::InCodePage(keymap.KeyChar(KeyScanCodes[key], shift), codePage);
        return false;
    }
    // A dead key is known by what it gives before the space bar, in the form the code page holds;
    // one that gives nothing there, or only a blank, or no form the code page has, is shown as no
    // character at all.
    const char32_t spacing = KbKeymap::DeadChar(keysym, codePage);
    const uint8_t deadChar = spacing == Space ? 0 : KbKeymap::InCodePage(spacing, codePage);
    if (deadChar == 0)
        return false;
    entry.Char = deadChar;
    entry.IsDead = true;
    entry.DeadTable = std::make_unique<TKeyChars>();
    const TDeadKeyInfo deadKey{key, shift};
    for (int j = 0; j < KeyCount; ++j) {
        for (int t = 0; t < ShiftCount; ++t)
            ComputeComposedChar(j, t, deadKey);
    }
    return true;
}

void TKeyCharsComputer::ComputeComposedChar(int key, int shift, const TDeadKeyInfo &deadKey)
{
    const TKeyChar &dead = chars.At(deadKey.Shift, deadKey.Key);
    if (!dead.DeadTable)
        return;
    uint8_t &target = dead.DeadTable->At(shift, key).Char;
    target = 0;
    const uint32_t deadKeysym = keymap.KeySym(KeyScanCodes[deadKey.Key], deadKey.Shift);
    const uint32_t keysym = keymap.KeySym(KeyScanCodes[key], shift);
    const char32_t next = keymap.KeyChar(KeyScanCodes[key], shift);
    // The dead key followed by a blank gives its own spacing character, as it did when the key was
    // found to be dead.
    const char32_t composed = next == Space ? KbKeymap::DeadChar(deadKeysym, codePage)
                                            : KbKeymap::Composed(deadKeysym, keysym);
    const uint8_t byte = KbKeymap::InCodePage(composed, codePage);
    if (byte == 0)
        return;
    // A key that gives the dead key's own character says nothing worth listing, except the plain
    // space bar, which is how the accent is typed on its own.
    if (byte != dead.Char || (key == SpaceBarKey && shift == ssNone))
        target = byte;
}

std::vector<TDeadKeyInfo> DeadKeysKeyMajor(const TKeyChars &chars)
{
    std::vector<TDeadKeyInfo> result;
    for (int key = 0; key < KeyCount; ++key) {
        for (int shift = 0; shift < ShiftCount; ++shift) {
            if (chars.At(shift, key).IsDead)
                result.push_back({key, shift});
        }
    }
    return result;
}

std::vector<TDeadKeyInfo> DeadKeysShiftMajor(const TKeyChars &chars)
{
    std::vector<TDeadKeyInfo> result;
    for (int shift = 0; shift < ShiftCount; ++shift) {
        for (int key = 0; key < KeyCount; ++key) {
            if (chars.At(shift, key).IsDead)
                result.push_back({key, shift});
        }
    }
    return result;
}

char KeyPrintAt(const std::string &keyPrints, int key)
{
    return key >= 0 && static_cast<size_t>(key) < keyPrints.size() ? keyPrints[key] : ' ';
}
