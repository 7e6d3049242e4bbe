// Min/max reduction of a growing series.
#include "data/decimation.h"

#include <algorithm>
#include <cmath>
#include <limits>

MinMaxReducer::MinMaxReducer(int columns) : columns_(std::max(1, columns)) {}

void MinMaxReducer::clear()
{
    buckets_.clear();
    count_ = 0;
    perBucket_ = 1;
    drawn_ = 0;
    changedFrom_ = 0;
}

void MinMaxReducer::addTo(Bucket& b, QPointF p)
{
    if (b.n == 0) {
        b.min = b.max = p;
    } else {
        if (p.y() < b.min.y())
            b.min = p;
        if (p.y() > b.max.y())
            b.max = p;
    }
    ++b.n;
}

void MinMaxReducer::append(QPointF p)
{
    if (buckets_.empty() || buckets_.back().n >= perBucket_) {
        if (int(buckets_.size()) == columns_)
            regroup();
        if (buckets_.empty() || buckets_.back().n >= perBucket_) {
            changedFrom_ = std::min(changedFrom_, drawn_);
            buckets_.push_back(Bucket{});
        }
    }
    Bucket& b = buckets_.back();
    const int before = b.n ? b.drawn() : 0;
    changedFrom_ = std::min(changedFrom_, drawn_ - before);
    addTo(b, p);
    drawn_ += b.drawn() - before;
    ++count_;
}

// Twice as many points per column: neighbouring columns are merged, which keeps the
// lowest and highest point of each.
void MinMaxReducer::regroup()
{
    perBucket_ *= 2;
    std::vector<Bucket> merged;
    merged.reserve(buckets_.size() / 2 + 1);
    for (size_t i = 0; i < buckets_.size(); i += 2) {
        Bucket m = buckets_[i];
        if (i + 1 < buckets_.size()) {
            const Bucket& o = buckets_[i + 1];
            if (o.min.y() < m.min.y())
                m.min = o.min;
            if (o.max.y() > m.max.y())
                m.max = o.max;
            m.n += o.n;
        }
        merged.push_back(m);
    }
    buckets_ = std::move(merged);
    drawn_ = 0;
    for (const Bucket& b : buckets_)
        drawn_ += b.drawn();
    changedFrom_ = 0;
}

QList<QPointF> MinMaxReducer::points() const
{
    QList<QPointF> out;
    out.reserve(drawn_);
    for (const Bucket& b : buckets_) {
        if (b.min == b.max) {
            out.append(b.min);
        } else if (b.min.x() < b.max.x()) {
            out.append(b.min);
            out.append(b.max);
        } else {
            out.append(b.max);
            out.append(b.min);
        }
    }
    return out;
}

int MinMaxReducer::takeChangedFrom()
{
    const int from = changedFrom_;
    changedFrom_ = drawn_;
    return from;
}

ReducedSeries reduceMinMax(const double* values, qsizetype count, int columns)
{
    ReducedSeries out;
    columns = std::max(1, columns);
    out.low = std::numeric_limits<double>::infinity();
    out.high = -out.low;
    if (count <= 0)
        return out;
    // Runs of `per` values; the last may be shorter.
    const qsizetype per = count <= columns ? 1 : (count + columns - 1) / columns;
    out.points.reserve(per == 1 ? count : 2 * ((count + per - 1) / per));
    for (qsizetype from = 0; from < count; from += per) {
        const qsizetype to = std::min(count, from + per);
        qsizetype lowAt = -1, highAt = -1;
        double lo = std::numeric_limits<double>::infinity(), hi = -lo;
        qint64 finite = 0;
        for (qsizetype i = from; i < to; ++i) {
            const double v = values[i];
            if (!std::isfinite(v))
                continue;
            ++finite;
            if (v < lo)
                lo = v, lowAt = i;
            if (v > hi)
                hi = v, highAt = i;
        }
        if (finite == 0)
            continue;
        out.finite += finite;
        out.low = std::min(out.low, lo);
        out.high = std::max(out.high, hi);
        const qsizetype first = std::min(lowAt, highAt), second = std::max(lowAt, highAt);
        out.points.append(QPointF(double(first), values[first]));
        if (second != first)
            out.points.append(QPointF(double(second), values[second]));
    }
    return out;
}
