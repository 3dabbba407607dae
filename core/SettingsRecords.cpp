#include "core/SettingsRecords.h"

#include "platform/Registry.h"

#include <bit>
#include <cstring>

namespace SettingsRecords {

namespace {

void PutInt16(uint8_t *out, int16_t value)
{
    const auto bits = static_cast<uint16_t>(value);
    out[0] = static_cast<uint8_t>(bits & 0xFF);
    out[1] = static_cast<uint8_t>(bits >> 8);
}

void PutDouble(uint8_t *out, double value)
{
    const auto bits = std::bit_cast<uint64_t>(value);
    for (int i = 0; i < 8; ++i)
        out[i] = static_cast<uint8_t>(bits >> (8 * i));
}

double GetDouble(const uint8_t *in)
{
    uint64_t bits = 0;
    for (int i = 0; i < 8; ++i)
        bits |= uint64_t(in[i]) << (8 * i);
    return std::bit_cast<double>(bits);
}

uint8_t PutBool(bool value)
{
    return value ? 1 : 0;
}

template<class Record, size_t Size>
bool ReadRecordValue(const TRegistry &registry, const char *name, Record &record)
{
    uint8_t bytes[Size];
    Encode(record, bytes);
    const TRecordRead result = ReadRecord(registry, name, bytes, Size);
    if (result != TRecordRead::Ok && result != TRecordRead::Short)
        return false;
    Decode(bytes, record);
    return true;
}

template<class Record, size_t Size>
bool WriteRecordValue(TRegistry &registry, const char *name, const Record &record)
{
    uint8_t bytes[Size];
    Encode(record, bytes);
    return registry.WriteBinary(name, bytes, Size);
}

} // namespace

int16_t GetInt16(const uint8_t *in)
{
    return static_cast<int16_t>(static_cast<uint16_t>(in[0] | (in[1] << 8)));
}

int32_t GetInt32(const uint8_t *in)
{
    return static_cast<int32_t>(uint32_t(in[0]) | (uint32_t(in[1]) << 8) | (uint32_t(in[2]) << 16)
                                | (uint32_t(in[3]) << 24));
}

void Encode(const TEditOptions &record, uint8_t *out)
{
    out[0] = PutBool(record.ConfirmDelete);
    out[1] = PutBool(record.ConfirmSort);
    out[2] = PutBool(record.NormalEnter);
    out[3] = PutBool(record.AutoComplete);
}

void Decode(const uint8_t *in, TEditOptions &record)
{
    record.ConfirmDelete = in[0] != 0;
    record.ConfirmSort = in[1] != 0;
    record.NormalEnter = in[2] != 0;
    record.AutoComplete = in[3] != 0;
}

void Encode(const TExerciseOptions &record, uint8_t *out)
{
    out[0] = record.NumQuestions;
    out[1] = PutBool(record.TimeLimit);
    out[2] = record.Minutes;
    out[3] = record.Flags;
    out[4] = record.RequiredScore;
    out[5] = record.LevelThresholds[1];
    out[6] = record.LevelThresholds[2];
    out[7] = record.LevelThresholds[3];
}

void Decode(const uint8_t *in, TExerciseOptions &record)
{
    record.NumQuestions = in[0];
    record.TimeLimit = in[1] != 0;
    record.Minutes = in[2];
    record.Flags = in[3];
    record.RequiredScore = in[4];
    record.LevelThresholds = {0, in[5], in[6], in[7]};
}

void Encode(const TOtherOptions &record, uint8_t *out)
{
    out[0] = PutBool(record.LoadMRU);
    out[1] = PutBool(record.RegisterFileType);
    out[2] = record.NoiseLevel;
}

void Decode(const uint8_t *in, TOtherOptions &record)
{
    record.LoadMRU = in[0] != 0;
    record.RegisterFileType = in[1] != 0;
    record.NoiseLevel = in[2];
}

void Encode(const TFormPlacement &record, uint8_t *out)
{
    out[0] = PutBool(record.Maximized);
    out[1] = 0;
    PutInt16(out + 2, record.Left);
    PutInt16(out + 4, record.Top);
    PutInt16(out + 6, record.Width);
    PutInt16(out + 8, record.Height);
}

void Decode(const uint8_t *in, TFormPlacement &record)
{
    record.Maximized = in[0] != 0;
    record.Left = GetInt16(in + 2);
    record.Top = GetInt16(in + 4);
    record.Width = GetInt16(in + 6);
    record.Height = GetInt16(in + 8);
}

void Encode(const std::array<TFormPlacement, 3> &record, uint8_t *out)
{
    for (size_t i = 0; i < record.size(); ++i)
        Encode(record[i], out + i * FormPlacementSize);
}

void Decode(const uint8_t *in, std::array<TFormPlacement, 3> &record)
{
    for (size_t i = 0; i < record.size(); ++i)
        Decode(in + i * FormPlacementSize, record[i]);
}

void Encode(const TColumnSettings &record, uint8_t *out)
{
    std::memcpy(out, record.Order.data(), record.Order.size());
    out[9] = 0;
    for (size_t i = 0; i < record.Widths.size(); ++i)
        PutInt16(out + 10 + 2 * i, record.Widths[i]);
}

void Decode(const uint8_t *in, TColumnSettings &record)
{
    std::memcpy(record.Order.data(), in, record.Order.size());
    for (size_t i = 0; i < record.Widths.size(); ++i)
        record.Widths[i] = GetInt16(in + 10 + 2 * i);
}

void Encode(const TPrintColumn &record, uint8_t *out)
{
    out[0] = record.Kind;
    out[1] = out[2] = out[3] = 0;
    PutDouble(out + 4, record.Width);
}

void Decode(const uint8_t *in, TPrintColumn &record)
{
    record.Kind = in[0];
    record.Width = GetDouble(in + 4);
}

void Encode(const TPrintSettings &record, uint8_t *out)
{
    out[0] = PutBool(record.KeyPrintsConfirmed);
    out[1] = out[2] = out[3] = 0;
    for (size_t i = 0; i < record.Columns.size(); ++i)
        Encode(record.Columns[i], out + 4 + i * PrintColumnSize);
}

void Decode(const uint8_t *in, TPrintSettings &record)
{
    record.KeyPrintsConfirmed = in[0] != 0;
    for (size_t i = 0; i < record.Columns.size(); ++i)
        Decode(in + 4 + i * PrintColumnSize, record.Columns[i]);
}

bool ReadStored(const TRegistry &registry, const char *name, TEditOptions &record)
{
    return ReadRecordValue<TEditOptions, EditOptionsSize>(registry, name, record);
}

bool ReadStored(const TRegistry &registry, const char *name, TExerciseOptions &record)
{
    return ReadRecordValue<TExerciseOptions, ExerciseOptionsSize>(registry, name, record);
}

bool ReadStored(const TRegistry &registry, const char *name, TOtherOptions &record)
{
    return ReadRecordValue<TOtherOptions, OtherOptionsSize>(registry, name, record);
}

bool ReadStored(const TRegistry &registry, const char *name, std::array<TFormPlacement, 3> &record)
{
    return ReadRecordValue<std::array<TFormPlacement, 3>, FormPlacementsSize>(registry, name,
                                                                              record);
}

bool ReadStored(const TRegistry &registry, const char *name, TColumnSettings &record)
{
    return ReadRecordValue<TColumnSettings, ColumnSettingsSize>(registry, name, record);
}

bool ReadStored(const TRegistry &registry, const char *name, TPrintSettings &record)
{
    return ReadRecordValue<TPrintSettings, PrintSettingsSize>(registry, name, record);
}

bool ReadStored(const TRegistry &registry, const char *name, std::string &text)
{
    auto stored = registry.ReadString(name);
    if (!stored)
        return false;
    text = std::move(*stored);
    return true;
}

bool WriteStored(TRegistry &registry, const char *name, const TEditOptions &record)
{
    return WriteRecordValue<TEditOptions, EditOptionsSize>(registry, name, record);
}

bool WriteStored(TRegistry &registry, const char *name, const TExerciseOptions &record)
{
    return WriteRecordValue<TExerciseOptions, ExerciseOptionsSize>(registry, name, record);
}

bool WriteStored(TRegistry &registry, const char *name, const TOtherOptions &record)
{
    return WriteRecordValue<TOtherOptions, OtherOptionsSize>(registry, name, record);
}

bool WriteStored(TRegistry &registry, const char *name, const std::array<TFormPlacement, 3> &record)
{
    return WriteRecordValue<std::array<TFormPlacement, 3>, FormPlacementsSize>(registry, name,
                                                                               record);
}

bool WriteStored(TRegistry &registry, const char *name, const TColumnSettings &record)
{
    return WriteRecordValue<TColumnSettings, ColumnSettingsSize>(registry, name, record);
}

bool WriteStored(TRegistry &registry, const char *name, const TPrintSettings &record)
{
    return WriteRecordValue<TPrintSettings, PrintSettingsSize>(registry, name, record);
}

} // namespace SettingsRecords
