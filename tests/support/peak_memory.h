// The test process's peak resident memory, to show that what a peer sends cannot make
// the program grow without bound.
#pragma once

#include <QFile>
#include <QtGlobal>

// The peak resident set size so far (VmHWM), in bytes; -1 when the system does not say.
inline qint64 peakResidentBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine())
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong() * 1024;
    return -1;
}

// What the peak grew by, in MB, between `before` and now.
inline double peakGrowthMb(qint64 before) { return double(peakResidentBytes() - before) / (1 << 20); }
