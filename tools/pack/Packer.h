#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One file for the data volumes: its name in the install folder (DEFAULT code-page bytes, "\"
// separated) and the local file that holds its content.
struct TPackItem
{
    std::string Name;
    std::string Path;
};

// Writes Setup.d01, Setup.d02, ... into folder, each at most capacity bytes, in the order of
// items. Empty files after the last content byte stay in the last volume even when that makes it
// larger. Returns the number of volumes, or 0 with error set.
int PackVolumes(const std::vector<TPackItem> &items, int64_t capacity, const std::string &folder,
                std::string &error);
