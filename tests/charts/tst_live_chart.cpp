// The live chart: empty until a box is ticked, series named after the table's titles
// with their channels' pens, thinned labels, and a refresh that follows the table.
#include "charts/live_chart_window.h"
#include "data/chart_matrix.h"

#include <QCheckBox>
#include <QPushButton>
#include <QtTest>

namespace {

// A continuous-reading table of `readings` rows of `channels` values, plus the row
// being filled when `filling` is set.
ChartMatrix table(int channels, int readings, bool filling = true)
{
    QStringList titles{"Date"};
    for (int c = 0; c < channels; ++c)
        titles << QStringLiteral("CH %1").arg(c);
    ChartMatrix m;
    m.reset(titles);
    for (int r = 1; r <= readings; ++r) {
        m.appendRow();
        m.setCell(r, 0, QStringLiteral("01/02/2027 10:%1:00").arg(r % 60, 2, 10, QLatin1Char('0')));
        for (int c = 1; c <= channels; ++c)
            m.setCell(r, c, QString::number(1000 + 10 * c + r % 5, 'f', 1));
    }
    if (filling)
        m.appendRow();
    return m;
}

} // namespace

class LiveChartTest : public QObject {
    Q_OBJECT
private slots:
    void emptyUntilTickedThenOneSeriesPerBox()
    {
        ChartMatrix m = table(8, 10);
        LiveChartWindow g(&m);
        g.showChannelBoxes(8);
        g.show();
        g.fillChart();
        QCOMPARE(g.chart->seriesCount(), 0);
        for (int k = 0; k < 16; ++k) {
            QCOMPARE(g.channelBoxes[k]->isVisible(), k < 8);
            QVERIFY(!g.channelBoxes[k]->isChecked());
        }
        QCOMPARE(g.matrix().seriesCount, 8);
        QCOMPARE(g.matrix().last(), 11);

        g.channelBoxes[0]->setChecked(true);
        QTest::mouseClick(g.drawButton, Qt::LeftButton);
        QCOMPARE(g.chart->seriesCount(), 1);
        QCOMPARE(g.chart->seriesName(0), QStringLiteral("CH 0"));
        QVERIFY(g.chart->legendVisible());
        QCOMPARE(g.chart->drawnPoints(0).size(), 10);  // the blank row draws nothing
        QCOMPARE(g.chart->drawnPoints(0).first(), QPointF(0, 1011));

        // A box past the table's channels is skipped; the others come in channel order.
        g.channelBoxes[12]->setChecked(true);
        g.channelBoxes[5]->setChecked(true);
        g.fillChart();
        QCOMPARE(g.chart->seriesCount(), 2);
        QCOMPARE(g.chart->seriesName(1), QStringLiteral("CH 5"));

        g.channelBoxes[0]->setChecked(false);
        g.channelBoxes[5]->setChecked(false);
        g.fillChart();
        QCOMPARE(g.chart->seriesCount(), 0);
    }

    // A new run (the table started again) is drawn afresh, its axis fitted to its values.
    void aNewRunIsDrawnAfresh()
    {
        ChartMatrix m = table(2, 30);
        LiveChartWindow g(&m);
        g.showChannelBoxes(2);
        g.channelBoxes[1]->setChecked(true);
        g.fillChart();
        QCOMPARE(g.chart->drawnPoints(0).size(), 30);
        QVERIFY(g.chart->valueRange().first > 1000);

        m.reset({"Date", "CH 0", "CH 1"});
        for (int r = 1; r <= 4; ++r) {
            m.appendRow();
            m.setCell(r, 2, QString::number(0.25 * r));
        }
        g.fillChart();
        QCOMPARE(g.chart->drawnPoints(0).size(), 4);
        QCOMPARE(g.chart->categoryCount(), 4);
        const auto [low, high] = g.chart->valueRange();
        QVERIFY(low < 0.25 && low > 0 && high > 1 && high < 1.2);
    }

    void everyChannelHasItsPen()
    {
        ChartMatrix m = table(16, 3);
        LiveChartWindow g(&m);
        g.showChannelBoxes(16);
        for (QCheckBox* box : g.channelBoxes)
            box->setChecked(true);
        g.fillChart();
        QCOMPARE(g.chart->seriesCount(), 16);
        const int rgb[16][3] = {{240, 0, 0},   {40, 40, 40},   {0, 0, 240},    {0, 140, 140},
                                {140, 0, 140}, {140, 140, 0},  {80, 0, 240},   {0, 80, 240},
                                {200, 80, 50}, {20, 80, 20},   {50, 80, 200},  {80, 120, 120},
                                {120, 80, 140}, {100, 120, 80}, {30, 50, 200}, {20, 90, 180}};
        for (int k = 0; k < 16; ++k) {
            const LineChart::Pen pen = g.chart->seriesPen(k);
            QCOMPARE(pen.colour, QColor(rgb[k][0], rgb[k][1], rgb[k][2]));
            QCOMPARE(pen.broken, k >= 8);
            QCOMPARE(pen.width, k >= 8 ? 2 : 1);
        }
    }

    void labelsAreThinnedPastTwentyCategories()
    {
        QCOMPARE(LiveChartWindow::labelStep(20), 1);
        QCOMPARE(LiveChartWindow::labelStep(44), 2);
        QCOMPARE(LiveChartWindow::labelStep(50), 2);  // 2.5: halves go to even
        QCOMPARE(LiveChartWindow::labelStep(70), 4);  // 3.5
        QCOMPARE(LiveChartWindow::labelStep(100000), 5000);

        ChartMatrix m = table(8, 44, false);  // 45 rows: last = 44
        LiveChartWindow g(&m);
        g.showChannelBoxes(8);
        g.channelBoxes[0]->setChecked(true);
        g.fillChart();
        QCOMPARE(g.chart->categoryCount(), 44);
        QCOMPARE(g.chart->labelStep(), 2);
        const QList<int> labelled = g.chart->labelledCategories();
        QCOMPARE(labelled.size(), 22);
        for (int i = 0; i < labelled.size(); ++i) {
            QCOMPARE(labelled[i], 2 * i);
            QCOMPARE(g.chart->labels()[i], m.cell(2 * i + 1, 0));
        }
    }

    // A refresh after each reading adds what the table gained, including the row just
    // finished, and a long run is drawn reduced to the plot's columns.
    void refreshFollowsTheTable()
    {
        ChartMatrix m = table(2, 5);
        LiveChartWindow g(&m);
        g.showChannelBoxes(2);
        g.channelBoxes[1]->setChecked(true);
        g.show();
        g.fillChart();
        QCOMPARE(g.chart->drawnPoints(0).size(), 5);
        for (int reading = 6; reading < 3000; ++reading) {
            const int r = m.last();
            m.setCell(r, 0, QStringLiteral("t"));
            m.setCell(r, 2, reading == 9 ? QStringLiteral("Timeout") : QString::number(reading));
            g.fillChart();
            m.appendRow();
        }
        const QList<QPointF> drawn = g.chart->drawnPoints(0);
        QVERIFY(drawn.size() <= 2 * g.chart->plotColumns() + 1);
        QCOMPARE(drawn.last(), QPointF(2998, 2999));  // the last reading is drawn
        // The reading still drawn provisionally is not counted; "Timeout" draws no point.
        QCOMPARE(g.chart->pointsReceived(0), 2999 - 1 - 1);
    }
};

QTEST_MAIN(LiveChartTest)
#include "tst_live_chart.moc"
