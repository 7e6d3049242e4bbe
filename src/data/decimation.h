// Min/max reduction, of a growing series or of a whole one at once. Once a series has
// more points than the plot has pixel columns, each column is drawn as its lowest and
// highest point, so no peak is lost and the number of points drawn stays bounded however
// long the series is.
#pragma once

#include <QList>
#include <QPointF>

#include <vector>

// A whole series reduced at once, for a series known in full (a file's column) rather
// than growing: value i is drawn at x = i, a NaN draws nothing. Up to `columns` values
// every finite one is kept; past that the values are split into at most `columns` runs of
// equal length and each run gives its lowest and highest value in the order they came, so no
// peak is lost and at most two points per column are drawn.
struct ReducedSeries {
    QList<QPointF> points;
    qint64 finite = 0;   // values that are numbers
    double low = 0, high = 0;  // their range (meaningless when finite is 0)
};
ReducedSeries reduceMinMax(const double* values, qsizetype count, int columns);

class MinMaxReducer {
public:
    // columns: how many pixel columns the plot has (at least 1).
    explicit MinMaxReducer(int columns = 1000);

    // Points must come in increasing x.
    void append(QPointF p);
    void clear();
    int columns() const { return columns_; }
    // Points received.
    qint64 count() const { return count_; }
    // How many received points one drawn column stands for (1 until the series outgrows
    // the plot, then a power of two).
    qint64 pointsPerColumn() const { return perBucket_; }

    // The points to draw, in increasing x: every point while the series fits the plot,
    // else per column its minimum and maximum in the order they came.
    QList<QPointF> points() const;
    // Index in points() of the first point that changed since the last call to
    // takeChangedFrom() (0 after a regrouping); points() at or after it are to be
    // drawn again.
    int takeChangedFrom();
    // Number of drawn points that points() would return.
    int drawnCount() const { return drawn_; }

private:
    struct Bucket {
        QPointF min, max;
        qint64 n = 0;
        int drawn() const { return min == max ? 1 : 2; }
    };
    void regroup();
    static void addTo(Bucket& b, QPointF p);

    int columns_;
    qint64 count_ = 0;
    qint64 perBucket_ = 1;
    std::vector<Bucket> buckets_;
    int drawn_ = 0;
    int changedFrom_ = 0;
};
