#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

class TRegistry;

// Settings layouts: 0 none, 1..6 those of the maker's earlier product under its own key, 7 the
// current one in the trainer's key. Detection works on the per-user root of `registry`; it may
// write the trainer's "Version" as 0, and leaves no key open.
uint8_t DetectSettingsLayout(TRegistry &registry);
// Whether every value name exists in the key open in `registry`.
bool AllValuesExist(const TRegistry &registry, std::initializer_list<const char *> names);

// Reads the settings of older layout 1..6 from the earlier product's key into the globals, which
// hold their defaults. Gives the names of the older values that are to be removed from that key
// once the converted settings are safely written.
std::vector<std::string> ReadOlderSettings(uint8_t layout, bool &resetPartsOfSpeech);
// Removes the named values from the earlier product's key.
void RemoveOlderValues(const std::vector<std::string> &names);

// Reads every value of the current layout from the open key into the globals; layout 6 lacks
// "Foreign characters".
void ReadCurrentSettings(const TRegistry &registry, bool withForeignCharacters);
