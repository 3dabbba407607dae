#pragma once

#include "core/Unit_GlobalSettings.h"
#include "core/Unit_LanguagePack.h"
#include "platform/Registry.h"
#include "support/StoreFixture.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

// A fresh store with the machine-wide language seeded (as the installer leaves it), a language
// pack whose entry 307 is the default parts of speech, and a reporter that records what it is
// given.
class SettingsFixture : public ::testing::Test
{
protected:
    static constexpr const char *TrainerKey = "\\Software\\Tarnwick";
    static constexpr const char *EarlierKey = "\\Software\\Brimlow\\Corvellan";
    static constexpr const char *DefaultPartsOfSpeech = "noun,verb;adjective,adverb";

    void SetUp() override
    {
        ASSERT_EQ(RunTarnreg({"set", "HKLM", TrainerKey, "Language", "string", "Nederlands"}), 0);
        pack.Entries.assign(357, "");
        pack.Entries[307] = DefaultPartsOfSpeech;
        LanguagePack = &pack;
        SetSettingsErrorReporter([this](const std::string &text) { reports.push_back(text); });
        SetDefaultSettings();
    }
    void TearDown() override
    {
        SetSettingsErrorReporter(nullptr);
        LanguagePack = nullptr;
        SetDefaultSettings();
        Language.clear();
    }

    static void PutBinary(const char *key, const char *name, const std::vector<uint8_t> &bytes)
    {
        TRegistry registry;
        ASSERT_TRUE(registry.OpenKey(key, true));
        ASSERT_TRUE(registry.WriteBinary(name, bytes.data(), bytes.size()));
    }
    static void PutInteger(const char *key, const char *name, int32_t value)
    {
        TRegistry registry;
        ASSERT_TRUE(registry.OpenKey(key, true));
        ASSERT_TRUE(registry.WriteInteger(name, value));
    }
    static void PutString(const char *key, const char *name, const std::string &value)
    {
        TRegistry registry;
        ASSERT_TRUE(registry.OpenKey(key, true));
        ASSERT_TRUE(registry.WriteString(name, value));
    }
    static std::vector<uint8_t> Binary(const char *key, const char *name)
    {
        TRegistry registry;
        if (!registry.OpenKey(key, false))
            return {};
        return registry.ReadBinary(name).value_or(std::vector<uint8_t>{});
    }
    static std::vector<std::string> ValueNames(const char *key)
    {
        TRegistry registry;
        if (!registry.OpenKey(key, false))
            return {};
        return registry.GetValueNames();
    }

    // Loads the settings, expecting success.
    bool Load()
    {
        bool reset = false;
        EXPECT_TRUE(LoadSettings(reset));
        return reset;
    }

    std::string UserFile() const { return store.ReadFile("HKEY_CURRENT_USER.reg"); }

    TStoreDir store;
    TLanguagePack pack;
    std::vector<std::string> reports;
};

// Little-endian bytes of a double, written out independently of the code under test.
std::vector<uint8_t> DoubleBytes(double value);
// A 12-byte print slot: kind, 3 pad bytes, share.
std::vector<uint8_t> PrintSlot(uint8_t kind, double share);
std::vector<uint8_t> Join(std::initializer_list<std::vector<uint8_t>> parts);
