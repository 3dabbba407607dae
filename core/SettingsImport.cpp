#include "core/SettingsImport.h"

#include "core/SettingsRecords.h"
#include "core/Unit_GlobalSettings.h"
#include "platform/Registry.h"

#include <optional>

namespace SN = SettingsNames;
using SettingsRecords::GetInt16;
using SettingsRecords::GetInt32;
using SettingsRecords::ReadStored;

namespace {

// Values of the earlier product's layouts 1 to 5.
constexpr const char *BooleanSettings = "Boolean settings";
constexpr const char *EnterKey = "Enter key";
constexpr const char *ConfirmDelete = "Confirm delete";
constexpr const char *ConfirmSort = "Confirm sort";
constexpr const char *LoadMRUList = "Load MRU list";
constexpr const char *ExerciseSettings = "Exercise settings";
constexpr const char *Time = "Time";

// Bits of "Boolean settings".
constexpr uint8_t BitLoadMRU = 1 << 0;
constexpr uint8_t BitConfirmDelete = 1 << 1;
constexpr uint8_t BitConfirmSort = 1 << 2;
constexpr uint8_t BitKeyPrintsConfirmed = 1 << 3;

constexpr size_t OldExerciseSize = 6;
constexpr size_t FirstExerciseSize = 12;
constexpr size_t TimeSize = 2;
constexpr size_t TwoPlacementsSize = 20;
constexpr size_t FirstPlacementSize = 20;
constexpr size_t OldColumnsSize = 8;
constexpr size_t OldPrintSlots = 4;
constexpr size_t OldPrintSize = OldPrintSlots * SettingsRecords::PrintColumnSize;
constexpr int16_t AddedColumnWidth = 80;

// An older value of fixed size into a zeroed buffer: a short value fills its first bytes.
template<size_t Size>
std::optional<std::array<uint8_t, Size>> ReadOld(const TRegistry &registry, const char *name)
{
    std::array<uint8_t, Size> bytes{};
    const TRecordRead result = ReadRecord(registry, name, bytes.data(), Size);
    if (result != TRecordRead::Ok && result != TRecordRead::Short)
        return std::nullopt;
    return bytes;
}

// An older Boolean, stored as an integer; nullopt when missing or not an integer.
std::optional<bool> ReadOldBool(const TRegistry &registry, const char *name)
{
    const auto value = registry.ReadInteger(name);
    if (!value)
        return std::nullopt;
    return *value != 0;
}

void ReadEditOptions(const TRegistry &registry, uint8_t layout,
                     const std::optional<uint8_t> &booleans)
{
    if (layout >= 3) {
        if (booleans) {
            EditOptions.ConfirmDelete = (*booleans & BitConfirmDelete) != 0;
            EditOptions.ConfirmSort = (*booleans & BitConfirmSort) != 0;
        }
    } else {
        EditOptions.ConfirmDelete = ReadOldBool(registry, ConfirmDelete).value_or(true);
        EditOptions.ConfirmSort = ReadOldBool(registry, ConfirmSort).value_or(true);
    }
    EditOptions.NormalEnter = layout >= 4 && ReadOldBool(registry, EnterKey).value_or(true);
    EditOptions.AutoComplete = true;
}

void ReadExerciseOptions(const TRegistry &registry, uint8_t layout)
{
    if (layout == 1) {
        if (const auto old = ReadOld<FirstExerciseSize>(registry, ExerciseSettings)) {
            for (size_t i = 0; i < 3; ++i)
                ExerciseOptions.LevelThresholds[i + 1] = (*old)[4 * i];
        }
        return;
    }
    if (const auto old = ReadOld<OldExerciseSize>(registry, ExerciseSettings)) {
        ExerciseOptions.LevelThresholds = {0, (*old)[0], (*old)[1], (*old)[2]};
        ExerciseOptions.RequiredScore = (*old)[3];
        ExerciseOptions.NumQuestions = (*old)[4];
        ExerciseOptions.Flags = (*old)[5];
    }
    if (layout == 5) {
        if (const auto time = ReadOld<TimeSize>(registry, Time)) {
            ExerciseOptions.TimeLimit = (*time)[0] != 0;
            ExerciseOptions.Minutes = (*time)[1];
        }
    }
}

void ReadOtherOptions(const TRegistry &registry, uint8_t layout,
                      const std::optional<uint8_t> &booleans)
{
    if (layout >= 3) {
        if (booleans)
            OtherOptions.LoadMRU = (*booleans & BitLoadMRU) != 0;
    } else {
        OtherOptions.LoadMRU = ReadOldBool(registry, LoadMRUList).value_or(false);
    }
    OtherOptions.RegisterFileType = true;
    OtherOptions.NoiseLevel = TOtherOptions().NoiseLevel;
}

void ReadFormPlacements(const TRegistry &registry, uint8_t layout)
{
    if (layout >= 3) {
        ReadStored(registry, SN::Windows, FormPlacements);
    } else if (layout == 2) {
        if (const auto old = ReadOld<TwoPlacementsSize>(registry, SN::Windows)) {
            for (size_t i = 0; i < 2; ++i)
                SettingsRecords::Decode(old->data() + i * SettingsRecords::FormPlacementSize,
                                        FormPlacements[i]);
        }
    } else if (const auto old = ReadOld<2 * FirstPlacementSize>(registry, SN::Windows)) {
        for (size_t i = 0; i < 2; ++i) {
            const uint8_t *in = old->data() + i * FirstPlacementSize;
            TFormPlacement &placement = FormPlacements[i];
            placement.Maximized = in[0] != 0;
            // The low 16 bits of each 32-bit number keep its value for any screen position.
            placement.Left = static_cast<int16_t>(GetInt32(in + 4));
            placement.Top = static_cast<int16_t>(GetInt32(in + 8));
            placement.Width = static_cast<int16_t>(GetInt32(in + 12));
            placement.Height = static_cast<int16_t>(GetInt32(in + 16));
        }
    }
}

void ReadColumnSettings(const TRegistry &registry, uint8_t layout)
{
    if (layout < 2)
        return;
    if (const auto old = ReadOld<OldColumnsSize>(registry, SN::Columns)) {
        ColumnSettings.Widths
                = {GetInt16(old->data()), GetInt16(old->data() + 2), GetInt16(old->data() + 4),
                   AddedColumnWidth, GetInt16(old->data() + 6)};
    }
}

// The earlier print kinds: 3 the lesson, 4 an unused slot; the current ones add the part of
// speech as 3.
uint8_t CurrentPrintKind(uint8_t oldKind)
{
    switch (oldKind) {
    case 0:
    case 1:
    case 2:
        return oldKind;
    case 3:
        return 4;
    case 4:
        return 5;
    default:
        return 0;
    }
}

void ReadPrintSettings(const TRegistry &registry, uint8_t layout,
                       const std::optional<uint8_t> &booleans)
{
    if (layout < 3)
        return;
    if (booleans)
        PrintSettings.KeyPrintsConfirmed = (*booleans & BitKeyPrintsConfirmed) != 0;
    const auto old = ReadOld<OldPrintSize>(registry, SN::PrintSettings);
    if (!old)
        return;
    for (size_t i = 0; i < OldPrintSlots; ++i) {
        TPrintColumn &column = PrintSettings.Columns[i];
        SettingsRecords::Decode(old->data() + i * SettingsRecords::PrintColumnSize, column);
        column.Kind = CurrentPrintKind(column.Kind);
    }
    PrintSettings.Columns[4] = TPrintColumn{5, 0.0};
}

} // namespace

