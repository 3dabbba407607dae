#include "platform/FontConfigCatalog.h"

#include "platform/CodePage.h"

#include <QString>
#include <fontconfig/fontconfig.h>
#include <initializer_list>
#include <map>
#include <memory>

namespace {

struct PatternDeleter
{
    void operator()(FcPattern *p) const { FcPatternDestroy(p); }
};
struct FontSetDeleter
{
    void operator()(FcFontSet *s) const { FcFontSetDestroy(s); }
};
struct ObjectSetDeleter
{
    void operator()(FcObjectSet *s) const { FcObjectSetDestroy(s); }
};
struct LangSetDeleter
{
    void operator()(FcLangSet *s) const { FcLangSetDestroy(s); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;
using FontSet = std::unique_ptr<FcFontSet, FontSetDeleter>;

const FcChar8 *Chars(const std::string &text)
{
    return reinterpret_cast<const FcChar8 *>(text.c_str());
}

std::string Utf8(const FcChar8 *text)
{
    return std::string(reinterpret_cast<const char *>(text));
}

std::string Utf8OfFaceName(const std::string &name)
{
    return CodePage::ToUnicode(name, CodePage::Default).toUtf8().toStdString();
}

// Languages a font must cover to show text of a character set; none for DEFAULT.
std::vector<const char *> LanguagesOf(int charset)
{
    static const std::map<int, std::vector<const char *>> table{{0, {"en", "fr", "de"}},
                                                                {238, {"pl", "cs", "hu"}},
                                                                {186, {"lt", "lv", "et"}},
                                                                {204, {"ru"}},
                                                                {161, {"el"}},
                                                                {162, {"tr"}},
                                                                {178, {"ar"}},
                                                                {177, {"he"}},
                                                                {222, {"th"}},
                                                                {163, {"vi"}},
                                                                {134, {"zh-cn"}},
                                                                {136, {"zh-tw"}},
                                                                {128, {"ja"}},
                                                                {129, {"ko"}},
                                                                {130, {"ko"}}};
    const auto found = table.find(charset);
    return found == table.end() ? std::vector<const char *>() : found->second;
}

// The families fontconfig lists for an optional family name and a character set.
std::vector<std::string> ListFamilies(const std::string *family, int charset)
{
    Pattern pattern(FcPatternCreate());
    if (family)
        FcPatternAddString(pattern.get(), FC_FAMILY, Chars(*family));
    const auto languages = LanguagesOf(charset);
    if (!languages.empty()) {
        std::unique_ptr<FcLangSet, LangSetDeleter> langs(FcLangSetCreate());
        for (const char *language : languages)
            FcLangSetAdd(langs.get(), reinterpret_cast<const FcChar8 *>(language));
        FcPatternAddLangSet(pattern.get(), FC_LANG, langs.get());
    }
    std::unique_ptr<FcObjectSet, ObjectSetDeleter> objects(FcObjectSetBuild(FC_FAMILY, nullptr));
    FontSet fonts(FcFontList(nullptr, pattern.get(), objects.get()));
    std::vector<std::string> families;
    if (!fonts)
        return families;
    for (int i = 0; i < fonts->nfont; ++i) {
        FcChar8 *name = nullptr;
        if (FcPatternGetString(fonts->fonts[i], FC_FAMILY, 0, &name) == FcResultMatch)
            families.push_back(Utf8(name));
    }
    return families;
}

bool Listed(const std::string &family)
{
    return !ListFamilies(&family, 1).empty();
}

Pattern Substituted(std::initializer_list<std::string> families)
{
    Pattern pattern(FcPatternCreate());
    for (const std::string &family : families)
        FcPatternAddString(pattern.get(), FC_FAMILY, Chars(family));
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    return pattern;
}

// The first family that a strong (or same) alias puts in place of the face and that is installed.
std::optional<std::string> StrongAlias(const std::string &family)
{
    const Pattern pattern = Substituted({family});
    FcValue value;
    FcValueBinding binding;
    for (int i = 0;
         FcPatternGetWithBinding(pattern.get(), FC_FAMILY, i, &value, &binding) == FcResultMatch;
         ++i) {
        if (value.type != FcTypeString || binding == FcValueBindingWeak)
            continue;
        const std::string alias = Utf8(value.u.s);
        if (FcStrCmpIgnoreCase(value.u.s, Chars(family)) != 0 && Listed(alias))
            return alias;
    }
    return std::nullopt;
}

bool HasFamily(const FcPattern *pattern, const char *family, int from)
{
    FcChar8 *name = nullptr;
    for (int i = from; FcPatternGetString(pattern, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
        if (FcStrCmpIgnoreCase(name, reinterpret_cast<const FcChar8 *>(family)) == 0)
            return true;
    }
    return false;
}

// Whether fontconfig's rules file the face under a generic family. Each probe names a generic
// family itself, which keeps the catch-all rule for unknown faces from adding one.
bool Classified(const std::string &family)
{
    const Pattern monospace = Substituted({family, "monospace"});
    const Pattern serif = Substituted({family, "serif"});
    return HasFamily(monospace.get(), "sans-serif", 2) || HasFamily(monospace.get(), "serif", 2)
            || HasFamily(serif.get(), "sans-serif", 2) || HasFamily(serif.get(), "monospace", 2);
}

std::optional<std::string> BestMatch(const std::string &family)
{
    Pattern pattern = Substituted({family});
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    Pattern match(FcFontMatch(nullptr, pattern.get(), &result));
    FcChar8 *name = nullptr;
    if (!match || FcPatternGetString(match.get(), FC_FAMILY, 0, &name) != FcResultMatch)
        return std::nullopt;
    return Utf8(name);
}

} // namespace

std::vector<std::string> TFontConfigCatalog::Families(int charset) const
{
    std::vector<std::string> result;
    for (const std::string &family : ListFamilies(nullptr, charset)) {
        std::string bytes;
        if (CodePage::FromUnicode(QString::fromStdString(family), CodePage::Default, bytes))
            result.push_back(bytes);
    }
    return result;
}

std::optional<std::string> TFontConfigCatalog::Resolve(const std::string &name) const
{
    if (name.empty())
        return std::nullopt;
    const std::string family = Utf8OfFaceName(name);
    if (Listed(family))
        return family;
    if (auto alias = StrongAlias(family))
        return alias;
    if (Classified(family))
        return BestMatch(family);
    return std::nullopt;
}

bool TFontConfigCatalog::IsInstalled(const std::string &name) const
{
    return Resolve(name).has_value();
}

bool TFontConfigCatalog::Supports(const std::string &name, int charset) const
{
    const std::optional<std::string> family = Resolve(name);
    return family && !ListFamilies(&*family, charset).empty();
}
