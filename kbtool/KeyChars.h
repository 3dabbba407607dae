#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class KbKeymap;

// The keyboard tool's keys: 48 character keys in keyboard order (the space bar last) and four shift
// states (none, Shift, AltGr, Shift+AltGr).
inline constexpr int KeyCount = 48;
inline constexpr int ShiftCount = 4;
inline constexpr int SpaceBarKey = 47;
// Keys that have a key print: every key but the space bar.
inline constexpr int KeyPrintCount = 47;
// The last key of each keyboard row; the space bar belongs to none.
inline constexpr std::array<int, 4> RowEnds{12, 24, 35, 46};

enum TShiftState : int {
    ssNone = 0,
    ssShift = 1,
    ssAltGr = 2,
    ssShiftAltGr = 3,
};

// One key in one shift state.
struct TDeadKeyInfo
{
    int Key = 0;
    int Shift = ssNone;

    friend bool operator==(const TDeadKeyInfo &, const TDeadKeyInfo &) = default;
};

class TKeyChars;

struct TKeyChar
{
    // A byte of the tool's code page; 0 means no character.
    uint8_t Char = 0;
    bool IsDead = false;
    // What every key gives after this dead key; only set while IsDead.
    std::unique_ptr<TKeyChars> DeadTable;
};

class TKeyChars
{
public:
    TKeyChar &At(int shift, int key) { return entries[shift][key]; }
    const TKeyChar &At(int shift, int key) const { return entries[shift][key]; }

private:
    std::array<std::array<TKeyChar, KeyCount>, ShiftCount> entries;
};

// The row a key belongs to; -1 for the space bar.
int KeyRow(int key);
int RowStart(int row);

// Fills the keyboard tool's table from a layout, each character as a byte of codePage. A character
// the code page cannot hold counts as none.
class TKeyCharsComputer
{
public:
    TKeyCharsComputer(TKeyChars &chars, const KbKeymap &keymap, int codePage);

    // Entry (shift, key): its character, and for a dead key its composition table. True when the
    // key is a dead key in that shift state.
    bool ComputeKeyChar(int key, int shift);
    // Entry (shift, key) of the dead key's table: what the key gives after the dead key.
    void ComputeComposedChar(int key, int shift, const TDeadKeyInfo &deadKey);

private:
    TKeyChars &chars;
    const KbKeymap &keymap;
    int codePage;
};

// Every dead key of the table: key-major (as the tool lists them when it opens) or shift-major
// (after the user marked a dead key, and on the printed chart).
std::vector<TDeadKeyInfo> DeadKeysKeyMajor(const TKeyChars &chars);
std::vector<TDeadKeyInfo> DeadKeysShiftMajor(const TKeyChars &chars);

// Character key of the stored key prints; a blank where the stored text is too short.
char KeyPrintAt(const std::string &keyPrints, int key);
