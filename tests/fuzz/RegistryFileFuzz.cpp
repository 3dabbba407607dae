#include "platform/RegistryFile.h"
#include "support/FuzzTarget.h"

#include <cstdlib>
#include <string_view>

// Any bytes either fail to parse or give a hive whose written form reads back to itself.
TARNWICK_FUZZ_TARGET(RegistryFile)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const auto hive = Registry::THive::Parse(text);
    if (!hive)
        return 0;
    const std::string written = hive->Serialize();
    const auto reread = Registry::THive::Parse(written);
    if (!reread || reread->Serialize() != written)
        std::abort();
    return 0;
}
