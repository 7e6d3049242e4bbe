// HistoryChartWindow: its controls, its opening on a yearly file and its closing.
#include "charts/history_chart_window.h"

#include "data/dialogs.h"
#include "data/file_checks.h"
#include "widgets/controls.h"
#include "widgets/window_placement.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// What the operator is told about the lines of the file that are not readings: how many,
// where the first is, and what of them the chart shows.
QString notReadingsText(const YearlyTable& t, const QString& path)
{
    const qint64 n = t.notReadings();
    if (n == 0)
        return {};
    const QString name = QFileInfo(path).fileName();
    const QString first = QString::number(t.firstNotReading());
    if (n == 1)
        return QStringLiteral("%1: 1 line is not a reading (line %2); %3").arg(name, first,
            t.leftOut() ? QStringLiteral("it is not drawn.") : QStringLiteral("only the numbers in it are drawn."));
    QString shown;
    if (t.leftOut() == n)
        shown = QStringLiteral("they are not drawn.");
    else if (t.leftOut() == 0)
        shown = QStringLiteral("only the numbers in them are drawn.");
    else if (t.leftOut() == 1)
        shown = QStringLiteral("1 of them is not text and is not drawn; of the others only the numbers are drawn.");
    else
        shown = QStringLiteral("%1 of them are not text and are not drawn; of the others only the numbers are drawn.")
                    .arg(t.leftOut());
    return QStringLiteral("%1: %2 lines are not readings (the first is line %3); %4")
        .arg(name, QString::number(n), first, shown);
}

} // namespace

HistoryChartWindow::HistoryChartWindow(Dialogs& dialogs, YearlyTable table, const QString& sourcePath,
                                       QWidget* parent)
    : QWidget(parent, Qt::Window), dialogs_(dialogs), table_(std::move(table)), sourcePath_(sourcePath)
{
    build();
}

HistoryChartWindow::~HistoryChartWindow() = default;

void HistoryChartWindow::build()
{
    using namespace Controls;
    setObjectName(QStringLiteral("GraficoStorico"));
    setWindowTitle(QStringLiteral("Grafici"));
    chart = new LineChart(this);
    chart->setObjectName(QStringLiteral("MSChart1"));
    chart->setAccessibleName(QStringLiteral("Grafico"));
    chart->setMinimumSize(560, 360);

    fromBox = box(this, QStringLiteral("txtDal"), QStringLiteral("Dal"), 110);
    toBox = box(this, QStringLiteral("txtAl"), QStringLiteral("Al"), 110);
    for (QLineEdit* e : {fromBox, toBox}) {
        e->setPlaceholderText(QStringLiteral("gg/mm/aaaa"));
        e->setToolTip(QStringLiteral("gg/mm/aaaa"));
    }
    auto* dates = new QFormLayout;
    dates->addRow(label(this, QStringLiteral("Dal")), fromBox);
    dates->addRow(label(this, QStringLiteral("Al")), toBox);

    auto* boxes = new QGridLayout;
    for (int k = 0; k < 8; ++k) {
        channelBoxes[k] = check(this, arrayName(QStringLiteral("chkCH"), k), QStringLiteral("CH%1").arg(k));
        channelBoxes[k]->hide();
        boxes->addWidget(channelBoxes[k], k % 4, k / 4);
        // An export must match the drawn selection: a changed box waits for "Disegna".
        connect(channelBoxes[k], &QCheckBox::clicked, this, [this] { exportButton->setEnabled(false); });
    }

    drawButton = button(this, QStringLiteral("cmdDisegna"), QStringLiteral("&Disegna"));
    exportButton = button(this, QStringLiteral("cmdEsporta"), QStringLiteral("&Esporta in Excel"));
    closeButton = button(this, QStringLiteral("cmdChiudi"), QStringLiteral("&Chiudi"));
    exportButton->setEnabled(false);
    connect(drawButton, &QPushButton::clicked, this, &HistoryChartWindow::drawChannels);
    connect(exportButton, &QPushButton::clicked, this, &HistoryChartWindow::exportDrawn);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    // A wider or narrower plot wants the series reduced to its new pixel columns.
    connect(chart, &LineChart::plotColumnsChanged, this, &HistoryChartWindow::draw);

    auto* side = new QVBoxLayout;
    side->addLayout(dates);
    side->addSpacing(8);
    side->addLayout(boxes);
    side->addSpacing(8);
    side->addWidget(drawButton);
    side->addWidget(exportButton);
    side->addStretch(1);
    side->addWidget(closeButton);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(chart, 1);
    layout->addLayout(side);

    resize(1000, 600);
    centreOnScreen(this);
}

void HistoryChartWindow::showChannelBoxes(int count)
{
    for (int k = 0; k < 8; ++k)
        channelBoxes[k]->setVisible(k < count);
}

void HistoryChartWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    emit closed();
}

HistoryChartWindow* HistoryChartWindow::openYearlyFile(Dialogs& dialogs, const QString& path, QWidget* parent)
{
    if (!FileChecks::fileExists(path)) {
        dialogs.inform(QStringLiteral("Data not found."), QStringLiteral("Canceled"));
        return nullptr;
    }
    if (FileChecks::fileInUse(dialogs, path))
        return nullptr;  // the operator gave up on a file another program holds
    YearlyTable table;
    QString error;
    if (!table.load(path, &error)) {
        dialogs.inform(QStringLiteral("The file %1 could not be read: %2").arg(path, error),
                         QStringLiteral("Canceled"), Dialogs::Icon::Warning);
        return nullptr;
    }
    auto* w = new HistoryChartWindow(dialogs, std::move(table), path, parent);
    w->setAttribute(Qt::WA_DeleteOnClose);
    const int channels = w->table().seriesCount();
    w->showChannelBoxes(channels);
    w->fillChart();
    for (int k = 0; k < std::min(channels, 8); ++k)
        w->channelBoxes[k]->setChecked(true);
    w->drawButton->click();
    w->show();
    // Over the drawn chart, so that the operator sees what the readings give. The box
    // runs its own event loop: the window may be gone when it returns.
    const QPointer<HistoryChartWindow> shown(w);
    if (const QString note = notReadingsText(w->table(), path); !note.isEmpty())
        dialogs.inform(note, QStringLiteral("Grafici"), Dialogs::Icon::Warning);
    return shown.data();
}
