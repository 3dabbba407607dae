#pragma once

#include "core/Texts.h"
#include "setup/SetupEntries.h"

#include <QString>
#include <string>

// setup's windows share their names with the trainer's; the namespace keeps them apart in builds
// that hold both.
namespace Setup {

// A setup entry of the current language pack: its DEFAULT code-page bytes.
const std::string &SetupBytes(TSetupEntry entry);
// The same as a window shows it, its line breaks as the toolkit writes them.
QString SetupText(TSetupEntry entry);
// False, with bytes untouched, when the text holds a character the code page cannot store.
bool ToBytes(const QString &text, std::string &bytes);

// Folder paths are local file-name bytes, so that every name the file system holds can be kept.
QString FromLocal(const std::string &path);
std::string ToLocal(const QString &path);

} // namespace Setup
