// What the modem connection's fixed-length reads ("Retry") brought, cut by position, for
// the console to show. A part is present only when its reply came whole; the reads stop
// at the first reply that falls short, and what came before it is still shown.
#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <utility>

struct FixedReplies {
    std::optional<std::array<QString, 5>> clock;            // day, month, year, hour, minute
    std::optional<std::array<QString, 3>> timer;            // hours, minutes, seconds
    std::optional<QString> preheating;
    std::optional<QString> name;
    std::optional<std::array<QString, 5>> nextAcquisition;  // same order as the clock
    std::optional<std::pair<QString, QString>> memory;      // total, free
};

class Link;

namespace FixedLength {

// The reads of the modem's "Retry", each reply collected to its length on the port: "G"
// (19), "C" (12), "E" (5), "H" (3, the channel count) and "H" again for the channels,
// "Q" (5), "N" (20), "M" (12, when there are channels) and "T" (3), with their pauses.
// Fills values with what came whole; gives why it stopped, empty when every reply came.
QString read(Link& link, FixedReplies& values);

// "D" alone, collected to 20 characters: the next acquisition's day, month, year
// (2000 + the two digits), hour and minute, as far as the block holds them whole.
QStringList readNextAcquisition(Link& link);

} // namespace FixedLength