bool AllValuesExist(const TRegistry &registry, std::initializer_list<const char *> names)
{
    for (const char *name : names) {
        if (!registry.ValueExists(name))
            return false;
    }
    return true;
}

uint8_t DetectSettingsLayout(TRegistry &registry)
{
    uint8_t layout = 0;
    // A "Version" that is not an integer counts as missing.
    if (registry.OpenKey(SN::TrainerKey, false) && registry.ReadInteger(SN::Version)) {
        if (*registry.ReadInteger(SN::Version) != 0)
            registry.WriteInteger(SN::Version, 0);
        else if (AllValuesExist(registry,
                                {SN::EditOptions, SN::ExerciseOptions, SN::OtherOptions,
                                 SN::PartsOfSpeech, SN::MRUList, SN::MRUOpen, SN::MRUSave,
                                 SN::Windows, SN::Columns, SN::PrintSettings, SN::KeyPrints,
                                 SN::ForeignCharacters}))
            layout = 7;
        registry.CloseKey();
        return layout;
    }
    if (!registry.OpenKey(SN::EarlierKey, false)) {
        registry.CloseKey();
        return layout;
    }
    if (const auto version = registry.ReadInteger(SN::Version)) {
        if (*version == 0
            && AllValuesExist(registry,
                              {SN::EditOptions, SN::ExerciseOptions, SN::OtherOptions,
                               SN::PartsOfSpeech, SN::MRUList, SN::MRUOpen, SN::MRUSave,
                               SN::Windows, SN::Columns, SN::PrintSettings, SN::KeyPrints}))
            layout = 6;
    } else {
        // Tested in this order, the last match winning.
        if (AllValuesExist(registry,
                           {SN::MRUList, ExerciseSettings, SN::Windows, SN::MRUOpen, SN::MRUSave,
                            SN::Columns, SN::KeyPrints, BooleanSettings, SN::PrintSettings}))
            layout = 3;
        if (layout == 3 && AllValuesExist(registry, {EnterKey}))
            layout = 4;
        if (layout == 4 && AllValuesExist(registry, {Time}))
            layout = 5;
        if (AllValuesExist(registry,
                           {SN::MRUList, ExerciseSettings, SN::Windows, LoadMRUList, ConfirmDelete,
                            ConfirmSort}))
            layout = 1;
        if (layout == 1 && AllValuesExist(registry, {SN::Columns}))
            layout = 2;
    }
    registry.CloseKey();
    if (registry.OpenKey(SN::TrainerKey, true))
        registry.WriteInteger(SN::Version, 0);
    registry.CloseKey();
    return layout;
}

