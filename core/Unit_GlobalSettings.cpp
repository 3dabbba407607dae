#include "core/Unit_GlobalSettings.h"

#include "core/SettingsImport.h"
#include "core/SettingsRecords.h"
#include "core/Unit_Constraints.h"
#include "core/Unit_LanguagePack.h"
#include "core/Unit_Warnings.h"
#include "platform/Registry.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

const char *const DefaultKeyPrints = "`1234567890-=QWERTYUIOP[]ASDFGHJKL;'ZXCVBNM,./\\";
const char *const DefaultForeignCharacters
        = "\xE0\xE1\xE2\xE4\xE3\xE5|\xE8\xE9\xEA\xEB|\xEC\xED\xEE\xEF|\xF2\xF3\xF4\xF6\xF5\xF8|"
          "\xF9\xFA\xFB\xFC|\xE7\xF1\xDF";

TEditOptions EditOptions;
TExerciseOptions ExerciseOptions;
TOtherOptions OtherOptions;
std::string PartsOfSpeech;
std::string MRUList;
std::string MRUOpen;
std::string MRUSave;
std::array<TFormPlacement, 3> FormPlacements;
TColumnSettings ColumnSettings;
TPrintSettings PrintSettings;
std::string KeyPrints = DefaultKeyPrints;
std::string ForeignCharacters = DefaultForeignCharacters;
std::string Language;

namespace SN = SettingsNames;

namespace {

constexpr uint8_t UnusedPrintSlot = 5;

std::function<void(const std::string &)> ErrorReporter;

void ReportSaveFailure()
{
    std::string text = "The settings could not be saved";
    if (!Registry::LastError().empty())
        text += ": " + Registry::LastError();
    if (ErrorReporter)
        ErrorReporter(text);
    else
        ShowError(text);
}

bool OrderValid(const TColumnSettings &columns)
{
    std::array<bool, 10> seen{};
    for (uint8_t kind : columns.Order) {
        if (kind < 1 || kind > 9)
            return false;
        seen[kind] = true;
    }
    return std::count(seen.begin() + 1, seen.end(), true) == 9;
}

// The printed columns: the used slots come first, each kind at most once, every share within
// 0..1 and the shares summing to exactly 1 (slot order, as the print preview sums them).
bool PrintColumnsValid(const TPrintSettings &print)
{
    std::array<bool, UnusedPrintSlot> seen{};
    bool unusedSeen = false;
    double sum = 0.0;
    for (const TPrintColumn &column : print.Columns) {
        if (column.Kind > UnusedPrintSlot)
            return false;
        if (column.Kind == UnusedPrintSlot) {
            unusedSeen = true;
            continue;
        }
        if (unusedSeen || seen[column.Kind])
            return false;
        seen[column.Kind] = true;
        if (!(column.Width >= 0.0 && column.Width <= 1.0))
            return false;
        sum += column.Width;
    }
    return sum == 1.0;
}

void RepairSettings(bool &resetPartsOfSpeech)
{
    if (!resetPartsOfSpeech && PartsOfSpeechInvalid(PartsOfSpeech))
        resetPartsOfSpeech = true;
    if (ExerciseOptionsInvalid()) {
        const TExerciseOptions defaults;
        ExerciseOptions.LevelThresholds = defaults.LevelThresholds;
        ExerciseOptions.RequiredScore = defaults.RequiredScore;
        ExerciseOptions.NumQuestions = defaults.NumQuestions;
        ExerciseOptions.Flags = defaults.Flags;
    }
    if (CheckExerciseTime(std::to_string(ExerciseOptions.Minutes)) != 0)
        ExerciseOptions.Minutes = TExerciseOptions().Minutes;
    if (NoiseLevelInvalid(OtherOptions.NoiseLevel))
        OtherOptions.NoiseLevel = TOtherOptions().NoiseLevel;
    if (!OrderValid(ColumnSettings))
        ColumnSettings.Order = TColumnSettings().Order;
    if (!PrintColumnsValid(PrintSettings))
        PrintSettings.Columns = TPrintSettings().Columns;
    if (ForeignCharsTooLong(ForeignCharacters))
        ForeignCharacters = DefaultForeignCharacters;
}

bool WriteUserSettings(TRegistry &user)
{
    using SettingsRecords::WriteStored;
    return user.WriteInteger(SN::Version, 0) && WriteStored(user, SN::EditOptions, EditOptions)
            && WriteStored(user, SN::ExerciseOptions, ExerciseOptions)
            && WriteStored(user, SN::OtherOptions, OtherOptions)
            && user.WriteString(SN::PartsOfSpeech, PartsOfSpeech)
            && user.WriteString(SN::MRUList, MRUList) && user.WriteString(SN::MRUOpen, MRUOpen)
            && user.WriteString(SN::MRUSave, MRUSave)
            && WriteStored(user, SN::Windows, FormPlacements)
            && WriteStored(user, SN::Columns, ColumnSettings)
            && WriteStored(user, SN::PrintSettings, PrintSettings)
            && user.WriteString(SN::KeyPrints, KeyPrints)
            && user.WriteString(SN::ForeignCharacters, ForeignCharacters);
}

} // namespace

