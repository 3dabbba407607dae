#pragma once

#include "core/Unit_LanguagePack.h"
#include "platform/FontCatalog.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <map>

namespace {

class FakeCatalog : public IFontCatalog
{
public:
    std::vector<std::string> Families(int charset) const override
    {
        const auto found = families.find(charset);
        return found == families.end() ? std::vector<std::string>() : found->second;
    }
    bool IsInstalled(const std::string &) const override { return true; }
    bool Supports(const std::string &name, int charset) const override
    {
        for (const std::string &family : Families(charset)) {
            if (family == name)
                return true;
        }
        return false;
    }

    std::map<int, std::vector<std::string>> families;
};

class Charsets : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (int i = 0; i < MainEntryCount; ++i)
            pack.Entries.push_back("entry " + std::to_string(i));
        saved = LanguagePack;
        LanguagePack = &pack;
        SetFontCatalog(&catalog);
    }
    void TearDown() override
    {
        SetFontCatalog(nullptr);
        LanguagePack = saved;
    }

    TLanguagePack pack;
    TLanguagePack *saved = nullptr;
    FakeCatalog catalog;
};

} // namespace
