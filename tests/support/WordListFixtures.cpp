#include "support/WordListFixtures.h"

#include "core/Unit_WLFile.h"

#include <QFile>
#include <algorithm>
#include <gtest/gtest.h>
#include <ostream>

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
    return Installed.count(name) > 0 || Aliases.count(name) > 0;
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

void TRecordingHooks::ShowError(const QString &text)
{
    // UTF-8: the file names in errors compare byte for byte.
    Errors.push_back(text.toStdString());
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
    for (int n = 0; n < MainEntryCount; ++n)
        Pack.Entries.push_back("#" + std::to_string(n));
    LanguagePack = &Pack;
}

std::string NumberedText(TEntry entry)
{
    return "#" + std::to_string(static_cast<int>(entry));
}

QString NumberedQText(TEntry entry)
{
    return QString::fromStdString(NumberedText(entry));
}

TNumberedPack::~TNumberedPack()
{
    LanguagePack = Previous;
}

TShippedPack::TShippedPack(const std::string &name)
    : Previous(LanguagePack)
    , loaded(Pack.LoadFile(TARNWICK_SOURCE_DIR "/lang/" + name + ".lng"))
{
    LanguagePack = &Pack;
}

TShippedPack::~TShippedPack()
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

std::ostream &operator<<(std::ostream &out, const TRecord &record)
{
    return out << int(record.Level) << "/" << record.Score << "/" << record.Count << "/"
               << record.History;
}

TRecord RecordOf(const TWord &word, int direction)
{
    return direction == 1 ? TRecord{word.Level1, word.Score1, word.Count1, word.History1}
                          : TRecord{word.Level2, word.Score2, word.Count2, word.History2};
}

TRecord Answered(TRecord before, bool right)
{
    if (right)
        before.Score = std::min(before.Score + 1, 30);
    before.Count = std::min(before.Count + 1, 5);
    before.History = before.History * 2 + (right ? 1 : 0);
    return before;
}

TListBuilder::TListBuilder()
    : owned(std::make_unique<TWordList>())
    , list(owned.get())
{ }

TListBuilder::TListBuilder(TWordList &list)
    : list(&list)
{ }

TListBuilder &TListBuilder::Languages(const std::string &forLanguage, uint8_t forCharset,
                                      const std::string &refLanguage, uint8_t refCharset)
{
    list->InitLanguages(forLanguage, forCharset, "Arial", 10, refLanguage, refCharset, "Arial", 10);
    return *this;
}

TListBuilder &TListBuilder::ForeignChars(const std::string &chars)
{
    list->SetForeignChars(chars);
    return *this;
}

TListBuilder &TListBuilder::Word(const std::string &forWord, const std::string &refWord,
                                 const std::string &lesson)
{
    firstAdded = list->Count();
    list->Add(std::make_unique<TWord>(forWord, refWord, lesson));
    return *this;
}

namespace {

std::string Numbered(std::string text, int index)
{
    const std::string number = std::to_string(index);
    for (size_t at = text.find('#'); at != std::string::npos; at = text.find('#', at)) {
        text.replace(at, 1, number);
        at += number.size();
    }
    return text;
}

} // namespace

TListBuilder &TListBuilder::Words(int count, const std::string &forWord, const std::string &refWord,
                                  const std::string &lesson)
{
    firstAdded = list->Count();
    for (int index = firstAdded; index < firstAdded + count; ++index)
        list->Add(std::make_unique<TWord>(Numbered(forWord, index), Numbered(refWord, index),
                                          Numbered(lesson, index)));
    return *this;
}

TListBuilder &TListBuilder::Words(std::initializer_list<std::string> forWords)
{
    firstAdded = list->Count();
    for (const std::string &forWord : forWords)
        list->Add(std::make_unique<TWord>(forWord, "", ""));
    return *this;
}

template<typename Shape> TListBuilder &TListBuilder::ShapeAdded(Shape shape)
{
    for (int index = firstAdded; index < list->Count(); ++index)
        shape(list->Word(index));
    return *this;
}

TListBuilder &TListBuilder::PartOfSpeech(const std::string &text)
{
    return ShapeAdded([&](TWord &word) { word.PartOfSpeech = text; });
}

TListBuilder &TListBuilder::Context(const std::string &text)
{
    return ShapeAdded([&](TWord &word) { word.Context = text; });
}

TListBuilder &TListBuilder::Records(const TRecord &one, const TRecord &two)
{
    return ShapeAdded([&](TWord &word) {
        word.Level1 = one.Level;
        word.Score1 = one.Score;
        word.Count1 = one.Count;
        word.History1 = one.History;
        word.Level2 = two.Level;
        word.Score2 = two.Score;
        word.Count2 = two.Count;
        word.History2 = two.History;
    });
}

TListBuilder &TListBuilder::Levels(uint8_t one, uint8_t two)
{
    return ShapeAdded([&](TWord &word) {
        word.Level1 = one;
        word.Level2 = two;
    });
}

std::unique_ptr<TWordList> TListBuilder::Take()
{
    EXPECT_NE(nullptr, owned) << "the list is the test's own";
    return std::move(owned);
}

std::unique_ptr<TWordList> FrenchList(int words, const std::string &foreignChars)
{
    return TListBuilder()
            .Languages("Frans", 1, "Nederlands", 1)
            .Words(words, "mot#", "woord")
            .ForeignChars(foreignChars)
            .Take();
}

void GiveSound(TWordList &list, int index, const std::string &bytes)
{
    QFile store(QString::fromStdString(list.SoundTempFile));
    ASSERT_TRUE(store.open(QIODevice::Append));
    const auto offset = static_cast<int32_t>(store.size());
    ASSERT_EQ(static_cast<qint64>(bytes.size()),
              store.write(bytes.data(), static_cast<qint64>(bytes.size())));
    list.SetSound(index, offset, static_cast<int32_t>(bytes.size()));
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
