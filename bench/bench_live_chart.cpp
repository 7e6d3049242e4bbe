// The live chart's refresh after one more reading with 8 channels drawn, at 100 to
// 100,000 rows, as ratios to 100 rows: the new row handed to the chart, and the same
// with the chart painted at once.
#include "bench_result.h"
#include "charts/live_chart_window.h"
#include "data/chart_matrix.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

const int channels = 8;

void fillRow(ChartMatrix& m, int r)
{
    m.setCell(r, 0, QStringLiteral("01/02/2027 10:%1:%2").arg((r / 60) % 60, 2, 10, QLatin1Char('0'))
                        .arg(r % 60, 2, 10, QLatin1Char('0')));
    for (int c = 1; c <= channels; ++c)
        m.setCell(r, c, QString::number(1000 + 100 * c + 50 * std::sin(r * 0.01 * c), 'f', 1));
}

// Median microseconds of one refresh with `rows` readings in the table.
double refreshMicros(int rows, bool paint)
{
    ChartMatrix m;
    QStringList titles{"Date"};
    for (int c = 0; c < channels; ++c)
        titles << QStringLiteral("CH %1").arg(c);
    m.reset(titles);
    for (int r = 1; r <= rows; ++r) {
        m.appendRow();
        fillRow(m, r);
    }
    m.appendRow();
    LiveChartWindow g(&m);
    g.showChannelBoxes(channels);
    for (int k = 0; k < channels; ++k)
        g.channelBoxes[k]->setChecked(true);
    g.show();
    QApplication::processEvents();
    g.fillChart();
    g.chart->repaintNow();
    QApplication::processEvents();

    std::vector<double> times;
    for (int i = 0; i < 60; ++i) {
        const int r = m.last();
        fillRow(m, r);
        QElapsedTimer t;
        t.start();
        g.fillChart();
        if (paint)
            g.chart->repaintNow();
        times.push_back(t.nsecsElapsed() / 1000.0);
        m.appendRow();
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const double base = refreshMicros(100, false);
    const double basePainted = refreshMicros(100, true);
    std::printf("live chart refresh after one reading, %d channels drawn (median of 60)\n", channels);
    std::printf("%8s %12s %8s %14s %8s\n", "rows", "update us", "ratio", "+ paint us", "ratio");
    double update100k = 0, painted100k = 0;
    for (int rows : {100, 1000, 10000, 100000}) {
        const double us = rows == 100 ? base : refreshMicros(rows, false);
        const double painted = rows == 100 ? basePainted : refreshMicros(rows, true);
        std::printf("%8d %12.0f %8.2f %14.0f %8.2f\n", rows, us, us / base, painted,
                    painted / basePainted);
        update100k = us / base;
        painted100k = painted / basePainted;
    }
    std::printf("target: 100000 rows at most 3.00 times 100 rows\n");
    reportResult("live_chart_refresh_100k_vs_100", update100k, 3,
                 "live chart refresh after one reading, 100,000 rows / 100 rows (8 channels)");
    reportResult("live_chart_painted_100k_vs_100", painted100k, 3,
                 "the same refresh painted at once, 100,000 rows / 100 rows");
    return 0;
}
