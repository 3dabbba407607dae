#pragma once

#include <cstddef>
#include <cstdint>

// A fuzz target is written once: with TARNWICK_LIBFUZZER it is the libFuzzer entry point, otherwise
// it registers itself so that the ordinary suite replays its seed corpus (tests/corpus/<Name>/).
#ifdef TARNWICK_LIBFUZZER
#define TARNWICK_FUZZ_TARGET(Name)                                                                 \
    extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
#else
namespace FuzzTargets {
using Entry = int (*)(const uint8_t *data, size_t size);
bool Register(const char *name, Entry entry);
} // namespace FuzzTargets
#define TARNWICK_FUZZ_TARGET(Name)                                                                 \
    static int Fuzz##Name(const uint8_t *data, size_t size);                                       \
    [[maybe_unused]] static const bool Fuzz##Name##Registered                                      \
            = FuzzTargets::Register(#Name, Fuzz##Name);                                            \
    static int Fuzz##Name(const uint8_t *data, size_t size)
#endif
