// NewDataWindow's window: its controls, loading with the first DTR pause, closing, and
// the chart of the yearly file.
#include "widgets/services.h"
#include "measure/new_data_window.h"

#include "charts/history_chart_window.h"
#include "data/yearly_file.h"
#include "data/dialogs.h"
#include "link/link_transport.h"
#include "link/link.h"
#include "data/program_folder.h"
#include "widgets/controls.h"
#include "widgets/window_placement.h"

#include <QCloseEvent>
#include <QDate>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

HistoryChartWindow* NewDataWindow::chartWindow() const { return chart_.data(); }

NewDataWindow* NewDataWindow::open(Services& services, NewDataWindow* existing, const NewDataTiming& timing)
{
    NewDataWindow* w = existing;
    if (!w) {
        w = new NewDataWindow(services, timing);
        w->setAttribute(Qt::WA_DeleteOnClose);
        w->load();
    }
    w->show();
    w->raise();
    w->activateWindow();
    return w;
}

NewDataWindow::NewDataWindow(Services& services, const NewDataTiming& timing)
    : QWidget(nullptr, Qt::Window), timing_(timing), link_(services.link), dialogs_(services.dialogs),
      programFolder_(services.programFolder)
{
    setObjectName(QStringLiteral("DatiRimanenti"));
    setWindowTitle(QStringLiteral("Acquisizione dati"));
    buildControls();
    layOut();

    minuteTimer = new QTimer(this);
    minuteTimer->setObjectName(QStringLiteral("Timer1"));
    minuteTimer->setInterval(timing_.minuteMs);
    connect(minuteTimer, &QTimer::timeout, this, &NewDataWindow::minutePassed);
    // Once started it keeps ticking; a tick only marks that a pause has passed.
    dtrTimer = new QTimer(this);
    dtrTimer->setObjectName(QStringLiteral("TimerDTR"));
    dtrTimer->setInterval(timing_.dtrPauseMs);
    connect(dtrTimer, &QTimer::timeout, this, [this] { dtrTickSeen_ = true; });
}

NewDataWindow::~NewDataWindow() = default;

void NewDataWindow::buildControls()
{
    using namespace Controls;
    yearBox = box(this, QStringLiteral("txtAnno"), QStringLiteral("Year"), 70);
    intervalBox = box(this, QStringLiteral("txtTimer"), QStringLiteral("Timer (min)"), 70);
    intervalBox->setText(QStringLiteral("30"));
    countdownBox = box(this, QStringLiteral("txtProssimo"), QStringLiteral("Prox (min)"), 70);
    countdownBox->setText(QStringLiteral("---"));
    countdownBox->setReadOnly(true);
    noticeBox = box(this, QStringLiteral("txtAvviso"), QStringLiteral("Notice"));
    noticeBox->setReadOnly(true);
    noticeBox->setAlignment(Qt::AlignCenter);

    startButton = button(this, QStringLiteral("cmdStart"), QStringLiteral("&Acquire now"));
    timerButton = button(this, QStringLiteral("cmdTimer"), QStringLiteral("Acquire using &timer"));
    stopTimerButton = button(this, QStringLiteral("cmdFermaTimer"), QStringLiteral("&Stop timer acquisition"));
    graphButton = button(this, QStringLiteral("cmdGraf"), QStringLiteral("&Graph"));
    closeButton = button(this, QStringLiteral("cmdChiudi"), QStringLiteral("&Close"));
    for (QPushButton* b : {startButton, timerButton, stopTimerButton, graphButton})
        b->setEnabled(false);
    connect(startButton, &QPushButton::clicked, this, &NewDataWindow::acquireNow);
    connect(timerButton, &QPushButton::clicked, this, &NewDataWindow::acquireOnTimer);
    connect(stopTimerButton, &QPushButton::clicked, this, &NewDataWindow::stopTimerAcquisition);
    connect(graphButton, &QPushButton::clicked, this, &NewDataWindow::openChart);
    connect(closeButton, &QPushButton::clicked, this, &NewDataWindow::closeWindow);
}

void NewDataWindow::layOut()
{
    using Controls::label;
    auto* boxes = new QGridLayout;
    int column = 0;
    for (auto [text, edit] : {std::pair{QStringLiteral("Year"), yearBox},
                              std::pair{QStringLiteral("Timer (min)"), intervalBox},
                              std::pair{QStringLiteral("Prox (min)"), countdownBox}}) {
        QLabel* l = label(this, text);
        l->setBuddy(edit);
        boxes->addWidget(l, 0, column);
        boxes->addWidget(edit, 1, column++);
    }
    boxes->setColumnStretch(column, 1);

    auto* acquire = new QHBoxLayout;
    for (QPushButton* b : {startButton, timerButton, stopTimerButton})
        acquire->addWidget(b);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(graphButton);
    bottom->addStretch(1);
    bottom->addWidget(closeButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(boxes);
    layout->addLayout(acquire);
    layout->addWidget(noticeBox);
    layout->addLayout(bottom);

    // Top to bottom, left to right: the read-only boxes too, so that they can be read.
    QWidget* order[] = {yearBox,       intervalBox,  countdownBox, startButton, timerButton,
                        stopTimerButton, noticeBox, graphButton,     closeButton};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    adjustSize();
}

// The datalogger is left asleep for a full pause before the first download.
void NewDataWindow::load()
{
    centreOnScreen(this);
    yearBox->setText(QString::number(QDate::currentDate().year()));
    if (LinkTransport* t = link_.transport())
        t->setDtr(false);
    waitForDtrTick();
    noticeBox->setText(QStringLiteral("Ready."));
    startButton->setEnabled(true);
    timerButton->setEnabled(true);
    startButton->setFocus();
}

// Until the DTR timer's next tick. The timer is started by the first pause and keeps
// running, so later pauses end at its next tick.
void NewDataWindow::waitForDtrTick()
{
    pausing_ = true;
    dtrTickSeen_ = false;
    if (!dtrTimer->isActive())
        dtrTimer->start();
    while (!dtrTickSeen_)
        link_.serviceUi(50);
    dtrTickSeen_ = false;
    pausing_ = false;
}

void NewDataWindow::openChart()
{
    const std::optional<int> year = YearlyFile::cleanNumber(yearBox->text());
    if (!year)
        return;
    // A chart already open shows the file as it was: it is opened again on the file now.
    if (chart_)
        chart_->close();
    graphButton->setEnabled(false);
    chart_ = HistoryChartWindow::openYearlyFile(dialogs_, YearlyFile::path(programFolder_, *year));
    if (!chart_) {
        graphButton->setEnabled(true);
        return;
    }
    chartOpen = true;
    connect(chart_, &HistoryChartWindow::closed, this, [this] {
        graphButton->setEnabled(true);
        chartOpen = false;
    });
}

void NewDataWindow::closeWindow() { close(); }

void NewDataWindow::closeEvent(QCloseEvent* event)
{
    // A download or its pause is in progress: the window stays until it ends.
    if (downloading_ || pausing_) {
        event->ignore();
        return;
    }
    if (minuteTimer->isActive()
        && !dialogs_.confirm(QStringLiteral("Data acqisition timer will be stopped.\n\nClose?"),
                              QStringLiteral("Warning"), Dialogs::Icon::Warning)) {
        event->ignore();
        return;
    }
    minuteTimer->stop();
    event->accept();
}
