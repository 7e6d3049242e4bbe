// The datalogger's health as the console reads it, without widgets: its clock ("G"), its
// internal parameters ("W") and the state of its memory ("M"), and the clock write
// ("g"). Each call puts on the wire exactly what the console's handler does and gives
// back the fields as they came (the time-out mark "%%" where none came), their values,
// and how the exchange ended.
#pragma once

#include "protocol/reply.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

class Link;

namespace Health {

using Protocol::Outcome;
using Protocol::outcomeName;

// "G" with ",": day, month, year, hour, minute. The clock resolves minutes only.
struct ClockRead {
    Outcome outcome = Outcome::Silent;
    QStringList fields;
    QDateTime time;  // the datalogger's wall time (no time zone), when the fields make one
};
ClockRead readClock(Link& link);

// The values string of a date write ("g", "y"): day, month, hour and minute as given,
// the year as its value less 1900 with the sign position kept (2015 goes as " 115").
QString dateValues(const QString& day, const QString& month, double year, const QString& hour,
                   const QString& minute);
// "g" with the values above; nothing is read back. False when the command did not leave.
bool writeClock(Link& link, const QString& day, const QString& month, double year, const QString& hour,
                const QString& minute);
// The clock write of a time: day and month as plain numbers, hour and minute in two
// digits, as the console's boxes hold them after a read.
bool writeClock(Link& link, const QDateTime& time);

// "W" alone: the internal parameters "5 Volt", "3 V Vint", "V Batt".
struct InternalParameters {
    Outcome outcome = Outcome::Silent;
    QStringList fields;
    std::optional<double> fiveVolt;
    std::optional<double> vint;
    std::optional<double> battery;
};
InternalParameters readInternalParameters(Link& link);

// "M" with ",": total and free acquisitions of the memory.
struct MemoryState {
    Outcome outcome = Outcome::Silent;
    QStringList fields;
    std::optional<int> total;
    std::optional<int> free;
};
MemoryState readMemoryState(Link& link);
// "H" with "0," (no sign blank, unlike the channels read): the first multiplexer's
// channel count, which the memory read asks for first.
Protocol::Reply readMemoryChannelCount(Link& link);

} // namespace Health
