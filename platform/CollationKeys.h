#pragma once

#include <QStringView>
#include <cstdint>
#include <string>
#include <vector>

struct UCollator;

// Sort keys of a locale's collation, letter case counting, as plain bytes: comparing two keys
// byte by byte gives the order of their texts under that collation. Each key ends with a 0 byte
// and holds no other, so the shorter of two keys that agree up to its end is the smaller.
//
// One collator serves one thread; build keys on several threads with one collator each.
class TCollationKeys
{
public:
    // A locale name in either form, "de_DE" or "de-DE".
    explicit TCollationKeys(const std::string &localeName);
    ~TCollationKeys();
    TCollationKeys(const TCollationKeys &) = delete;
    TCollationKeys &operator=(const TCollationKeys &) = delete;

    // Appends the key of text to out; answers its length, the final 0 included.
    size_t Append(QStringView text, std::vector<uint8_t> &out);

private:
    static constexpr size_t MinBuffer = 1024;

    UCollator *Collator = nullptr;
    std::vector<uint8_t> Buffer;
};
