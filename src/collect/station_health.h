// A station's health, read after its download when the run asks for it: the datalogger's
// clock against the collector's, its internal voltages and how full its memory is; the
// warnings they give; and the clock written when it is off by too much.
#pragma once

#include "protocol/health.h"

#include <QJsonObject>
#include <QStringList>

#include <optional>

class Link;

// The datalogger's clock reads minutes only: an offset measured against it is known to
// within half a minute (the datalogger may be anywhere in the minute it shows).
constexpr int clockResolutionSeconds = 60;
// So a clock is called off only by more than this.
constexpr int smallestClockLimitSeconds = clockResolutionSeconds / 2;

struct HealthOptions {
    bool wanted = false;                    // read the health after each good download
    std::optional<double> warnBatteryVolts; // a battery below this warns
    std::optional<int> warnMemoryPercent;   // memory used at or above this share warns
    std::optional<int> warnClockSeconds;    // a clock off by more than this warns
    std::optional<int> setClockSeconds;     // a clock off by more than this is set
};

struct StationHealth {
    Health::ClockRead clock;
    // Datalogger less collector, the middle of what the minute shown allows.
    std::optional<qint64> clockOffsetSeconds;
    bool voltagesRead = false;
    Health::InternalParameters voltages;
    bool memoryRead = false;
    Health::MemoryState memory;
    std::optional<double> memoryUsedPercent;

    // --set-clock: whether the clock was written, and what it read afterwards.
    bool clockWritten = false;
    std::optional<qint64> offsetAfterSetSeconds;
    QString clockSetProblem;

    QStringList warnings;
};

// Reads the health over the link the download used (still open), and sets the clock
// when options ask for it and it is off by more than they allow.
StationHealth readStationHealth(Link& link, const HealthOptions& options);

// What the report line says of the health, after the download's part.
QString healthText(const StationHealth& health);
QJsonObject healthJson(const StationHealth& health);
