#pragma once

#include <string>
#include <string_view>

// What "machine-wide" means for this process. The trainer reads the machine-wide hives of its
// own store and, where they lack a key or a value, the system-wide ones that an installation run
// by the administrator left for every user; it writes only its own. The installer uses exactly
// one of the two: its own for a user-level installation, the system-wide ones (and the system's
// desktop folders) when it installs for the whole machine.
enum class TMachineScope {
    Layered,
    Own,
    System,
};

TMachineScope MachineScope();
void SetMachineScope(TMachineScope scope);

// A system-wide path such as "/etc/xdg" or "/usr/local/share". $TARNWICK_SYSTEM_ROOT, when set,
// names a folder that stands in for "/" (tests install "for the whole machine" into a temporary
// folder this way); unset, the path is returned as it is.
std::string SystemPath(std::string_view absolute);
