#pragma once

#include <QString>
#include <string>
#include <string_view>

// The 8-bit code pages of the word lists' font character sets, over iconv.
//
// Texts of the data model stay the bytes they were stored as; they become QString only where a
// widget, the printer or a file name needs them. Decoding is lossless: a byte (or byte pair) that a
// code page leaves undefined decodes to a private-use character that encodes back to the same
// bytes, so bytes -> QString -> bytes always gives the bytes back.
namespace CodePage {

constexpr int Default = 1252;
// UTF-8, the encoding of text files on a Linux desktop.
constexpr int Utf8 = 65001;

// Code page of a font character set; DEFAULT and any unknown value give Default.
int ForCharset(int charset);

bool IsDoubleByte(int codePage);
bool IsLeadByte(int codePage, unsigned char byte);

QString ToUnicode(std::string_view bytes, int codePage);
// As ToUnicode, appending to text, so that a caller converting many texts reuses one buffer.
void AppendUnicode(std::string_view bytes, int codePage, QString &text);

// Appends the encoding of text to out; false (and out unchanged) when some character has no
// encoding in the code page. U+0000 is dropped.
bool FromUnicode(QStringView text, int codePage, std::string &out);
// As FromUnicode, but a character without encoding becomes "?".
std::string FromUnicodeLossy(QStringView text, int codePage);
bool CanEncode(char32_t character, int codePage);

// The encoding of the text files the user exchanges with other programs, from the locale's
// character set: Utf8, or 0 where the locale's character set is another one (such files hold the
// program's bytes as they are stored, as 8-bit text always did).
int TextFileEncoding();
// The text in UTF-8; lossless, as ToUnicode.
std::string ToUtf8(std::string_view bytes, int codePage);
// Appends the code page's encoding of UTF-8 text to out; false (and out unchanged) when some
// character has no encoding in the code page or the text is not well-formed UTF-8.
bool FromUtf8(std::string_view utf8, int codePage, std::string &out);

// Upper case as the code page's locale gives it: a character is replaced only when its simple
// upper-case form is encoded in the same number of bytes, so lengths and positions never change.
std::string UpperCase(std::string_view bytes, int codePage);

// Length in bytes of the character that starts at bytes[pos]: 2 for a lead byte followed by a
// byte, else 1.
size_t CharLength(std::string_view bytes, size_t pos, int codePage);

// Positions in bytes and in the UTF-16 units of ToUnicode(bytes). A byte position inside a
// character maps to that character's start.
qsizetype CharPosOfByte(std::string_view bytes, size_t bytePos, int codePage);
size_t BytePosOfChar(std::string_view bytes, qsizetype charPos, int codePage);

} // namespace CodePage
