#include "platform/CodePage.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <iconv.h>
#include <langinfo.h>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace CodePage {

namespace {

// Undefined single bytes of a single-byte code page decode to U+F700 + byte. The double-byte code
// pages map their own user-defined ranges into the BMP private-use area, so there undefined bytes
// and pairs go to plane 15 instead: U+F0000 + byte or U+F0000 + (lead << 8 | trail).
constexpr char32_t SingleFallback = 0xF700;
constexpr char32_t DoubleFallback = 0xF0000;

struct CharsetCodePage
{
    int charset;
    int codePage;
};

constexpr std::array<CharsetCodePage, 15> CharsetCodePages{{
        {0, 1252},
        {238, 1250},
        {186, 1257},
        {204, 1251},
        {161, 1253},
        {162, 1254},
        {178, 1256},
        {177, 1255},
        {222, 874},
        {163, 1258},
        {134, 936},
        {136, 950},
        {128, 932},
        {129, 949},
        {130, 1361},
}};

// The slot of a code page in CharsetCodePages, or of the default one for a code page not there.
size_t CodePageSlot(int codePage)
{
    for (size_t slot = 0; slot < CharsetCodePages.size(); ++slot) {
        if (CharsetCodePages[slot].codePage == codePage)
            return slot;
    }
    return CodePageSlot(Default);
}

class Iconv
{
public:
    Iconv(const char *to, const char *from)
        : handle(iconv_open(to, from))
    { }
    ~Iconv()
    {
        if (handle != reinterpret_cast<iconv_t>(-1))
            iconv_close(handle);
    }
    Iconv(const Iconv &) = delete;
    Iconv &operator=(const Iconv &) = delete;

    bool valid() const { return handle != reinterpret_cast<iconv_t>(-1); }

    // Converts the whole input; returns 0 on success, else the errno of the failure.
    int convert(const char *in, size_t inSize, char *out, size_t &outSize)
    {
        iconv(handle, nullptr, nullptr, nullptr, nullptr);
        char *inPtr = const_cast<char *>(in);
        char *outPtr = out;
        size_t outLeft = outSize;
        size_t result = iconv(handle, &inPtr, &inSize, &outPtr, &outLeft);
        if (result == static_cast<size_t>(-1))
            return errno;
        // Flush any shift state so a trailing character is not held back.
        if (iconv(handle, nullptr, nullptr, &outPtr, &outLeft) == static_cast<size_t>(-1))
            return errno;
        outSize -= outLeft;
        return 0;
    }

private:
    iconv_t handle;
};

// Decodes the bytes alone into one Unicode scalar; 0 when they do not form exactly one character.
char32_t DecodeOne(Iconv &decoder, const char *bytes, size_t size, int *error)
{
    std::array<char, 16> out{};
    size_t outSize = out.size();
    int failure = decoder.convert(bytes, size, out.data(), outSize);
    if (error)
        *error = failure;
    if (failure != 0 || outSize != 4)
        return 0;
    char32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(out[static_cast<size_t>(i)]);
    return value;
}

// Encodes one Unicode scalar; the byte count (1 or 2), or 0 when the code page has no encoding.
int EncodeOne(Iconv &encoder, char32_t character, unsigned &bytes)
{
    std::array<char, 4> in{};
    for (size_t i = 0; i < 4; ++i)
        in[i] = static_cast<char>(character >> (8 * i) & 0xFF);
    std::array<char, 8> out{};
    size_t outSize = out.size();
    if (encoder.convert(in.data(), in.size(), out.data(), outSize) != 0 || outSize == 0
        || outSize > 2)
        return 0;
    bytes = static_cast<unsigned char>(out[0]);
    if (outSize == 2)
        bytes = bytes << 8 | static_cast<unsigned char>(out[1]);
    return static_cast<int>(outSize);
}

class Table
{
public:
    explicit Table(int codePage);

    bool doubleByte = false;
    std::array<bool, 256> lead{};
    std::array<char32_t, 256> single{};
    // Double-byte code pages only: (lead << 8 | trail) -> character; 0 where the pair is invalid.
    std::vector<char32_t> pairs;
    // Character -> bytes (one byte, or lead << 8 | trail with the flag PairFlag).
    std::map<char32_t, unsigned> encode;

    static constexpr unsigned PairFlag = 0x10000;

