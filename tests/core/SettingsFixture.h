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
    static constexpr const char *EarlierKey = "\\Software\\Brimlow\\Corvellan";
    static constexpr const char *DefaultPartsOfSpeech = "noun,verb;adjective,adverb";

    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(SeedInstalledStore());
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
