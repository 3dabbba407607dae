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

size_t TCollationKeys::Append(QStringView text, std::vector<uint8_t> &out) const
{
    const size_t at = out.size();
    if (!Collator) {
        out.push_back(0);
        return 1;
    }
    const auto *units = reinterpret_cast<const UChar *>(text.utf16());
    const auto length = static_cast<int32_t>(text.size());
    // Most keys fit in a few bytes per character; a longer one is asked for again.
    size_t room = 16 + 4 * static_cast<size_t>(length);
    out.resize(at + room);
    auto size = static_cast<size_t>(
            ucol_getSortKey(Collator, units, length, out.data() + at, static_cast<int32_t>(room)));
    if (size > room) {
        room = size;
        out.resize(at + room);
        size = static_cast<size_t>(ucol_getSortKey(Collator, units, length, out.data() + at,
                                                   static_cast<int32_t>(room)));
    }
    if (size == 0) {
        // A text ICU cannot key (it never happens for valid UTF-16) sorts first.
        out.resize(at);
        out.push_back(0);
        return 1;
    }
    out.resize(at + size);
    return size;
}
