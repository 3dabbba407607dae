#pragma once

#include "core/LanguageEntries.h"

#include <cstddef>
#include <string>
#include <vector>

class TPackFile;

constexpr int MainEntryCount = 357;
constexpr int SetupEntryCount = 40;
// The bytes a line of a pack may hold before its line feed, a carriage return included. The
// longest entry of the shipped packs is under 1 KB; a line four times that long is no entry but
// damage, and the file is read no further.
constexpr size_t MaxPackLineBytes = 4 * 1024;

// The texts of the user's language, addressed by entry number. A pack file holds the installer's
// texts (":setup"), the trainer's (":main") and the uninstaller's (":uninst"), in that order.
class TLanguagePack
{
public:
    std::vector<std::string> Entries;

    // The trainer's texts from <program folder>/<language>.lng. Language is DEFAULT code-page
    // bytes. False when the file is missing (Entries untouched) or fails any check.
    bool Load(const std::string &language);
    // The installer's texts from the same file.
    bool LoadSetup(const std::string &language);

    // As Load and LoadSetup, from a file named by its local path.
    bool LoadFile(const std::string &path);
    bool LoadSetupFile(const std::string &path);

    // The entry's bytes (DEFAULT code page), or "" for a number the pack does not hold.
    const std::string &entry(int number) const;

private:
    bool LoadSection(const std::string &path, const std::string &marker, int count,
                     const std::string &nextMarker);
    static std::string ReadEntry(TPackFile &file, bool &ok);
};

// Whether a file starts with the language-pack header and format line (the trainer's and the
// installer's name for the same test).
bool IsLanguagePack(const std::string &fileName);
bool IsLanguagePackFile(const std::string &fileName);

// The local path of a pack beside the running program.
std::string LanguagePackPath(const std::string &language);

extern TLanguagePack *LanguagePack;

// Entry `number` of the global pack; "" while no pack is loaded.
const std::string &LanguageText(int number);
inline const std::string &LanguageText(TEntry entry)
{
    return LanguageText(static_cast<int>(entry));
}
// The entry `offset` places after `first`, for runs of texts such as the character-set names.
inline const std::string &LanguageText(TEntry first, int offset)
{
    return LanguageText(static_cast<int>(first) + offset);
}
