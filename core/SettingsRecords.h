#pragma once

#include "core/Unit_GlobalSettings.h"

#include <cstddef>
#include <cstdint>

class TRegistry;

// Keys and value names of the settings.
namespace SettingsNames {
inline constexpr const char *TrainerKey = "\\Software\\Tarnwick";
inline constexpr const char *EarlierKey = "\\Software\\Brimlow\\Corvellan";
inline constexpr const char *Language = "Language";
inline constexpr const char *Version = "Version";
inline constexpr const char *EditOptions = "Edit options";
inline constexpr const char *ExerciseOptions = "Exercise options";
inline constexpr const char *OtherOptions = "Other options";
inline constexpr const char *PartsOfSpeech = "Parts of speech";
inline constexpr const char *MRUList = "MRU list";
inline constexpr const char *MRUOpen = "MRU open";
inline constexpr const char *MRUSave = "MRU save";
inline constexpr const char *Windows = "Windows";
inline constexpr const char *Columns = "Columns";
inline constexpr const char *PrintSettings = "Print settings";
inline constexpr const char *KeyPrints = "Key prints";
inline constexpr const char *ForeignCharacters = "Foreign characters";
} // namespace SettingsNames

// The stored form of the settings records: raw little-endian copies, Booleans one byte 0 or 1,
// pad bytes 0, no header.
namespace SettingsRecords {

constexpr size_t EditOptionsSize = 4;
constexpr size_t ExerciseOptionsSize = 8;
constexpr size_t OtherOptionsSize = 3;
constexpr size_t FormPlacementSize = 10;
constexpr size_t FormPlacementsSize = 3 * FormPlacementSize;
constexpr size_t ColumnSettingsSize = 20;
constexpr size_t PrintColumnSize = 12;
constexpr size_t PrintSettingsSize = 4 + 5 * PrintColumnSize;

void Encode(const TEditOptions &record, uint8_t *out);
void Encode(const TExerciseOptions &record, uint8_t *out);
void Encode(const TOtherOptions &record, uint8_t *out);
void Encode(const TFormPlacement &record, uint8_t *out);
void Encode(const std::array<TFormPlacement, 3> &record, uint8_t *out);
void Encode(const TColumnSettings &record, uint8_t *out);
void Encode(const TPrintColumn &record, uint8_t *out);
void Encode(const TPrintSettings &record, uint8_t *out);

void Decode(const uint8_t *in, TEditOptions &record);
void Decode(const uint8_t *in, TExerciseOptions &record);
void Decode(const uint8_t *in, TOtherOptions &record);
void Decode(const uint8_t *in, TFormPlacement &record);
void Decode(const uint8_t *in, std::array<TFormPlacement, 3> &record);
void Decode(const uint8_t *in, TColumnSettings &record);
void Decode(const uint8_t *in, TPrintColumn &record);
void Decode(const uint8_t *in, TPrintSettings &record);

int16_t GetInt16(const uint8_t *in);
int32_t GetInt32(const uint8_t *in);

// Reads a binary value into the record. A value shorter than the record replaces only the
// record's first bytes; a missing value, one of another type or one longer than the record leaves
// the record as it is. True when the value was taken (in full or in part).
bool ReadStored(const TRegistry &registry, const char *name, TEditOptions &record);
bool ReadStored(const TRegistry &registry, const char *name, TExerciseOptions &record);
bool ReadStored(const TRegistry &registry, const char *name, TOtherOptions &record);
bool ReadStored(const TRegistry &registry, const char *name, std::array<TFormPlacement, 3> &record);
bool ReadStored(const TRegistry &registry, const char *name, TColumnSettings &record);
bool ReadStored(const TRegistry &registry, const char *name, TPrintSettings &record);
// A string value; anything else leaves the text as it is.
bool ReadStored(const TRegistry &registry, const char *name, std::string &text);

// Writes the record's stored form.
bool WriteStored(TRegistry &registry, const char *name, const TEditOptions &record);
bool WriteStored(TRegistry &registry, const char *name, const TExerciseOptions &record);
bool WriteStored(TRegistry &registry, const char *name, const TOtherOptions &record);
bool WriteStored(TRegistry &registry, const char *name,
                 const std::array<TFormPlacement, 3> &record);
bool WriteStored(TRegistry &registry, const char *name, const TColumnSettings &record);
bool WriteStored(TRegistry &registry, const char *name, const TPrintSettings &record);

} // namespace SettingsRecords
