// LiveChartWindow: the channel boxes and keeping the chart in step with a table that
// grows by one row per reading without handing the chart every point again.
#include "charts/live_chart_window.h"

#include "charts/chart_style.h"
#include "widgets/controls.h"
#include "widgets/window_placement.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

// A value text as a number; anything else ("Timeout", a blank) draws no point.
std::optional<QPointF> pointOf(const ChartMatrix& m, int row, int column)
{
    bool ok = false;
    const double y = m.cell(row, column).toDouble(&ok);
    if (!ok || !std::isfinite(y))
        return std::nullopt;
    return QPointF(row - 1, y);
}

} // namespace

LineChart::Pen LiveChartWindow::channelPen(int channel) { return ChartStyle::livePen(channel); }

int LiveChartWindow::labelStep(int last) { return ChartStyle::labelStep(last); }

LiveChartWindow::LiveChartWindow(const ChartMatrix* source, QWidget* parent)
    : QWidget(parent, Qt::Window), source_(source)
{
    using namespace Controls;
    setObjectName(QStringLiteral("Grafici"));
    setWindowTitle(QStringLiteral("Graph"));
    chart = new LineChart(this);
    chart->setObjectName(QStringLiteral("MSChart1"));
    chart->setAccessibleName(QStringLiteral("Chart"));
    chart->setMinimumSize(480, 300);

    auto* boxes = new QGridLayout;
    for (int k = 0; k < 16; ++k) {
        channelBoxes[k] = check(this, arrayName(QStringLiteral("chkCH"), k), QStringLiteral("CH%1").arg(k));
        channelBoxes[k]->hide();
        boxes->addWidget(channelBoxes[k], k % 8, k / 8);
    }
    drawButton = button(this, QStringLiteral("cmdDisegna"), QStringLiteral("&Draw channels"));
    closeButton = button(this, QStringLiteral("cmdChiudi"), QStringLiteral("&Close"));
    connect(drawButton, &QPushButton::clicked, this, &LiveChartWindow::drawChannels);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    connect(chart, &LineChart::plotColumnsChanged, this, [this] {
        rebuild_ = true;
        fillChart();
    });

    auto* side = new QVBoxLayout;
    side->addLayout(boxes);
    side->addWidget(drawButton);
    side->addStretch(1);
    side->addWidget(closeButton);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(chart, 1);
    layout->addLayout(side);

    resize(900, 560);
    centreOnScreen(this);
}

LiveChartWindow::~LiveChartWindow() = default;

void LiveChartWindow::showChannelBoxes(int count)
{
    for (int k = 0; k < 16; ++k)
        channelBoxes[k]->setVisible(k < count);
}

void LiveChartWindow::drawChannels() { fillChart(); }

void LiveChartWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    emit closed();
}

void LiveChartWindow::fillChart()
{
    ChartMatrix& m = matrix_;
    if (source_)
        m.followGrowingSource(*source_);
    m.seriesCount = std::max(0, m.columnCount() - 1);
    const int last = m.last();

    QList<int> ticked;
    for (int k = 0; k < 16; ++k) {
        // A box past the table's channels has no column to draw.
        if (channelBoxes[k]->isChecked() && k + 1 < m.columnCount())
            ticked << k;
    }
    if (ticked.isEmpty() || last < 0) {
        if (!empty_)
            chart->showEmpty();
        empty_ = true;
        drawn_.clear();
        chart->update();
        return;
    }
    if (empty_ || rebuild_ || ticked != drawn_ || m.generation() != generation_
        || m.columnCount() != columns_ || committed_ > last)
        redrawAll();

    // Rows before the last are finished readings: they go into the chart for good. The
    // last may still be filling and is drawn provisionally.
    for (int r = committed_ + 1; r < last; ++r) {
        for (int q = 0; q < drawn_.size(); ++q) {
            if (auto p = pointOf(m, r, drawn_[q] + 1))
                chart->appendPoint(q, *p);
        }
    }
    committed_ = std::max(committed_, last - 1);
    for (int q = 0; q < drawn_.size(); ++q)
        chart->setProvisionalPoint(q, last >= 1 ? pointOf(m, last, drawn_[q] + 1) : std::nullopt);
    chart->setCategories(last, labelStep(last), [&m](int c) { return m.cell(c + 1, 0); });
    chart->setLegendVisible(true);
    chart->update();
}

void LiveChartWindow::redrawAll()
{
    const ChartMatrix& m = matrix_;
    QList<int> ticked;
    for (int k = 0; k < 16; ++k) {
        if (channelBoxes[k]->isChecked() && k + 1 < m.columnCount())
            ticked << k;
    }
    QStringList names;
    QList<LineChart::Pen> pens;
    for (int k : ticked) {
        names << m.cell(0, k + 1);  // the table's title of the channel
        pens << channelPen(k);
    }
    chart->setSeries(names, pens);
    drawn_ = ticked;
    generation_ = m.generation();
    columns_ = m.columnCount();
    committed_ = 0;
    empty_ = false;
    rebuild_ = false;
}
