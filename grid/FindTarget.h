#pragma once

#include <cstdint>
#include <string>

// What the find window asks of the word grid's search. Texts are bytes of the searched column's
// code page.
class IFindTarget
{
public:
    virtual ~IFindTarget() = default;

    // Fixes the rows that the searches of this showing of the window are bounded by.
    virtual void PrepareTargetRows() = 0;
    // Column 0..4: foreign word, reference word, context, part of speech, lesson. Mode 0
    // contains, 1 equals, 2 begins with.
    virtual void FindNext(uint8_t column, uint8_t mode, bool replace, bool inSelection,
                          const std::string &findText, const std::string &replaceText)
            = 0;
    virtual void ReplaceAll(uint8_t column, uint8_t mode, const std::string &findText,
                            const std::string &replaceText)
            = 0;
};
