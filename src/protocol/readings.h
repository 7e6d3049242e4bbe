// Readings taken now, without widgets: the console's read of a multiplexer ("p", "t"),
// the continuous reading's row, the full scale ("T"), the stand-alone conversion ("^")
// and the field test ("J"). Each call puts on the wire exactly what its window always
// has; the windows show what comes back.
#pragma once

#include "protocol/reply.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

class Link;

namespace Readings {

using Protocol::Outcome;

// One channel of a multiplexer read: the position the datalogger gave, then its value,
// each field as it came (the time-out mark where none did).
struct Channel {
    QString position;
    QString value;
};

// Told about each channel of a read as it goes, so a slow line shows the values as they
// come: reading(i) before the channel's fields are read, read(i, channel) after.
class ReadView {
public:
    virtual ~ReadView() = default;
    virtual void reading(int index) = 0;
    virtual void read(int index, const Channel& channel) = 0;
};

// "p" (values) or "t" (temperatures) with the multiplexer (" 0,"), then count channels.
// The values read empties the input first. The outcome is the whole read's.
Outcome readMultiplexer(Link& link, int mux, bool temperatures, int count, ReadView& view);

// The position a channel's field names, when it is one of the 16 of a multiplexer.
std::optional<int> channelPosition(const QString& field);

// "H" with " 0,": the first multiplexer's channel count, which the continuous reading
// asks for before its first row. Nothing is read when the command did not leave.
struct ChannelCount {
    bool sent = false;
    bool answered = false;     // a field came, not blank
    std::optional<int> count;  // when that field is a count of a multiplexer, 0..16
};
ChannelCount readChannelCount(Link& link);

// The continuous reading's row: "p" with the multiplexer ("0,"), then per channel its
// position and value. After the first value that does not come nothing more is read:
// that value and the ones after it are the time-out mark.
struct Row {
    bool sent = false;     // whether the command left
    QStringList values;    // one per channel
    bool timedOut = false; // a value did not come
};
Row readRow(Link& link, int mux, int channels);

// "T" alone: the full scale, two whole numbers, then four values in millionths.
struct FullScale {
    Outcome outcome = Outcome::Silent;
    std::array<double, 2> whole{};
    std::array<double, 4> scaled{};  // already divided by 1000000
};
FullScale readFullScale(Link& link);

// "^" alone, after emptying the input: the datalogger converts once on its own.
bool convertStandAlone(Link& link);
// "J" alone: the datalogger runs its field test on its own.
bool startFieldTest(Link& link);

} // namespace Readings
