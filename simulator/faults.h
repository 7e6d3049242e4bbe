// Fault injection on the datalogger's replies: silence, delay, truncation, garbage, a
// dropped link.
#pragma once

#include "options.h"

#include <QByteArray>

class Faults {
public:
    explicit Faults(const FaultOptions& o) : m_o(o) {}

    struct Reply {
        QByteArray bytes;      // what the faulty datalogger sends; empty when silent
        bool dropAfter = false;  // the link drops once these bytes are out
    };
    // The reply as the faulty datalogger sends it. A field fault strikes once.
    Reply apply(const QByteArray& letter, const QByteArray& reply);
    int delayMs(const QByteArray& letter) const;
    qint64 dropAfterBytes() const { return m_o.dropAfterBytes; }
    bool silentAll() const { return m_o.silentAll; }

private:
    static bool matches(const QByteArray& letters, const QByteArray& letter, bool emptyMeansAll);
    // Applies the first armed field fault of this letter whose field the reply has.
    void applyFieldFault(const QByteArray& letter, Reply& r);
    FaultOptions m_o;
};
