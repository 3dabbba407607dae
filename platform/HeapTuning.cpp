#include "platform/HeapTuning.h"

#include <malloc.h>

namespace {

// Freed memory at the top of the heap is returned to the system only beyond this much.
constexpr int TrimThreshold = 256 * 1024 * 1024;
// The heap grows in steps of at least this much.
constexpr int TopPad = 16 * 1024 * 1024;

} // namespace

void KeepFreedMemory()
{
    mallopt(M_TRIM_THRESHOLD, TrimThreshold);
    mallopt(M_TOP_PAD, TopPad);
}
