// Plausible, reproducible sensor readings as functions of channel and simulated time.
#pragma once

#include <QDateTime>
#include <QtGlobal>

class SensorModel {
public:
    // battery >= 0: the battery voltage is that, always.
    explicit SensorModel(quint32 seed, double battery = -1) : m_seed(seed), m_battery(battery) {}

    double frequency(int channel, const QDateTime& t) const;   // vibrating wire, 400-4000 Hz
    double volts(int channel, const QDateTime& t) const;       // analog sensor output, 0-2.5 V
    double temperature(int channel, const QDateTime& t) const; // degrees C
    int rainPulses(const QDateTime& from, const QDateTime& to) const;
    double internalVoltage(int which, const QDateTime& t) const; // 0: 5 V, 1: 3 V, 2: battery

private:
    double unit(quint64 a, quint64 b) const;   // reproducible number in [0, 1)
    quint32 m_seed;
    double m_battery;
};
