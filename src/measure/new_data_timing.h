// How long the new-data window's timers run: the minute of its countdown, and the pause
// with DTR dropped after each download. Tests shorten them.
#pragma once

struct NewDataTiming {
    int minuteMs = 60000;
    int dtrPauseMs = 10000;
};
