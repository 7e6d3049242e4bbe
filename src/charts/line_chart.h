// LineChart: the program's line chart, one series per channel against numbered
// categories with text labels. The chart library stays behind this class so that it
// can be replaced; the windows only talk to LineChart.
#pragma once

#include "data/decimation.h"

#include <QColor>
#include <QList>
#include <QPointF>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class LineChart : public QWidget {
    Q_OBJECT
public:
    struct Pen {
        QColor colour;
        bool broken = false;  // a broken line instead of a solid one
        int width = 1;
        bool operator==(const Pen&) const = default;
    };

    explicit LineChart(QWidget* parent = nullptr);
    ~LineChart() override;

    // Starts again with these series and no points.
    void setSeries(const QStringList& names, const QList<Pen>& pens);
    // Nothing to draw: no series, a single category.
    void showEmpty();
    void setLegendVisible(bool visible);

    // Adds a point to a series for good (x increasing).
    void appendPoint(int series, QPointF p);
    // The point of the category still being filled: drawn after the others, replaced by
    // the next call, never kept. nullopt draws none.
    void setProvisionalPoint(int series, std::optional<QPointF> p);
    // Gives a series, in one go, the whole of its values: value i at category i, a NaN
    // drawing nothing. Reduced to the plot's pixel columns at once (every peak kept); it
    // replaces what the series had and is not mixed with the calls above.
    void setSeriesValues(int series, const double* values, qsizetype count);
    // Categories 0..count-1 along the horizontal axis; every step-th one, from the first,
    // is labelled with label(category).
    void setCategories(int count, int step, const std::function<QString(int)>& label);
    // Hands the changes since the last call to the chart (painted at the next paint).
    void update();
    // Paints the chart now rather than at the next turn of the event loop.
    void repaintNow();

    // Pixel columns of the plot: a series with more points is drawn reduced to them.
    int plotColumns() const { return columns_; }

    struct Series;  // one line: its pen, its reduction, the points drawn

    // What the chart shows, as the operator sees it.
    int seriesCount() const { return int(series_.size()); }
    QString seriesName(int series) const;
    Pen seriesPen(int series) const;
    QList<QPointF> drawnPoints(int series) const;
    qint64 pointsReceived(int series) const;
    bool legendVisible() const;
    // The vertical axis: it follows the values drawn, with a small margin.
    std::pair<double, double> valueRange() const;
    int categoryCount() const { return categoryCount_; }
    int labelStep() const { return labelStep_; }
    // Labelled categories and their labels, in order.
    QList<int> labelledCategories() const { return labelled_; }
    QStringList labels() const { return labelTexts_; }

signals:
    // The plot got wider or narrower than the columns its series were reduced to: the
    // owner should feed the points again.
    void plotColumnsChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Impl;
    void pushSeries(Series& s);
    void fitValueAxis();

    std::unique_ptr<Impl> d_;
    std::vector<std::unique_ptr<Series>> series_;
    int columns_ = 800;
    int categoryCount_ = 1;
    int labelStep_ = 1;
    QList<int> labelled_;
    QStringList labelTexts_;
};
