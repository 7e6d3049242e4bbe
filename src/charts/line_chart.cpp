// LineChart on Qt Charts. Qt Charts draws the frame, the axes and the legend; the lines
// themselves are drawn by a layer of ours in the same scene. A Qt Charts line series lays
// out and strokes every one of its points again at each change, which would make a refresh
// cost grow with the series; ours maps the reduced points at paint time and nothing else.
#include "charts/line_chart.h"

#include <QCategoryAxis>
#include <QChart>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QPainter>
#include <QChartView>
#include <QLegend>
#include <QLineSeries>
#include <QResizeEvent>
#include <QValueAxis>
#include <QVBoxLayout>

#include <cmath>
#include <limits>

struct LineChart::Series {
    QLineSeries* line = nullptr;  // holds no points: it gives the legend its entry
    QString name;
    Pen pen;
    QPen qpen;
    MinMaxReducer reducer;
    std::optional<QPointF> provisional;
    QList<QPointF> drawn;  // the points the layer draws
    qint64 given = 0;      // values handed in one go by setSeriesValues
    bool dirty = false;
};

namespace {

// Draws every series as a polyline over the chart's plot area, in the axes' ranges.
class SeriesLayer : public QGraphicsItem {
public:
    SeriesLayer(QChart* chart, QValueAxis* y, QCategoryAxis* x,
                const std::vector<std::unique_ptr<LineChart::Series>>* series)
        : QGraphicsItem(chart), chart_(chart), x_(x), y_(y), series_(series)
    {
        setZValue(10);
    }
    QRectF boundingRect() const override { return chart_->plotArea(); }
    void refresh()
    {
        prepareGeometryChange();  // the plot area may have moved
        update();
    }
    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override;

private:
    QChart* chart_;
    QCategoryAxis* x_;
    QValueAxis* y_;
    const std::vector<std::unique_ptr<LineChart::Series>>* series_;
};

} // namespace

struct LineChart::Impl {
    QChart* chart = nullptr;
    SeriesLayer* layer = nullptr;
    QChartView* view = nullptr;
    QCategoryAxis* x = nullptr;
    QValueAxis* y = nullptr;
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();
    double shownLow = 0, shownHigh = 0;
};

LineChart::LineChart(QWidget* parent) : QWidget(parent), d_(std::make_unique<Impl>())
{
    d_->chart = new QChart;
    d_->chart->setAnimationOptions(QChart::NoAnimation);
    d_->view = new QChartView(d_->chart, this);
    d_->view->setObjectName(QStringLiteral("MSChart1View"));
    d_->view->setRenderHint(QPainter::Antialiasing, false);
    d_->x = new QCategoryAxis;
    d_->x->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    d_->x->setLabelsAngle(-90);
    d_->x->setRange(0, 1);
    d_->y = new QValueAxis;
    d_->y->setRange(0, 1);
    d_->chart->addAxis(d_->x, Qt::AlignBottom);
    d_->chart->addAxis(d_->y, Qt::AlignLeft);
    d_->layer = new SeriesLayer(d_->chart, d_->y, d_->x, &series_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(d_->view);
}

LineChart::~LineChart() = default;

void LineChart::setSeries(const QStringList& names, const QList<Pen>& pens)
{
    for (auto& s : series_)
        d_->chart->removeSeries(s->line), delete s->line;
    series_.clear();
    d_->low = std::numeric_limits<double>::infinity();
    d_->high = -std::numeric_limits<double>::infinity();
    d_->shownLow = d_->shownHigh = 0;  // the next data sets the range afresh
    for (int i = 0; i < names.size(); ++i) {
        auto s = std::make_unique<Series>();
        s->name = names.at(i);
        s->pen = pens.value(i);
        s->reducer = MinMaxReducer(columns_);
        s->line = new QLineSeries;
        s->line->setName(s->name);
        s->qpen = QPen(s->pen.colour, s->pen.width, s->pen.broken ? Qt::DashLine : Qt::SolidLine);
        s->line->setPen(s->qpen);
        d_->chart->addSeries(s->line);
        s->line->attachAxis(d_->x);
        s->line->attachAxis(d_->y);
        series_.push_back(std::move(s));
    }
}

void LineChart::showEmpty()
{
    setSeries({}, {});
    setCategories(1, 1, [](int) { return QString(); });
    d_->y->setRange(0, 1);
    d_->shownLow = d_->shownHigh = 0;
}

std::pair<double, double> LineChart::valueRange() const { return {d_->y->min(), d_->y->max()}; }

void LineChart::setLegendVisible(bool visible) { d_->chart->legend()->setVisible(visible); }
bool LineChart::legendVisible() const { return d_->chart->legend()->isVisible(); }

void LineChart::appendPoint(int series, QPointF p)
{
    if (series < 0 || series >= seriesCount() || !std::isfinite(p.y()))
        return;
    Series& s = *series_[series];
    s.reducer.append(p);
    s.dirty = true;
    d_->low = std::min(d_->low, p.y());
    d_->high = std::max(d_->high, p.y());
}

void LineChart::setProvisionalPoint(int series, std::optional<QPointF> p)
{
    if (series < 0 || series >= seriesCount())
        return;
    if (p && !std::isfinite(p->y()))
        p.reset();
    Series& s = *series_[series];
    if (s.provisional == p)
        return;
    s.provisional = p;
    s.dirty = true;
    if (p) {
        d_->low = std::min(d_->low, p->y());
        d_->high = std::max(d_->high, p->y());
    }
}

void LineChart::setSeriesValues(int series, const double* values, qsizetype count)
{
    if (series < 0 || series >= seriesCount())
        return;
    Series& s = *series_[series];
    ReducedSeries r = reduceMinMax(values, count, columns_);
    s.reducer.clear();
    s.provisional.reset();
    s.drawn = std::move(r.points);
    s.given = r.finite;
    s.dirty = false;
    if (r.finite > 0) {
        d_->low = std::min(d_->low, r.low);
        d_->high = std::max(d_->high, r.high);
    }
}

void LineChart::setCategories(int count, int step, const std::function<QString(int)>& label)
{
    count = std::max(1, count);
    step = std::max(1, step);
    QList<int> wanted;
    for (int c = 0; c < count; c += step)
        wanted.append(c);
    QStringList texts;
    texts.reserve(wanted.size());
    for (int c : wanted)
        texts.append(label(c));
    if (count != categoryCount_)
        d_->x->setRange(0, std::max(1, count - 1));
    categoryCount_ = count;
    labelStep_ = step;
    if (wanted == labelled_ && texts == labelTexts_)
        return;
    labelled_ = wanted;
    labelTexts_ = texts;
    const QStringList old = d_->x->categoriesLabels();
    for (const QString& l : old)
        d_->x->remove(l);
    // The axis wants every label distinct; readings in the same second share a time.
    QStringList used;
    for (int i = 0; i < wanted.size(); ++i) {
        QString shown = texts.at(i);
        while (used.contains(shown))
            shown += QChar(0x200B);
        used.append(shown);
        d_->x->append(shown, wanted.at(i));
    }
}

void SeriesLayer::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    const QRectF area = chart_->plotArea();
    const double x0 = x_->min(), xs = area.width() / std::max(1e-9, x_->max() - x_->min());
    const double y0 = y_->min(), ys = area.height() / std::max(1e-12, y_->max() - y_->min());
    painter->save();
    painter->setClipRect(area);
    QPolygonF line;
    for (const auto& s : *series_) {
        line.resize(s->drawn.size());
        for (int i = 0; i < s->drawn.size(); ++i) {
            const QPointF& p = s->drawn.at(i);
            line[i] = QPointF(area.left() + (p.x() - x0) * xs, area.bottom() - (p.y() - y0) * ys);
        }
        painter->setPen(s->qpen);
        if (line.size() == 1)
            painter->drawPoint(line.first());
        else
            painter->drawPolyline(line);
    }
    painter->restore();
}

