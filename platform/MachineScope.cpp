#include "platform/MachineScope.h"

#include <atomic>
#include <cstdlib>

namespace {

std::atomic<TMachineScope> Scope{TMachineScope::Layered};

} // namespace

TMachineScope MachineScope()
{
    return Scope.load();
}

void SetMachineScope(TMachineScope scope)
{
    Scope.store(scope);
}

std::string SystemPath(std::string_view absolute)
{
    const char *root = std::getenv("TARNWICK_SYSTEM_ROOT");
    std::string path = root && *root ? root : "";
    while (!path.empty() && path.back() == '/')
        path.pop_back();
    return path + std::string(absolute);
}
