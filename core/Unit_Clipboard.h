#pragma once

#include <cstdint>
#include <memory>

class TStreamReader;
class TStreamWriter;
struct TWord;

// The words payload that cut, copy and paste move through the clipboard: a count, then per word
// its texts (part of speech and lesson before the context, unlike a list file), its sound size
// and bytes, its levels and counters and an end mark. A sound payload is the bare sound bytes.

// Reads one record, appending its sound bytes to the store writer, which writes from storeEnd on.
// Null when the record breaks a limit or the payload ends inside it; a sound size is checked
// against the bytes that remain before anything is copied.
std::unique_ptr<TWord> ReadClipboardRecord(TStreamReader &in, TStreamWriter &store,
                                           int64_t storeEnd);