void ReadCurrentSettings(const TRegistry &registry, bool withForeignCharacters)
{
    ReadStored(registry, SN::EditOptions, EditOptions);
    ReadStored(registry, SN::ExerciseOptions, ExerciseOptions);
    ReadStored(registry, SN::OtherOptions, OtherOptions);
    ReadStored(registry, SN::PartsOfSpeech, PartsOfSpeech);
    ReadStored(registry, SN::MRUList, MRUList);
    ReadStored(registry, SN::MRUOpen, MRUOpen);
    ReadStored(registry, SN::MRUSave, MRUSave);
    ReadStored(registry, SN::Windows, FormPlacements);
    ReadStored(registry, SN::Columns, ColumnSettings);
    ReadStored(registry, SN::PrintSettings, PrintSettings);
    ReadStored(registry, SN::KeyPrints, KeyPrints);
    if (withForeignCharacters)
        ReadStored(registry, SN::ForeignCharacters, ForeignCharacters);
}

std::vector<std::string> ReadOlderSettings(uint8_t layout, bool &resetPartsOfSpeech)
{
    std::vector<std::string> removed;
    TRegistry registry(Registry::Hive::CurrentUser);
    if (layout < 6)
        resetPartsOfSpeech = true;
    if (!registry.OpenKeyReadOnly(SN::EarlierKey))
        return removed;
    if (layout == 6) {
        ReadCurrentSettings(registry, false);
        return removed;
    }
    std::optional<uint8_t> booleans;
    if (layout >= 3) {
        if (const auto old = ReadOld<1>(registry, BooleanSettings))
            booleans = (*old)[0];
        removed.emplace_back(BooleanSettings);
    } else {
        removed.insert(removed.end(), {ConfirmDelete, ConfirmSort, LoadMRUList});
    }
    if (layout >= 4)
        removed.emplace_back(EnterKey);
    removed.emplace_back(ExerciseSettings);
    if (layout == 5)
        removed.emplace_back(Time);

    ReadEditOptions(registry, layout, booleans);
    ReadExerciseOptions(registry, layout);
    ReadOtherOptions(registry, layout, booleans);
    ReadStored(registry, SN::MRUList, MRUList);
    if (layout >= 3) {
        ReadStored(registry, SN::MRUOpen, MRUOpen);
        ReadStored(registry, SN::MRUSave, MRUSave);
        ReadStored(registry, SN::KeyPrints, KeyPrints);
    }
    ReadFormPlacements(registry, layout);
    ReadColumnSettings(registry, layout);
    ReadPrintSettings(registry, layout, booleans);
    return removed;
}

void RemoveOlderValues(const std::vector<std::string> &names)
{
    TRegistry registry(Registry::Hive::CurrentUser);
    if (!registry.OpenKey(SN::EarlierKey, false))
        return;
    for (const std::string &name : names)
        registry.DeleteValue(name);
}
