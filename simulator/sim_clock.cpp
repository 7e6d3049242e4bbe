// The datalogger's internal clock.
#include "sim_clock.h"

#include <cmath>

SimClock::SimClock(double speed)
    : m_speed(speed)
{
    m_real.start();
    // Local wall time without a time zone, as the datalogger's clock has none.
    const QDateTime local = QDateTime::currentDateTime();
    m_base = QDateTime(local.date(), local.time(), Qt::UTC);
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
