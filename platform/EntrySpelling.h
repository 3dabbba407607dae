#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>

// A file's name as its folder spells it. On a case-insensitive file system a file opens under
// any letter case of its name, but the name it has is the one its directory entry holds.

// Which file a path names (device and inode), or nothing when it cannot be read.
using TFileIdentity = std::pair<unsigned long long, unsigned long long>;
using TIdentityQuery = std::function<std::optional<TFileIdentity>(const std::string &path)>;

std::optional<TFileIdentity> FileIdentity(const std::string &path);

// The path with its last part replaced by the name of the directory entry that is the same file
// and differs from it at most in letter case; the path as given when its folder holds the name
// as it stands, holds no such entry or cannot be read. The folder part stays as given.
std::string WithEntrySpelling(const std::string &path,
                              const TIdentityQuery &identity = FileIdentity);
