#pragma once

#include <string_view>

// Checks a CHM file for what the reader library trusts without checking: it divides by the LZX
// window, the reset interval and the reset table's block length, and its decompressor faults on a
// control-data version other than 2 or a window outside 2^15 to 2^21 bytes. The objects that hold
// them are found as the library finds them, through the file's directory index. True when the
// library may open the file: it holds sound LZX data or none the library would use; false for a
// file whose headers, directory or LZX data are damaged.
bool ChmIsSafeToOpen(std::string_view file);
