// ContinuousReadingWindow's window: its controls, opening and closing, Stop and Graph.
#include "widgets/services.h"
#include "measure/continuous_reading_window.h"

#include "charts/live_chart_window.h"
#include "measure/readings_model.h"
#include "widgets/controls.h"
#include "widgets/window_placement.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

LiveChartWindow* ContinuousReadingWindow::chartWindow() const { return liveChart_.data(); }

ContinuousReadingWindow* ContinuousReadingWindow::open(Services& services, qint16 mux,
                                                       ContinuousReadingWindow* existing)
{
    ContinuousReadingWindow* w = existing;
    if (!w) {
        w = new ContinuousReadingWindow(services);
        w->setAttribute(Qt::WA_DeleteOnClose);
    }
    w->mux = mux;
    w->show();
    w->raise();
    w->activateWindow();
    return w;
}

ContinuousReadingWindow::ContinuousReadingWindow(Services& services, QWidget* parent)
    : QWidget(parent, Qt::Window), link_(services.link), dialogs_(services.dialogs),
      programFolder_(services.programFolder)
{
    using namespace Controls;
    setObjectName(QStringLiteral("MisCont"));
    setWindowTitle(QStringLiteral("Continuous reading"));

    model_ = new ReadingsModel(table_, this);
    tableView = new QTableView(this);
    tableView->setObjectName(QStringLiteral("Grid1"));
    tableView->setAccessibleName(QStringLiteral("Readings"));
    tableView->setModel(model_);
    tableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tableView->setWordWrap(false);
    tableView->verticalHeader()->setDefaultSectionSize(tableView->fontMetrics().height() + 8);
    tableView->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    tableView->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    tableView->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);

    noticeBox = box(this, QStringLiteral("txtAvviso"), QStringLiteral("Notice"));
    noticeBox->setReadOnly(true);
    noticeBox->setAlignment(Qt::AlignCenter);
    noticeBox->hide();

    startButton = button(this, QStringLiteral("cmdStart"), QStringLiteral("&Start"));
    stopButton = button(this, QStringLiteral("cmdStop"), QStringLiteral("S&top"));
    graphButton = button(this, QStringLiteral("cmdGraf"), QStringLiteral("&Graph"));
    closeButton = button(this, QStringLiteral("cmdChiudi"), QStringLiteral("&Close"));
    stopButton->setEnabled(false);
    graphButton->setEnabled(false);
    connect(startButton, &QPushButton::clicked, this, &ContinuousReadingWindow::start);
    connect(stopButton, &QPushButton::clicked, this, &ContinuousReadingWindow::stop);
    connect(graphButton, &QPushButton::clicked, this, &ContinuousReadingWindow::openChart);
    connect(closeButton, &QPushButton::clicked, this, &ContinuousReadingWindow::closeWindow);

    QHBoxLayout* buttons = Controls::leftRow({startButton, stopButton, graphButton, closeButton});
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(noticeBox);
    layout->addWidget(tableView, 1);

    setTabOrder(startButton, stopButton);
    setTabOrder(stopButton, graphButton);
    setTabOrder(graphButton, closeButton);
    setTabOrder(closeButton, tableView);
    startButton->setFocus();

    resize(760, 480);
    centreOnScreen(this);
}

ContinuousReadingWindow::~ContinuousReadingWindow()
{
    // The view must not look at the table once it is gone.
    tableView->setModel(nullptr);
    if (liveChart_)
        delete liveChart_.data();
}

void ContinuousReadingWindow::showNotice(const QString& text)
{
    noticeBox->setText(text);
    noticeBox->show();
}

void ContinuousReadingWindow::hideNotice() { noticeBox->hide(); }

void ContinuousReadingWindow::stop()
{
    showNotice(QStringLiteral("Completing current reading..."));
    stopButton->setEnabled(false);
    stopRequest_ = true;
}

void ContinuousReadingWindow::openChart()
{
    if (liveChart_)
        return;
    graphButton->setEnabled(false);
    auto* g = new LiveChartWindow(&table_);
    g->setAttribute(Qt::WA_DeleteOnClose);
    liveChart_ = g;
    connect(g, &LiveChartWindow::closed, this, [this] {
        graphButton->setEnabled(true);
        chartOpen = false;
    });
    g->showChannelBoxes(std::max(0, table_.columnCount() - 1));
    g->fillChart();
    chartOpen = true;
    g->show();
}

void ContinuousReadingWindow::redrawChart()
{
    if (chartOpen && liveChart_)
        liveChart_->fillChart();
}

void ContinuousReadingWindow::closeWindow() { close(); }

// While a run goes on the window stays: closing it asks for the stop, as "Stop" does,
// and the run ends with its reading in progress written.
void ContinuousReadingWindow::closeEvent(QCloseEvent* event)
{
    if (running_) {
        event->ignore();
        if (!stopRequest_)
            stop();
        return;
    }
    if (liveChart_)
        liveChart_->close();
    event->accept();
}
