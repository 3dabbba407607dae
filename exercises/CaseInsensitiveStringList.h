#pragma once

#include <QCollator>
#include <QString>
#include <string>
#include <vector>

// A sorted list of distinct texts (bytes in the default code page), ordered and looked up by the
// locale's case-insensitive comparison: texts that differ only in letter case count as one.
class CaseInsensitiveStringList
{
public:
    CaseInsensitiveStringList();

    // Adds text unless an equal one is listed already (the one listed first stays); false then.
    bool Add(const std::string &text);
    bool Contains(const std::string &text) const;
    int Count() const { return static_cast<int>(Items.size()); }
    const std::string &operator[](int index) const
    {
        return Items[static_cast<size_t>(index)].Bytes;
    }

private:
    struct TItem
    {
        std::string Bytes;
        QString Text;
    };

    // The first position whose text does not sort before text.
    size_t LowerBound(const QString &text) const;

    QCollator Collator;
    std::vector<TItem> Items;
};
