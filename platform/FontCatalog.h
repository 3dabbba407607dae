#pragma once

#include <string>
#include <vector>

// What the program asks of the installed fonts. Face names are DEFAULT code-page bytes, as lists
// and settings store them. The program installs the system's catalogue at start; tests use fakes.
class IFontCatalog
{
public:
    virtual ~IFontCatalog() = default;
    // Font families that can show text of the character set (DEFAULT: every family).
    virtual std::vector<std::string> Families(int charset) const = 0;
    // Whether a face of this name is installed (case ignored).
    virtual bool IsInstalled(const std::string &name) const = 0;
    // Whether the installed face of this name can show text of the character set.
    virtual bool Supports(const std::string &name, int charset) const = 0;
};

// The installed catalogue, or the system's fonts when none is installed.
IFontCatalog *FontCatalog();
// nullptr restores the system's fonts.
void SetFontCatalog(IFontCatalog *catalog);
