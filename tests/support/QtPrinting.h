#pragma once

#include <QString>
#include <ostream>

// Failed comparisons of shown texts print the text, not its bytes.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
