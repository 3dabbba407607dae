#pragma once

#include <QString>
#include <string>

// setup's windows share their names with the trainer's; the namespace keeps them apart in builds
// that hold both.
namespace Setup {

// Setup entry `number` of the current language pack, as a window shows it.
QString SetupText(int number);

// Texts are DEFAULT code-page bytes; windows see them as QString.
QString FromBytes(const std::string &bytes);
// False, with bytes untouched, when the text holds a character the code page cannot store.
bool ToBytes(const QString &text, std::string &bytes);

// Folder paths are local file-name bytes, so that every name the file system holds can be kept.
QString FromLocal(const std::string &path);
std::string ToLocal(const QString &path);

} // namespace Setup
