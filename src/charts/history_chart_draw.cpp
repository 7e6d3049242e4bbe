// HistoryChartWindow: the date check and the drawing of the ticked channels over the range.
#include "charts/history_chart_window.h"

#include "charts/chart_style.h"
#include "data/dialogs.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QString checkTitle = QStringLiteral("Azione annullata");

void refuse(Dialogs& dialogs, const QString& text)
{
    dialogs.inform(text, checkTitle, Dialogs::Icon::Warning);
}

} // namespace

bool HistoryChartWindow::checkDates()
{
    const QString from = fromBox->text().trimmed();
    const QString to = toBox->text().trimmed();
    if (from.isEmpty() && to.isEmpty())
        return true;
    const std::optional<qint64> fromDay = YearlyDates::parseDay(from);
    const std::optional<qint64> toDay = YearlyDates::parseDay(to);
    if (!from.isEmpty() && !fromDay) {
        refuse(dialogs_, QStringLiteral("Specificare una data di inizio valida."));
        return false;
    }
    if (!to.isEmpty() && !toDay) {
        refuse(dialogs_, QStringLiteral("Specificare una data di fine valida."));
        return false;
    }
    if (fromDay && toDay && *toDay < *fromDay) {
        refuse(dialogs_, QStringLiteral("La data di fine deve essere successiva alla data di inizio."));
        return false;
    }
    return true;
}

void HistoryChartWindow::drawChannels()
{
    if (!checkDates())
        return;
    fillChart();
    exportButton->setEnabled(true);
}

void HistoryChartWindow::fillChart()
{
    drawn_ = Drawn{};
    for (int k = 0; k < 8; ++k) {
        // A box past the file's channels has no column to draw.
        if (channelBoxes[k]->isChecked() && k < table_.seriesCount())
            drawn_.channels << k;
    }
    if (!drawn_.channels.isEmpty()) {
        // A box that does not hold a date here bounds nothing; "Disegna" checks them first.
        const YearlyTable::Range range = table_.rowsBetween(
            YearlyDates::parseDay(fromBox->text().trimmed()), YearlyDates::parseDay(toBox->text().trimmed()));
        drawn_.start = range.start;
        drawn_.end = range.end;
    }
    draw();
}

// Hands the chart the drawn rows: each channel's numbers straight from the table, reduced
// to the plot's pixel columns, and the date texts of the labelled categories only.
void HistoryChartWindow::draw()
{
    if (drawn_.isEmpty()) {
        chart->showEmpty();
        chart->update();
        return;
    }
    QStringList names;
    QList<LineChart::Pen> pens;
    for (int k : drawn_.channels) {
        names << QStringLiteral("CH%1").arg(k);
        pens << ChartStyle::historicalPen(k);
    }
    chart->setSeries(names, pens);
    const int count = drawn_.rowCount();
    for (int q = 0; q < drawn_.channels.size(); ++q)
        chart->setSeriesValues(q, table_.values(drawn_.channels[q]) + drawn_.start, count);
    const int start = drawn_.start;
    chart->setCategories(count, ChartStyle::labelStep(count - 1),
                            [this, start](int c) { return table_.text(start + c, 0); });
    chart->setLegendVisible(true);
    chart->update();
}
