// What the modem connection's fixed-length reads ("Retry") brought, cut by position, for
// the console to show. A part is present only when its reply came whole; the reads stop
// at the first reply that falls short, and what came before it is still shown.
#pragma once

#include <QString>

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
