#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

// The trainer's settings as records whose byte layout the store keeps; see Unit_GlobalSettings.cpp.

struct TEditOptions
{
    bool ConfirmDelete = true;
    bool ConfirmSort = true;
    bool NormalEnter = true;
    bool AutoComplete = true;
};

struct TExerciseOptions
{
    uint8_t NumQuestions = 20;
    bool TimeLimit = true;
    uint8_t Minutes = 30;
    uint8_t Flags = 9;
    uint8_t RequiredScore = 3;
    // Index 1..3: right answers needed at level quick, normal, intensive; index 0 is unused.
    std::array<uint8_t, 4> LevelThresholds{0, 2, 4, 6};
};

// Bits of TExerciseOptions.Flags.
enum TExerciseFlag : uint8_t {
    PronounceQuestion = 1 << 0,
    ListeningTest = 1 << 1,
    ContextWithQuestion = 1 << 2,
    PronounceAnswer = 1 << 3,
    Dictation = 1 << 4,
    ContextWithAnswer = 1 << 5,
    MultipleChoice = 1 << 6,
};

struct TOtherOptions
{
    bool LoadMRU = false;
    bool RegisterFileType = true;
    uint8_t NoiseLevel = 4;
};

struct TFormPlacement
{
    bool Maximized = false;
    int16_t Left = 0;
    int16_t Top = 0;
    int16_t Width = 610;
    int16_t Height = 440;
};

struct TColumnSettings
{
    std::array<uint8_t, 9> Order{1, 2, 3, 4, 5, 6, 7, 8, 9};
    std::array<int16_t, 5> Widths{150, 150, 150, 80, 50};
};

struct TPrintColumn
{
    uint8_t Kind = 5;
    double Width = 0.0;
};

struct TPrintSettings
{
    bool KeyPrintsConfirmed = false;
    std::array<TPrintColumn, 5> Columns{{{0, 0.25}, {1, 0.25}, {2, 0.3}, {3, 0.1}, {4, 0.1}}};
};

extern TEditOptions EditOptions;
extern TExerciseOptions ExerciseOptions;
extern TOtherOptions OtherOptions;
extern std::string PartsOfSpeech;
extern std::string MRUList;
extern std::string MRUOpen;
extern std::string MRUSave;
extern std::array<TFormPlacement, 3> FormPlacements;
extern TColumnSettings ColumnSettings;
extern TPrintSettings PrintSettings;
extern std::string KeyPrints;
extern std::string ForeignCharacters;
extern std::string Language;

// Defaults of the two strings that have fixed ones (Windows-1252 bytes).
extern const char *const DefaultKeyPrints;
extern const char *const DefaultForeignCharacters;

// Reads the settings (importing an older layout when the trainer's own key holds no complete
// current one), repairs what is out of range and writes them all back. False, with nothing read or
// changed, when the machine-wide key or its Language value is missing. resetPartsOfSpeech asks the
// caller to call ResetPartsOfSpeech once the language pack is loaded.
bool LoadSettings(bool &resetPartsOfSpeech);
// Writes every setting: the per-user values in their fixed order, then Language machine-wide. A
// failure is reported once through the settings error reporter; false then.
bool SaveSettings();
// Parts of speech := the language pack's default list, written to the per-user key if it exists.
void ResetPartsOfSpeech();

// Where a failed write of the settings is reported; nullptr restores the program's error
// presenter.
void SetSettingsErrorReporter(std::function<void(const std::string &)> reporter);

// Every global but Language set to its default.
void SetDefaultSettings();
// The default placement of a window: 610 x 440, centred on the primary screen.
TFormPlacement DefaultFormPlacement();
