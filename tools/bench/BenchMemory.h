#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>

// The resident memory of this process in MiB, from the kernel's account of it; 0 where that
// cannot be read.
inline double ResidentMiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    constexpr double PageMiB = 4096.0 / (1024.0 * 1024.0);
    return fields.size() > 1 ? fields[1].toDouble() * PageMiB : 0;
}
