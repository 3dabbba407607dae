#pragma once

// The message beep. Every beep of the program goes through PlatformBeep, so tests can put a
// counter in place of the sound.
enum class TBeepKind {
    Default,
    Question,
};

using TBeepHandler = void (*)(TBeepKind kind);

void PlatformBeep(TBeepKind kind);
// Replaces the handler (nullptr restores the desktop's beep); returns the previous one.
TBeepHandler SetBeepHandler(TBeepHandler handler);
