#include "support/WordListFixtures.h"

#include "core/Unit_WLFile.h"

#include <QFile>
#include <gtest/gtest.h>

TFakeFontCatalog::TFakeFontCatalog()
    : Previous(FontCatalog())
{
    SetFontCatalog(this);
}

TFakeFontCatalog::~TFakeFontCatalog()
{
    SetFontCatalog(Previous);
}

std::vector<std::string> TFakeFontCatalog::Families(int charset) const
{
    std::vector<std::string> families;
    for (const std::string &name : Installed) {
        if (Supports(name, charset))
            families.push_back(name);
    }
    return families;
}

bool TFakeFontCatalog::IsInstalled(const std::string &name) const
{
    return Installed.count(name) > 0;
}

bool TFakeFontCatalog::Supports(const std::string &name, int charset) const
{
    return IsInstalled(name) && NoFace.count({name, charset}) == 0;
}

TRecordingHooks::TRecordingHooks()
{
    SetLoadHooks(this);
}

TRecordingHooks::~TRecordingHooks()
{
    SetLoadHooks(nullptr);
}

void TRecordingHooks::ShowError(const std::string &text)
{
    Errors.push_back(text);
}

int TRecordingHooks::WarnYesNo(const std::string &text)
{
    Questions.push_back(text);
    return YesNoAnswer;
}

int TRecordingHooks::ChangeFont(int &charsetIndex, std::string &fontName)
{
    PresetCharsetIndex = charsetIndex;
    if (ChangeFontResult == 1) {
        charsetIndex = ChosenCharsetIndex;
        fontName = ChosenFont;
    }
    return ChangeFontResult;
}

int TRecordingHooks::ConvertList(TWordList &)
{
    ++Conversions;
    return ConvertResult;
}

TNumberedPack::TNumberedPack()
    : Previous(LanguagePack)
{
    for (int n = 0; n < 357; ++n)
        Pack.Entries.push_back("#" + std::to_string(n));
    LanguagePack = &Pack;
}

TNumberedPack::~TNumberedPack()
{
    LanguagePack = Previous;
}

TListBytes &TListBytes::Str(const std::string &text)
{
    Bytes += text;
    Bytes += '\0';
    return *this;
}

TListBytes &TListBytes::Int(int32_t value)
{
    const auto bits = static_cast<uint32_t>(value);
    for (int shift = 24; shift >= 0; shift -= 8)
        Bytes += static_cast<char>((bits >> shift) & 0xFF);
    return *this;
}

TListBytes &TListBytes::Byte(uint8_t value)
{
    Bytes += static_cast<char>(value);
    return *this;
}

TListBytes &TListBytes::Raw(const std::string &bytes)
{
    Bytes += bytes;
    return *this;
}

TListBytes &TListBytes::Header(int format, const std::string &foreignChars)
{
    Str(Signature(format));
    Str("Frans").Byte(0).Str("Arial").Byte(12);
    Str("Nederlands").Byte(0).Str("Times New Roman").Byte(10);
    if (format == 5)
        Str(foreignChars);
    return Str("\r");
}

TListBytes &TListBytes::Record(int format, const std::string &forWord, const std::string &sound)
{
    Str(forWord).Str("ref");
    if (format >= 2)
        Str("context");
    if (format >= 4)
        Str("noun");
    Str("les 1");
    if (format == 1)
        return Byte(1).Byte(2).Byte(7).Byte(2).Str("\r");
    Int(static_cast<int32_t>(sound.size())).Raw(sound);
    Byte(1).Byte(2).Byte(3).Byte(4).Byte(3).Byte(4).Byte(5).Byte(6);
    return Str("\r");
}

void SetRecords(TWord &word, const TRecord &one, const TRecord &two)
{
    word.Level1 = one.Level;
    word.Score1 = one.Score;
    word.Count1 = one.Count;
    word.History1 = one.History;
    word.Level2 = two.Level;
    word.Score2 = two.Score;
    word.Count2 = two.Count;
    word.History2 = two.History;
}

std::string WriteFile(const std::string &path, const std::string &bytes)
{
    QFile file(QString::fromStdString(path));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return path;
}

std::string ReadFile(const std::string &path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll().toStdString();
}