    char32_t decode(std::string_view bytes, size_t &pos) const
    {
        auto first = static_cast<unsigned char>(bytes[pos]);
        if (doubleByte && lead[first] && pos + 1 < bytes.size()) {
            auto second = static_cast<unsigned char>(bytes[pos + 1]);
            char32_t character = pairs[static_cast<size_t>(first) << 8 | second];
            if (character != 0) {
                pos += 2;
                return character;
            }
        }
        ++pos;
        return single[first];
    }
};

Table::Table(int codePage)
{
    const std::string name = "CP" + std::to_string(codePage);
    Iconv decoder("UTF-32LE", name.c_str());
    Iconv encoder(name.c_str(), "UTF-32LE");
    doubleByte = codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950
            || codePage == 1361;
    const char32_t fallback = doubleByte ? DoubleFallback : SingleFallback;

    for (unsigned b = 0; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        int error = 0;
        char32_t character = decoder.valid() ? DecodeOne(decoder, &byte, 1, &error) : 0;
        lead[b] = doubleByte && error == EINVAL;
        if (b == 0)
            continue;
        if (character == 0)
            character = fallback + b;
        if (!encode.emplace(character, b).second) {
            character = fallback + b;
            encode.emplace(character, b);
        }
        single[b] = character;
    }
    if (!doubleByte)
        return;

    // A character with two encodings keeps the one the encoder chooses; the other pair decodes to
    // a plane-15 character of its own, so that both pairs survive a round trip.
    pairs.assign(65536, 0);
    std::vector<unsigned> unclaimed;
    for (unsigned first = 0; first < 256; ++first) {
        if (!lead[first])
            continue;
        for (unsigned second = 0; second < 256; ++second) {
            const std::array<char, 2> bytes{static_cast<char>(first), static_cast<char>(second)};
            const unsigned code = first << 8 | second;
            const char32_t character = DecodeOne(decoder, bytes.data(), 2, nullptr);
            if (character == 0)
                continue;
            unsigned canonical = 0;
            if (EncodeOne(encoder, character, canonical) == 2 && canonical == code
                && encode.emplace(character, code | PairFlag).second) {
                pairs[code] = character;
            } else {
                unclaimed.push_back(code);
            }
        }
    }
    for (unsigned code : unclaimed) {
        const std::array<char, 2> bytes{static_cast<char>(code >> 8), static_cast<char>(code)};
        char32_t character = DecodeOne(decoder, bytes.data(), 2, nullptr);
        if (!encode.emplace(character, code | PairFlag).second) {
            character = DoubleFallback + code;
            encode.emplace(character, code | PairFlag);
        }
        pairs[code] = character;
    }
}

// Built once per code page and never freed before exit; after that every lookup, from any thread,
// is one atomic load, as sorting a large list converts its texts from several threads at once.
const Table &TableFor(int codePage)
{
    static std::array<std::atomic<const Table *>, CharsetCodePages.size()> built{};
    static std::array<std::unique_ptr<const Table>, CharsetCodePages.size()> owned;
    static std::mutex building;
    const size_t slot = CodePageSlot(codePage);
    if (const Table *table = built[slot].load(std::memory_order_acquire))
        return *table;
    std::lock_guard lock(building);
    if (!owned[slot]) {
        owned[slot] = std::make_unique<const Table>(CharsetCodePages[slot].codePage);
        built[slot].store(owned[slot].get(), std::memory_order_release);
    }
    return *owned[slot];
}

void AppendScalar(QString &text, char32_t character)
{
    if (QChar::requiresSurrogates(character)) {
        text.append(QChar(QChar::highSurrogate(character)));
        text.append(QChar(QChar::lowSurrogate(character)));
    } else {
        text.append(QChar(static_cast<char16_t>(character)));
    }
}

// Walks the scalars of a UTF-16 text; fn(scalar) returns false to stop.
template<typename Fn> bool ForEachScalar(QStringView text, Fn fn)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t character = text[i].unicode();
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            character = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        if (!fn(character))
            return false;
    }
    return true;
}

void AppendBytes(std::string &out, unsigned bytes)
{
    if (bytes & Table::PairFlag) {
        out.push_back(static_cast<char>(bytes >> 8 & 0xFF));
        out.push_back(static_cast<char>(bytes & 0xFF));
    } else {
        out.push_back(static_cast<char>(bytes));
    }
}

} // namespace

int ForCharset(int charset)
{
    for (const auto &entry : CharsetCodePages) {
        if (entry.charset == charset)
            return entry.codePage;
    }
    return Default;
}

