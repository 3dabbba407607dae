#pragma once

#include <cstdint>

class TWordList;

// What a file operation and the window that started it hand each other. Written and read on the
// GUI thread only.

// The list the operation works on. An open puts a new list here, which then belongs to the
// receiver of WM_FILESTHREADDONE; it is null when not even an empty list could be made.
extern TWordList *CurrentList;
// Whether the last open succeeded, and the format number (1..5) of the file it read.
extern bool LoadOk;
extern uint8_t LoadFormat;
// Where an import inserts its words, and how many it inserted.
extern int32_t ImportIndex;
extern int32_t ImportCount;
// Whether the last save wrote the whole file.
extern bool SaveOk;