// A reading adds a point to the reducer, which keeps at most two points per pixel column,
// so what is handed to the drawing does not grow with the series.
void LineChart::pushSeries(Series& s)
{
    if (!s.dirty)
        return;
    s.dirty = false;
    s.reducer.takeChangedFrom();
    s.drawn = s.reducer.points();
    if (s.provisional)
        s.drawn.append(*s.provisional);
}

void LineChart::fitValueAxis()
{
    if (!(d_->low <= d_->high))
        return;
    double lo = d_->low, hi = d_->high;
    if (hi - lo < 1e-9) {
        lo -= 1;
        hi += 1;
    }
    // The range only moves when the data leaves it, so a steady run does not rescale
    // the axis at every reading.
    if (lo >= d_->shownLow && hi <= d_->shownHigh && d_->shownHigh > d_->shownLow)
        return;
    const double margin = (hi - lo) * 0.05;
    d_->shownLow = lo - margin;
    d_->shownHigh = hi + margin;
    d_->y->setRange(d_->shownLow, d_->shownHigh);
}

void LineChart::update()
{
    for (auto& s : series_)
        pushSeries(*s);
    fitValueAxis();
    d_->layer->refresh();
}

void LineChart::repaintNow() { d_->view->viewport()->repaint(); }

QString LineChart::seriesName(int series) const
{
    return series >= 0 && series < seriesCount() ? series_[series]->line->name() : QString();
}

LineChart::Pen LineChart::seriesPen(int series) const
{
    if (series < 0 || series >= seriesCount())
        return {};
    const QPen p = series_[series]->line->pen();
    return Pen{p.color(), p.style() != Qt::SolidLine, p.width()};
}

QList<QPointF> LineChart::drawnPoints(int series) const
{
    return series >= 0 && series < seriesCount() ? series_[series]->drawn : QList<QPointF>();
}

qint64 LineChart::pointsReceived(int series) const
{
    if (series < 0 || series >= seriesCount())
        return 0;
    return series_[series]->reducer.count() + series_[series]->given;
}

void LineChart::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int plot = int(d_->chart->plotArea().width());
    const int wanted = std::max(100, plot > 0 ? plot : event->size().width() - 80);
    // Small changes keep the reduction: it only has to stay near one point per pixel.
    if (std::abs(wanted - columns_) * 5 > columns_) {
        columns_ = wanted;
        emit plotColumnsChanged();
    }
}