bool IsDoubleByte(int codePage)
{
    return TableFor(codePage).doubleByte;
}

bool IsLeadByte(int codePage, unsigned char byte)
{
    return TableFor(codePage).lead[byte];
}

QString ToUnicode(std::string_view bytes, int codePage)
{
    QString text;
    AppendUnicode(bytes, codePage, text);
    return text;
}

void AppendUnicode(std::string_view bytes, int codePage, QString &text)
{
    const Table &table = TableFor(codePage);
    text.reserve(text.size() + static_cast<qsizetype>(bytes.size()));
    for (size_t pos = 0; pos < bytes.size();) {
        char32_t character = table.decode(bytes, pos);
        if (character != 0)
            AppendScalar(text, character);
    }
}

bool FromUnicode(QStringView text, int codePage, std::string &out)
{
    const Table &table = TableFor(codePage);
    std::string encoded;
    encoded.reserve(static_cast<size_t>(text.size()));
    const bool complete = ForEachScalar(text, [&](char32_t character) {
        if (character == 0)
            return true;
        auto found = table.encode.find(character);
        if (found == table.encode.end())
            return false;
        AppendBytes(encoded, found->second);
        return true;
    });
    if (!complete)
        return false;
    out += encoded;
    return true;
}

std::string FromUnicodeLossy(QStringView text, int codePage)
{
    const Table &table = TableFor(codePage);
    std::string encoded;
    ForEachScalar(text, [&](char32_t character) {
        if (character == 0)
            return true;
        auto found = table.encode.find(character);
        if (found == table.encode.end())
            encoded.push_back('?');
        else
            AppendBytes(encoded, found->second);
        return true;
    });
    return encoded;
}

int TextFileEncoding()
{
    const char *codeset = nl_langinfo(CODESET);
    const std::string_view name = codeset ? codeset : "";
    return name == "UTF-8" || name == "utf8" ? Utf8 : 0;
}

std::string ToUtf8(std::string_view bytes, int codePage)
{
    return ToUnicode(bytes, codePage).toStdString();
}

bool FromUtf8(std::string_view utf8, int codePage, std::string &out)
{
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    // A malformed sequence decodes to the replacement character, which no code page holds.
    return FromUnicode(text, codePage, out);
}

bool CanEncode(char32_t character, int codePage)
{
    return character != 0 && TableFor(codePage).encode.count(character) != 0;
}

std::string UpperCase(std::string_view bytes, int codePage)
{
    const Table &table = TableFor(codePage);
    std::string result(bytes);
    for (size_t pos = 0; pos < bytes.size();) {
        const size_t start = pos;
        const char32_t character = table.decode(bytes, pos);
        const char32_t upper = QChar::toUpper(character);
        if (upper == character)
            continue;
        auto found = table.encode.find(upper);
        if (found == table.encode.end())
            continue;
        const bool pair = (found->second & Table::PairFlag) != 0;
        if ((pair ? 2u : 1u) != pos - start)
            continue;
        if (pair) {
            result[start] = static_cast<char>(found->second >> 8 & 0xFF);
            result[start + 1] = static_cast<char>(found->second & 0xFF);
        } else {
            result[start] = static_cast<char>(found->second);
        }
    }
    return result;
}

size_t CharLength(std::string_view bytes, size_t pos, int codePage)
{
    const Table &table = TableFor(codePage);
    if (table.doubleByte && pos + 1 < bytes.size()
        && table.lead[static_cast<unsigned char>(bytes[pos])])
        return 2;
    return 1;
}

qsizetype CharPosOfByte(std::string_view bytes, size_t bytePos, int codePage)
{
    const Table &table = TableFor(codePage);
    qsizetype chars = 0;
    for (size_t pos = 0; pos < bytes.size();) {
        const char32_t character = table.decode(bytes, pos);
        if (pos > bytePos)
            break;
        if (character != 0)
            chars += QChar::requiresSurrogates(character) ? 2 : 1;
    }
    return chars;
}

size_t BytePosOfChar(std::string_view bytes, qsizetype charPos, int codePage)
{
    const Table &table = TableFor(codePage);
    qsizetype chars = 0;
    size_t pos = 0;
    while (pos < bytes.size() && chars < charPos) {
        const char32_t character = table.decode(bytes, pos);
        if (character != 0)
            chars += QChar::requiresSurrogates(character) ? 2 : 1;
    }
    return pos;
}

} // namespace CodePage
