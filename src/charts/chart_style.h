// What the chart windows share about a chart's look: the channel pens of each window and
// how many of the horizontal axis' categories carry a label.
#pragma once

#include "charts/line_chart.h"

namespace ChartStyle {

// The live chart's pen of channel 0..15: its colour, a broken line from channel 8 on.
LineChart::Pen livePen(int channel);
// The historical chart's pen of channel 0..7: the channel's colour, solid, width 1.
LineChart::Pen historicalPen(int channel);
// Every step-th category is labelled, last being the index of the last one: every one up
// to 20, then last / 20 rounded to the nearest whole number.
int labelStep(int last);

} // namespace ChartStyle
