// LiveChartWindow: the live chart of the continuous reading, one series per ticked channel,
// redrawn after every reading while it is open.
#pragma once

#include "charts/line_chart.h"
#include "data/chart_matrix.h"

#include <QList>
#include <QWidget>

#include <array>

class QCheckBox;
class QPushButton;

class LiveChartWindow : public QWidget {
    Q_OBJECT
public:
    // source: the continuous reading's table, which outlives this window.
    explicit LiveChartWindow(const ChartMatrix* source, QWidget* parent = nullptr);
    ~LiveChartWindow() override;

    // The pen of a channel (0..15) as the table of pens gives it.
    static LineChart::Pen channelPen(int channel);
    // Every step-th category is labelled: 1 up to 20 rows, then last / 20 rounded.
    static int labelStep(int last);

    // Makes boxes 0..count-1 visible; the others stay hidden.
    void showChannelBoxes(int count);
    // Rebuilds the chart from the table and the ticked boxes, and redraws.
    void fillChart();
    // The copy of the table the chart is drawn from, as of the last fill.
    const ChartMatrix& matrix() const { return matrix_; }

    LineChart* chart = nullptr;
    std::array<QCheckBox*, 16> channelBoxes{};
    QPushButton* drawButton = nullptr;
    QPushButton* closeButton = nullptr;

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void drawChannels();
    void redrawAll();

    const ChartMatrix* source_;
    ChartMatrix matrix_;        // follows source_
    QList<int> drawn_;          // the channels the chart holds, ascending
    quint64 generation_ = 0;    // of matrix_ when the chart was filled
    int columns_ = 0;
    int committed_ = 0;         // table rows handed to the chart for good
    bool empty_ = true;
    bool rebuild_ = true;
};
