#include "platform/CodePage.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

const std::vector<int> SingleByte{1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258, 874};
const std::vector<int> DoubleByte{932, 936, 949, 950, 1361};

std::string AllBytes()
{
    std::string bytes;
    for (int b = 1; b < 256; ++b)
        bytes.push_back(static_cast<char>(b));
    return bytes;
}

std::string Encode(const QString &text, int codePage)
{
    std::string out;
    EXPECT_TRUE(CodePage::FromUnicode(text, codePage, out));
    return out;
}

} // namespace

TEST(CodePage, CharsetsMapToTheirCodePages)
{
    EXPECT_EQ(1252, CodePage::ForCharset(0));
    EXPECT_EQ(1252, CodePage::ForCharset(1));
    EXPECT_EQ(1252, CodePage::ForCharset(2));
    EXPECT_EQ(1250, CodePage::ForCharset(238));
    EXPECT_EQ(1251, CodePage::ForCharset(204));
    EXPECT_EQ(874, CodePage::ForCharset(222));
    EXPECT_EQ(932, CodePage::ForCharset(128));
    EXPECT_EQ(1361, CodePage::ForCharset(130));
}

TEST(CodePage, EverySingleByteTableRoundTripsAllBytes)
{
    for (int codePage : SingleByte) {
        SCOPED_TRACE(codePage);
        const std::string bytes = AllBytes();
        const QString text = CodePage::ToUnicode(bytes, codePage);
        EXPECT_EQ(255, text.size());
        EXPECT_EQ(bytes, Encode(text, codePage));
        EXPECT_EQ(QStringLiteral("A"), CodePage::ToUnicode("A", codePage));
    }
}

TEST(CodePage, UndefinedBytesBecomePrivateCharactersAndBack)
{
    const QString text = CodePage::ToUnicode("\x81\x8D\x8F\x90\x9D", 1252);
    ASSERT_EQ(5, text.size());
    EXPECT_EQ(0xF781, text[0].unicode());
    EXPECT_EQ(0xF79D, text[4].unicode());
    EXPECT_EQ("\x81\x8D\x8F\x90\x9D", Encode(text, 1252));
    // A private character stands only for a byte the code page leaves undefined.
    EXPECT_FALSE(CodePage::CanEncode(0xF741, 1252));
}

TEST(CodePage, DecodesEachByteAloneSoNothingComposes)
{
    // In CP1258 0xCC is a combining grave accent; after "a" it must stay a character of its own.
    const QString text = CodePage::ToUnicode("a\xCC", 1258);
    ASSERT_EQ(2, text.size());
    EXPECT_EQ(QChar('a'), text[0]);
    EXPECT_EQ("a\xCC", Encode(text, 1258));
}

TEST(CodePage, KnownCharactersOfSeveralCodePages)
{
    EXPECT_EQ(QString::fromUtf8("é€"), CodePage::ToUnicode("\xE9\x80", 1252));
    EXPECT_EQ(QString::fromUtf8("Ж"), CodePage::ToUnicode("\xC6", 1251));
    EXPECT_EQ(QString::fromUtf8("ő"), CodePage::ToUnicode("\xF5", 1250));
    EXPECT_EQ(QString::fromUtf8("ア"), CodePage::ToUnicode("\x83\x41", 932));
    EXPECT_EQ(QString::fromUtf8("中"), CodePage::ToUnicode("\xD6\xD0", 936));
    EXPECT_EQ("\x83\x41", Encode(QString::fromUtf8("ア"), 932));
}

TEST(CodePage, UnencodableTextIsRefusedOrBecomesAQuestionMark)
{
    std::string out = "x";
    EXPECT_FALSE(CodePage::FromUnicode(QString::fromUtf8("aЖb"), 1252, out));
    EXPECT_EQ("x", out);
    EXPECT_EQ("a?b", CodePage::FromUnicodeLossy(QString::fromUtf8("aЖb"), 1252));
    EXPECT_FALSE(CodePage::CanEncode(0x0416, 1252));
    EXPECT_TRUE(CodePage::CanEncode(0x0416, 1251));
    EXPECT_EQ("ab", CodePage::FromUnicodeLossy(QStringView(u"a\0b", 3), 1252));
}

TEST(CodePage, DoubleByteTextRoundTripsAndKnowsItsLeadBytes)
{
    EXPECT_TRUE(CodePage::IsDoubleByte(932));
    EXPECT_FALSE(CodePage::IsDoubleByte(1252));
    EXPECT_TRUE(CodePage::IsLeadByte(932, 0x83));
    EXPECT_FALSE(CodePage::IsLeadByte(932, 0x41));
    EXPECT_FALSE(CodePage::IsLeadByte(1252, 0x83));
    for (int codePage : DoubleByte) {
        SCOPED_TRACE(codePage);
        // Every lead byte with every trail byte, a lone lead byte at the end, and single bytes.
        std::string bytes = AllBytes();
        for (int lead = 0x81; lead < 0xFF; ++lead) {
            if (!CodePage::IsLeadByte(codePage, static_cast<unsigned char>(lead)))
                continue;
            for (int trail = 1; trail < 256; ++trail) {
                bytes.push_back(static_cast<char>(lead));
                bytes.push_back(static_cast<char>(trail));
            }
        }
        bytes.push_back('\x81');
        const QString text = CodePage::ToUnicode(bytes, codePage);
        EXPECT_EQ(bytes, Encode(text, codePage));
    }
}

TEST(CodePage, UpperCaseKeepsLengthsAndLeavesTrailBytesAlone)
{
    EXPECT_EQ("\xC9T\xC9", CodePage::UpperCase("\xE9t\xE9", 1252));
    // sharp s and micro sign have no one-byte upper case: they stay.
    EXPECT_EQ("\xDF\xB5", CodePage::UpperCase("\xDF\xB5", 1252));
    EXPECT_EQ("\xC6", CodePage::UpperCase("\xE6", 1251));
    // 0x83 0x61 is one character in CP932; its trail byte is not the letter a.
    EXPECT_EQ("\x83\x61"
              "A",
              CodePage::UpperCase("\x83\x61"
                                  "a",
                                  932));
}

TEST(CodePage, PositionsMapBetweenBytesAndCharacters)
{
    const std::string bytes = "a\x83\x41"
                              "b";
    EXPECT_EQ(0, CodePage::CharPosOfByte(bytes, 0, 932));
    EXPECT_EQ(1, CodePage::CharPosOfByte(bytes, 1, 932));
    EXPECT_EQ(1, CodePage::CharPosOfByte(bytes, 2, 932));
    EXPECT_EQ(2, CodePage::CharPosOfByte(bytes, 3, 932));
    EXPECT_EQ(3, CodePage::CharPosOfByte(bytes, 4, 932));
    EXPECT_EQ(0u, CodePage::BytePosOfChar(bytes, 0, 932));
    EXPECT_EQ(1u, CodePage::BytePosOfChar(bytes, 1, 932));
    EXPECT_EQ(3u, CodePage::BytePosOfChar(bytes, 2, 932));
    EXPECT_EQ(4u, CodePage::BytePosOfChar(bytes, 9, 932));
    EXPECT_EQ(2u, CodePage::CharLength(bytes, 1, 932));
    EXPECT_EQ(1u, CodePage::CharLength(bytes, 1, 1252));
    EXPECT_EQ(1u, CodePage::CharLength("\x83", 0, 932));
}
