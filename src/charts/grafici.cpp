// Grafici: the channel boxes and keeping the chart in step with a table that
// grows by one row per reading without handing the chart every point again.
#include "charts/grafici.h"

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

LineChart::Pen Grafici::channelPen(int channel) { return ChartStyle::livePen(channel); }

int Grafici::labelStep(int last) { return ChartStyle::labelStep(last); }

Grafici::Grafici(const ChartMatrix* source, QWidget* parent)
    : QWidget(parent, Qt::Window), source_(source)
{
    using namespace Controls;
    setObjectName(QStringLiteral("Grafici"));
    setWindowTitle(QStringLiteral("Graph"));
    MSChart1 = new LineChart(this);
    MSChart1->setObjectName(QStringLiteral("MSChart1"));
    MSChart1->setAccessibleName(QStringLiteral("Chart"));
    MSChart1->setMinimumSize(480, 300);

    auto* boxes = new QGridLayout;
    for (int k = 0; k < 16; ++k) {
        chkCH[k] = check(this, arrayName(QStringLiteral("chkCH"), k), QStringLiteral("CH%1").arg(k));
        chkCH[k]->hide();
        boxes->addWidget(chkCH[k], k % 8, k / 8);
    }
    cmdDisegna = button(this, QStringLiteral("cmdDisegna"), QStringLiteral("Draw channels"));
    cmdChiudi = button(this, QStringLiteral("cmdChiudi"), QStringLiteral("Close"));
    connect(cmdDisegna, &QPushButton::clicked, this, &Grafici::cmdDisegna_Click);
    connect(cmdChiudi, &QPushButton::clicked, this, &QWidget::close);
    connect(MSChart1, &LineChart::plotColumnsChanged, this, [this] {
        rebuild_ = true;
        popola_grafico();
    });

    auto* side = new QVBoxLayout;
    side->addLayout(boxes);
    side->addWidget(cmdDisegna);
    side->addStretch(1);
    side->addWidget(cmdChiudi);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(MSChart1, 1);
    layout->addLayout(side);

    resize(900, 560);
    centreOnScreen(this);
}

Grafici::~Grafici() = default;

void Grafici::showChannelBoxes(int count)
{
    for (int k = 0; k < 16; ++k)
        chkCH[k]->setVisible(k < count);
}

void Grafici::cmdDisegna_Click() { popola_grafico(); }

void Grafici::closeEvent(QCloseEvent* event)
{
    event->accept();
    emit closed();
}

void Grafici::popola_grafico()
{
    ChartMatrix& m = sharedChartMatrix();
    if (source_)
        m.followGrowingSource(*source_);
    m.seriesCount = std::max(0, m.columnCount() - 1);
    const int last = m.last();

    QList<int> ticked;
    for (int k = 0; k < 16; ++k) {
        // A box past the table's channels has no column to draw.
        if (chkCH[k]->isChecked() && k + 1 < m.columnCount())
            ticked << k;
    }
    if (ticked.isEmpty() || last < 0) {
        if (!empty_)
            MSChart1->showEmpty();
        empty_ = true;
        drawn_.clear();
        MSChart1->update();
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
                MSChart1->appendPoint(q, *p);
        }
    }
    committed_ = std::max(committed_, last - 1);
    for (int q = 0; q < drawn_.size(); ++q)
        MSChart1->setProvisionalPoint(q, last >= 1 ? pointOf(m, last, drawn_[q] + 1) : std::nullopt);
    MSChart1->setCategories(last, labelStep(last), [&m](int c) { return m.cell(c + 1, 0); });
    MSChart1->setLegendVisible(true);
    MSChart1->update();
}

void Grafici::redrawAll()
{
    const ChartMatrix& m = sharedChartMatrix();
    QList<int> ticked;
    for (int k = 0; k < 16; ++k) {
        if (chkCH[k]->isChecked() && k + 1 < m.columnCount())
            ticked << k;
    }
    QStringList names;
    QList<LineChart::Pen> pens;
    for (int k : ticked) {
        names << m.cell(0, k + 1);  // the table's title of the channel
        pens << channelPen(k);
    }
    MSChart1->setSeries(names, pens);
    drawn_ = ticked;
    generation_ = m.generation();
    columns_ = m.columnCount();
    committed_ = 0;
    empty_ = false;
    rebuild_ = false;
}
