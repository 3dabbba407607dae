#include "platform/CollationKeys.h"

#include <unicode/ucol.h>

// The collation that Qt's own collator uses for a locale with case sensitivity on: the locale's
// rules at their default strength, canonical equivalents normalised, digits compared one by one
// and punctuation counted.
TCollationKeys::TCollationKeys(const std::string &localeName)
{
    UErrorCode status = U_ZERO_ERROR;
    Collator = ucol_open(localeName.c_str(), &status);
    if (U_FAILURE(status)) {
        Collator = nullptr;
        status = U_ZERO_ERROR;
        Collator = ucol_open("", &status);
    }
    if (!Collator)
        return;
    status = U_ZERO_ERROR;
    ucol_setAttribute(Collator, UCOL_NORMALIZATION_MODE, UCOL_ON, &status);
    status = U_ZERO_ERROR;
    ucol_setAttribute(Collator, UCOL_STRENGTH, UCOL_DEFAULT_STRENGTH, &status);
    status = U_ZERO_ERROR;
    ucol_setAttribute(Collator, UCOL_NUMERIC_COLLATION, UCOL_OFF, &status);
    status = U_ZERO_ERROR;
    ucol_setAttribute(Collator, UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, &status);
}

TCollationKeys::~TCollationKeys()
{
    if (Collator)
        ucol_close(Collator);
}

size_t TCollationKeys::Append(QStringView text, std::vector<uint8_t> &out)
{
    if (!Collator) {
        out.push_back(0);
        return 1;
    }
    const auto *units = reinterpret_cast<const UChar *>(text.utf16());
    const auto length = static_cast<int32_t>(text.size());
    // Keys go through a buffer of this collator's own, so the arena never fills bytes it then
    // overwrites; a key longer than the buffer is asked for again.
    if (Buffer.size() < MinBuffer)
        Buffer.resize(MinBuffer);
    auto size = static_cast<size_t>(ucol_getSortKey(Collator, units, length, Buffer.data(),
                                                    static_cast<int32_t>(Buffer.size())));
    if (size > Buffer.size()) {
        Buffer.resize(size);
        size = static_cast<size_t>(ucol_getSortKey(Collator, units, length, Buffer.data(),
                                                   static_cast<int32_t>(Buffer.size())));
    }
    if (size == 0) {
        // A text ICU cannot key (it never happens for valid UTF-16) sorts first.
        out.push_back(0);
        return 1;
    }
    out.insert(out.end(), Buffer.begin(), Buffer.begin() + static_cast<std::ptrdiff_t>(size));
    return size;
}
