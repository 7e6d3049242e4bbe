// Fault injection on the datalogger's replies: silence, delay, truncation, garbage.
#pragma once

#include "options.h"

#include <QByteArray>

class Faults {
public:
    explicit Faults(const FaultOptions& o) : m_o(o) {}

    // The reply as the faulty datalogger sends it; empty when it stays silent.
    QByteArray apply(const QByteArray& letter, const QByteArray& reply) const;
    int delayMs(const QByteArray& letter) const;
    qint64 dropAfterBytes() const { return m_o.dropAfterBytes; }
    bool silentAll() const { return m_o.silentAll; }

private:
    static bool matches(const QByteArray& letters, const QByteArray& letter, bool emptyMeansAll);
    FaultOptions m_o;
};
