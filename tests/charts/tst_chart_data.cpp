// The chart matrix following a growing table, and the min/max reduction: bounded, every
// peak kept, and its change reports enough to redraw only the end of a series.
#include "data/chart_matrix.h"
#include "data/decimation.h"

#include <QRandomGenerator>
#include <QtTest>

class ChartData : public QObject {
    Q_OBJECT
private slots:
    void matrixFollowsAGrowingTable()
    {
        ChartMatrix table;
        table.reset({"Date", "CH 0"});
        ChartMatrix copy;
        for (int i = 0; i < 50; ++i) {
            const int r = table.appendRow();
            table.setCell(r, 0, QString::number(i));
            copy.followGrowingSource(table);  // sees the row while it is still blank
            table.setCell(r, 1, QString::number(i * 10));
            copy.followGrowingSource(table);
        }
        const quint64 generation = copy.generation();
        QCOMPARE(copy.rowCount(), 51);
        for (int r = 0; r < table.rowCount(); ++r)
            QCOMPARE(copy.row(r), table.row(r));
        QCOMPARE(copy.seriesCount, 1);
        QCOMPARE(copy.generation(), generation);  // grown, never restarted

        table.removeLastRow();  // a shorter table is copied whole
        copy.followGrowingSource(table);
        QCOMPARE(copy.rowCount(), 50);
        QVERIFY(copy.generation() != generation);

        table.reset({"Date", "CH 0", "CH 1"});  // a new run
        table.appendRow();
        copy.followGrowingSource(table);
        QCOMPARE(copy.rowCount(), 2);
        QCOMPARE(copy.columnCount(), 3);
        QCOMPARE(copy.cell(0, 2), QStringLiteral("CH 1"));
        QCOMPARE(copy.cell(7, 9), QString());
    }

    // Below the plot's width every point is drawn; above it at most two per column, and
    // every column's lowest and highest point stays.
    void reductionKeepsEveryPeak()
    {
        MinMaxReducer r(100);
        for (int i = 0; i < 100; ++i)
            r.append(QPointF(i, i % 7));
        QCOMPARE(r.points().size(), 100);
        QCOMPARE(r.pointsPerColumn(), 1);

        QList<QPointF> all;
        auto* rng = QRandomGenerator::global();
        for (int i = 0; i < 100000; ++i) {
            double y = rng->bounded(100.0);
            if (i == 12345)
                y = 1e6;  // a single spike
            if (i == 77777)
                y = -1e6;
            all.append(QPointF(i, y));
            r.append(all.last());
        }
        const QList<QPointF> drawn = r.points();
        QVERIFY(drawn.size() <= 200);
        QVERIFY(drawn.contains(QPointF(12345, 1e6)));
        QVERIFY(drawn.contains(QPointF(77777, -1e6)));
        for (int i = 1; i < drawn.size(); ++i)
            QVERIFY(drawn[i - 1].x() < drawn[i].x());
        // Each column's extremes, recomputed from the raw points, are among those drawn.
        const qint64 per = r.pointsPerColumn();
        QList<QPointF> raw = QList<QPointF>();
        for (int i = 0; i < 100; ++i)
            raw.append(QPointF(i, i % 7));
        raw += all;
        for (qint64 start = 0; start < raw.size(); start += per) {
            const auto first = raw.begin() + start;
            const auto end = raw.begin() + std::min<qint64>(raw.size(), start + per);
            const auto [lo, hi] = std::minmax_element(first, end, [](QPointF a, QPointF b) { return a.y() < b.y(); });
            QVERIFY(drawn.contains(*lo));
            QVERIFY(drawn.contains(*hi));
        }
    }

    // Replaying the change reports on a copy gives the same points as drawing anew.
    void changeReportsRebuildTheSamePoints()
    {
        MinMaxReducer r(16);
        QList<QPointF> mirror;
        for (int i = 0; i < 5000; ++i) {
            r.append(QPointF(i, std::sin(i * 0.37) * (i % 13)));
            const int from = r.takeChangedFrom();
            QVERIFY(from >= 0 && from <= mirror.size());
            const QList<QPointF> now = r.points();
            mirror = mirror.mid(0, from) + now.mid(from);
            QCOMPARE(mirror, now);
            if (i > 100)
                QVERIFY(now.size() <= 32);
        }
    }
};

QTEST_GUILESS_MAIN(ChartData)
#include "tst_chart_data.moc"
