// The datalogger's internal clock.
#include "sim_clock.h"

#include <cmath>

namespace {

// Local wall time without a time zone, as the datalogger's clock has none.
QDateTime hostWallTime()
{
    const QDateTime local = QDateTime::currentDateTime();
    return QDateTime(local.date(), local.time(), Qt::UTC);
}

} // namespace

SimClock::SimClock(double speed, qint64 offsetSeconds)
    : m_speed(speed)
{
    m_real.start();
    m_base = hostWallTime().addSecs(offsetSeconds);
}

qint64 SimClock::offsetMs() const
{
    return hostWallTime().msecsTo(now());
}

QDateTime SimClock::now() const
{
    const qint64 realMs = m_real.elapsed() - m_realBaseMs;
    return m_base.addMSecs(qint64(std::llround(double(realMs) * m_speed)));
}

void SimClock::set(const QDateTime& t)
{
    m_realBaseMs = m_real.elapsed();
    m_base = QDateTime(t.date(), t.time(), Qt::UTC);
}

qint64 SimClock::realMsUntil(const QDateTime& t) const
{
    const qint64 simMs = now().msecsTo(t);
    if (simMs <= 0)
        return 0;
    return qint64(std::ceil(double(simMs) / m_speed));
}
