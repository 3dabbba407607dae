#pragma once

#include <QValidator>
#include <cstddef>

// Keeps an edit's text within what it is stored as: every character in the code page, and at most
// MaxBytes bytes once encoded. A double-byte code page holds fewer characters than bytes, so a
// limit in characters alone would let through text that the store rejects.
class TCodePageValidator : public QValidator
{
public:
    TCodePageValidator(int codePage, size_t maxBytes, QObject *parent = nullptr);

    int CodePage() const { return Page; }
    void SetCodePage(int codePage);
    size_t MaxBytes() const { return Limit; }

    State validate(QString &input, int &pos) const override;

private:
    int Page;
    size_t Limit;
};
