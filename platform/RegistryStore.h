#pragma once

#include "platform/RegistryFile.h"

#include <functional>
#include <string>
#include <vector>

// The hive files on disk. Every access takes an exclusive lock on the hive's lock file, reloads
// the hive when its file changed since it was last read (another process or another key object
// wrote it), and a change is written to a temporary file beside it, flushed and renamed over it,
// so a reader never sees half a file. A file that cannot be parsed is renamed aside and the hive
// starts empty.
//
// The machine-wide hives (LocalMachine, ClassesRoot) have a system-wide counterpart that an
// installation for the whole machine writes; MachineScope() says which of the two a process
// reads and writes (see platform/MachineScope.h).
namespace Registry {

enum class Hive {
    CurrentUser,
    LocalMachine,
    ClassesRoot,
};

// $TARNWICK_REGISTRY_DIR, else ${XDG_CONFIG_HOME:-~/.config}/tarnwick/registry.
std::string StoreDirectory();
// "HKEY_CURRENT_USER" and so on.
const char *HiveName(Hive hive);
std::string HiveFilePath(Hive hive);
// The system-wide file of a machine-wide hive: /etc/xdg/tarnwick/registry/<name>.reg.
std::string SystemHiveFilePath(Hive hive);

// Runs `read` on the current contents of the hive: for a machine-wide hive read in layers, the
// system-wide one with the process's own put over it.
void ReadHive(Hive hive, const std::function<void(const THive &)> &read);
// Whether the key comes from the system-wide layer of a hive read in layers; a change to it
// creates it in the process's own hive.
bool KeyInSystemLayer(Hive hive, const std::vector<std::string> &names);
// Runs `change` on a copy of the hive the process writes (its own, or the system-wide one when
// it installs for the whole machine); when it returns true the copy is written and becomes the
// hive. False when `change` refused or the file could not be written (see LastError).
bool ChangeHive(Hive hive, const std::function<bool(THive &)> &change);

// The reason of this thread's last failed change, for the message that reports it.
const std::string &LastError();

} // namespace Registry
