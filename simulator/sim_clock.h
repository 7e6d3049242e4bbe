// The datalogger's internal clock: set by "g", ticking at a chosen multiple of real time.
#pragma once

#include <QDateTime>
#include <QElapsedTimer>

class SimClock {
public:
    // Starts offsetSeconds away from the host's wall time.
    explicit SimClock(double speed, qint64 offsetSeconds = 0);

    QDateTime now() const;
    void set(const QDateTime& t);   // "g" has no seconds: they restart from those of t
    double speed() const { return m_speed; }
    // Real milliseconds until the clock reaches t (0 if already there).
    qint64 realMsUntil(const QDateTime& t) const;
    // How far the clock is from the host's wall time now, in milliseconds (ahead > 0).
    qint64 offsetMs() const;

private:
    double m_speed;
    QElapsedTimer m_real;
    QDateTime m_base;      // simulated time at m_realBaseMs
    qint64 m_realBaseMs = 0;
};