void SetSettingsErrorReporter(std::function<void(const std::string &)> reporter)
{
    ErrorReporter = std::move(reporter);
}

TFormPlacement DefaultFormPlacement()
{
    TFormPlacement placement;
    const QScreen *screen = qGuiApp ? QGuiApplication::primaryScreen() : nullptr;
    const QSize size = screen ? screen->size() : QSize(placement.Width, placement.Height);
    placement.Left = static_cast<int16_t>((size.width() - placement.Width) / 2);
    placement.Top = static_cast<int16_t>((size.height() - placement.Height) / 2);
    return placement;
}

void SetDefaultSettings()
{
    EditOptions = TEditOptions();
    ExerciseOptions = TExerciseOptions();
    OtherOptions = TOtherOptions();
    PartsOfSpeech.clear();
    MRUList.clear();
    MRUOpen = PersonalFolder();
    MRUSave = MRUOpen;
    FormPlacements.fill(DefaultFormPlacement());
    ColumnSettings = TColumnSettings();
    PrintSettings = TPrintSettings();
    KeyPrints = DefaultKeyPrints;
    ForeignCharacters = DefaultForeignCharacters;
}

bool LoadSettings(bool &resetPartsOfSpeech)
{
    resetPartsOfSpeech = false;
    TRegistry machine(Registry::Hive::LocalMachine);
    if (!machine.OpenKeyReadOnly(SN::TrainerKey))
        return false;
    const auto language = machine.ReadString(SN::Language);
    if (!language)
        return false;
    Language = *language;
    // Whatever is missing, of another type or cut short below keeps its default.
    SetDefaultSettings();

    TRegistry user(Registry::Hive::CurrentUser);
    const uint8_t layout = DetectSettingsLayout(user);
    if (layout == 0) {
        resetPartsOfSpeech = true;
        if (user.KeyExists(SN::TrainerKey))
            user.DeleteKey(SN::TrainerKey);
        SaveSettings();
        return true;
    }
    std::vector<std::string> olderValues;
    if (layout == 7) {
        if (user.OpenKeyReadOnly(SN::TrainerKey))
            ReadCurrentSettings(user, true);
        user.CloseKey();
    } else {
        olderValues = ReadOlderSettings(layout, resetPartsOfSpeech);
    }
    RepairSettings(resetPartsOfSpeech);
    // The older values go only once their converted form is safely stored.
    if (SaveSettings() && !olderValues.empty())
        RemoveOlderValues(olderValues);
    return true;
}

bool SaveSettings()
{
    TRegistry user(Registry::Hive::CurrentUser);
    bool saved = user.OpenKey(SN::TrainerKey, true) && WriteUserSettings(user);
    if (saved) {
        TRegistry machine(Registry::Hive::LocalMachine);
        saved = machine.OpenKey(SN::TrainerKey, true)
                && machine.WriteString(SN::Language, Language);
    }
    if (!saved)
        ReportSaveFailure();
    return saved;
}

void ResetPartsOfSpeech()
{
    PartsOfSpeech = LanguageText(TEntry::DefaultPartsOfSpeech);
    TRegistry user(Registry::Hive::CurrentUser);
    if (user.OpenKey(SN::TrainerKey, false) && !user.WriteString(SN::PartsOfSpeech, PartsOfSpeech))
        ReportSaveFailure();
}
