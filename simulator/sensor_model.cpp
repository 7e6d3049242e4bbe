// Slowly drifting sensor readings with a little reproducible noise.
#include "sensor_model.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kTwoPi = 6.283185307179586;

quint64 mix(quint64 x)
{
    x ^= x >> 33;
    x *= 0xff51afd7ed558ccdULL;
    x ^= x >> 33;
    x *= 0xc4ceb9fe1a85ec53ULL;
    x ^= x >> 33;
    return x;
}

double seconds(const QDateTime& t)
{
    return double(t.toSecsSinceEpoch());
}

} // namespace

double SensorModel::unit(quint64 a, quint64 b) const
{
    return double(mix(mix(a + m_seed * 0x9e3779b97f4a7c15ULL) ^ b) >> 11) / double(1ULL << 53);
}

double SensorModel::frequency(int channel, const QDateTime& t) const
{
    const double base = 700.0 + 2600.0 * unit(channel, 1);
    const double period = 3.0 * 86400.0 + 3600.0 * channel;   // days: a structure moving slowly
    const double s = seconds(t);
    const double drift = 40.0 * std::sin(kTwoPi * s / period + channel);
    const double noise = 0.6 * (unit(channel, quint64(s)) - 0.5);
    return std::clamp(base + drift + noise, 400.0, 4000.0);
}

double SensorModel::volts(int channel, const QDateTime& t) const
{
    const double base = 0.3 + 1.9 * unit(channel, 2);
    const double s = seconds(t);
    const double drift = 0.08 * std::sin(kTwoPi * s / (2.0 * 86400.0) + channel);
    const double noise = 0.002 * (unit(channel + 100, quint64(s)) - 0.5);
    return std::clamp(base + drift + noise, 0.0, 2.5);
}

double SensorModel::temperature(int channel, const QDateTime& t) const
{
    const double s = seconds(t);
    const double daily = 4.0 * std::sin(kTwoPi * (s - 8.0 * 3600.0) / 86400.0);
    const double noise = 0.2 * (unit(channel + 200, quint64(s)) - 0.5);
    return 14.0 + 0.15 * channel + daily + noise;
}

int SensorModel::rainPulses(const QDateTime& from, const QDateTime& to) const
{
    if (to <= from)
        return 0;
    // About one interval in five sees rain; a shower gives a few pulses per minute.
    const quint64 bucket = quint64(seconds(to)) / 60;
    if (unit(300, bucket / 30) > 0.2)
        return 0;
    const double minutes = std::min(600.0, double(from.secsTo(to)) / 60.0);
    return int(std::lround(minutes * 2.0 * unit(301, bucket)));
}

double SensorModel::internalVoltage(int which, const QDateTime& t) const
{
    const double s = seconds(t);
    const double noise = unit(400 + which, quint64(s)) - 0.5;
    switch (which) {
    case 0: return 5.02 + 0.02 * noise;
    case 1: return 3.31 + 0.01 * noise;
    default:
        if (m_battery >= 0)
            return m_battery;
        return 12.6 - 0.3 * std::fmod(s / 86400.0, 7.0) / 7.0 + 0.02 * noise;
    }
}
