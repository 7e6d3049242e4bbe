// The pens tables of the two chart windows and the thinning of the axis labels.
#include "charts/chart_style.h"

#include <algorithm>
#include <cmath>

namespace ChartStyle {

namespace {

struct PenRow {
    int r, g, b;
    bool broken;
    int width;
};

// The live chart: sixteen channels, the upper eight drawn broken and wider.
constexpr PenRow livePens[16] = {
    {240, 0, 0, false, 1},   {40, 40, 40, false, 1},   {0, 0, 240, false, 1},
    {0, 140, 140, false, 1}, {140, 0, 140, false, 1},  {140, 140, 0, false, 1},
    {80, 0, 240, false, 1},  {0, 80, 240, false, 1},   {200, 80, 50, true, 2},
    {20, 80, 20, true, 2},   {50, 80, 200, true, 2},   {80, 120, 120, true, 2},
    {120, 80, 140, true, 2}, {100, 120, 80, true, 2},  {30, 50, 200, true, 2},
    {20, 90, 180, true, 2},
};

// The historical chart: the eight channels of a yearly file.
constexpr int historicalColours[8][3] = {
    {240, 0, 0},   {40, 40, 40},  {0, 0, 240},  {0, 140, 140},
    {140, 0, 140}, {140, 140, 0}, {80, 0, 240}, {0, 80, 240},
};

} // namespace

LineChart::Pen livePen(int channel)
{
    if (channel < 0 || channel >= 16)
        return {};
    const PenRow& p = livePens[channel];
    return LineChart::Pen{QColor(p.r, p.g, p.b), p.broken, p.width};
}

LineChart::Pen historicalPen(int channel)
{
    if (channel < 0 || channel >= 8)
        return {};
    const int* c = historicalColours[channel];
    return LineChart::Pen{QColor(c[0], c[1], c[2]), false, 1};
}

int labelStep(int last)
{
    // Halves go to the even neighbour, as every rounding of the program does.
    return last > 20 ? std::max(1, int(std::nearbyint(last / 20.0))) : 1;
}

} // namespace ChartStyle
