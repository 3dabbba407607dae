#pragma once

#include "platform/FontCatalog.h"

#include <optional>

// The installed fonts as fontconfig knows them. A character set's families are those covering its
// languages. A face counts as installed when fontconfig lists it, when a strong alias maps it to
// an installed face (Arial to Liberation Sans), or when fontconfig files it under a generic family
// (MS Sans Serif under sans-serif); the face it stands for then answers for its character sets.
class TFontConfigCatalog : public IFontCatalog
{
public:
    std::vector<std::string> Families(int charset) const override;
    bool IsInstalled(const std::string &name) const override;
    bool Supports(const std::string &name, int charset) const override;

    // The installed family (UTF-8) that draws text asked for in this face, if any.
    std::optional<std::string> Resolve(const std::string &name) const;
};
