// Reading the process's peak resident memory.
#include "support/peak_memory.h"

#include <QFile>

qint64 peakResidentBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine())
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong() * 1024;
    return -1;
}

#ifdef __SANITIZE_ADDRESS__
// AddressSanitizer keeps freed blocks aside (256 MB by default) to catch their later use;
// a test that measures its peak would measure that store. A test that links this file
// keeps a small one; the options given in ASAN_OPTIONS still win.
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=8"; }
#endif
