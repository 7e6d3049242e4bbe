// The wire log.
#include "wire_log.h"

#include <ctime>

bool WireLog::open(const QString& path)
{
    m_file.setFileName(path);
    return m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered);
}

qint64 WireLog::monotonicUs()
{
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

void WireLog::log(const char* dir, const QByteArray& bytes)
{
    if (!m_file.isOpen() || bytes.isEmpty())
        return;
    // One write per line, so a reader never sees half a line.
    m_file.write("{\"t_us\":" + QByteArray::number(monotonicUs()) + ",\"dir\":\"" + dir
                 + "\",\"hex\":\"" + bytes.toHex() + "\"}\n");
}
