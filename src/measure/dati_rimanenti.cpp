// DatiRimanenti's window: its controls, loading with the first DTR pause, closing, and
// the chart of the yearly file.
#include "measure/dati_rimanenti.h"

#include "charts/grafico_storico.h"
#include "data/yearly_file.h"
#include "link/dialogs.h"
#include "link/link_transport.h"
#include "link/modulo1.h"
#include "link/program_folder.h"
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

namespace {
DatiRimanenti* theWindow = nullptr;
}

DatiRimanenti::Timing& DatiRimanenti::timing()
{
    static Timing t;
    return t;
}

DatiRimanenti* DatiRimanenti::instance() { return theWindow; }

GraficoStorico* DatiRimanenti::chartWindow() const { return chart_.data(); }

DatiRimanenti* DatiRimanenti::open()
{
    if (!theWindow) {
        auto* w = new DatiRimanenti;
        w->setAttribute(Qt::WA_DeleteOnClose);
        w->load();
    }
    theWindow->show();
    theWindow->raise();
    theWindow->activateWindow();
    return theWindow;
}

DatiRimanenti::DatiRimanenti() : QWidget(nullptr, Qt::Window)
{
    theWindow = this;
    setObjectName(QStringLiteral("DatiRimanenti"));
    setWindowTitle(QStringLiteral("Acquisizione dati"));
    buildControls();
    layOut();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(timing().minuteMs);
    connect(Timer1, &QTimer::timeout, this, &DatiRimanenti::Timer1_Timer);
    // Once started it keeps ticking; a tick only marks that a pause has passed.
    TimerDTR = new QTimer(this);
    TimerDTR->setObjectName(QStringLiteral("TimerDTR"));
    TimerDTR->setInterval(timing().dtrPauseMs);
    connect(TimerDTR, &QTimer::timeout, this, [this] { dtrTickSeen_ = true; });
}

DatiRimanenti::~DatiRimanenti()
{
    if (theWindow == this)
        theWindow = nullptr;
}

void DatiRimanenti::buildControls()
{
    using namespace Controls;
    txtAnno = box(this, QStringLiteral("txtAnno"), QStringLiteral("Year"), 70);
    txtTimer = box(this, QStringLiteral("txtTimer"), QStringLiteral("Timer (min)"), 70);
    txtTimer->setText(QStringLiteral("30"));
    txtProssimo = box(this, QStringLiteral("txtProssimo"), QStringLiteral("Prox (min)"), 70);
    txtProssimo->setText(QStringLiteral("---"));
    txtProssimo->setReadOnly(true);
    txtAvviso = box(this, QStringLiteral("txtAvviso"), QStringLiteral("Notice"));
    txtAvviso->setReadOnly(true);
    txtAvviso->setAlignment(Qt::AlignCenter);

    cmdStart = button(this, QStringLiteral("cmdStart"), QStringLiteral("Acquire now"));
    cmdTimer = button(this, QStringLiteral("cmdTimer"), QStringLiteral("Acquire using timer"));
    cmdFermaTimer = button(this, QStringLiteral("cmdFermaTimer"), QStringLiteral("Stop timer acquisition"));
    cmdGraf = button(this, QStringLiteral("cmdGraf"), QStringLiteral("Graph"));
    cmdChiudi = button(this, QStringLiteral("cmdChiudi"), QStringLiteral("Close"));
    for (QPushButton* b : {cmdStart, cmdTimer, cmdFermaTimer, cmdGraf})
        b->setEnabled(false);
    connect(cmdStart, &QPushButton::clicked, this, &DatiRimanenti::cmdStart_Click);
    connect(cmdTimer, &QPushButton::clicked, this, &DatiRimanenti::cmdTimer_Click);
    connect(cmdFermaTimer, &QPushButton::clicked, this, &DatiRimanenti::cmdFermaTimer_Click);
    connect(cmdGraf, &QPushButton::clicked, this, &DatiRimanenti::cmdGraf_Click);
    connect(cmdChiudi, &QPushButton::clicked, this, &DatiRimanenti::cmdChiudi_Click);
}

void DatiRimanenti::layOut()
{
    using Controls::label;
    auto* boxes = new QGridLayout;
    int column = 0;
    for (auto [text, edit] : {std::pair{QStringLiteral("Year"), txtAnno},
                              std::pair{QStringLiteral("Timer (min)"), txtTimer},
                              std::pair{QStringLiteral("Prox (min)"), txtProssimo}}) {
        QLabel* l = label(this, text);
        l->setBuddy(edit);
        boxes->addWidget(l, 0, column);
        boxes->addWidget(edit, 1, column++);
    }
    boxes->setColumnStretch(column, 1);

    auto* acquire = new QHBoxLayout;
    for (QPushButton* b : {cmdStart, cmdTimer, cmdFermaTimer})
        acquire->addWidget(b);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(cmdGraf);
    bottom->addStretch(1);
    bottom->addWidget(cmdChiudi);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(boxes);
    layout->addLayout(acquire);
    layout->addWidget(txtAvviso);
    layout->addLayout(bottom);

    QWidget* order[] = {txtAnno, txtTimer, cmdStart, cmdTimer, cmdFermaTimer, cmdGraf, cmdChiudi};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    adjustSize();
}

// The datalogger is left asleep for a full pause before the first download.
void DatiRimanenti::load()
{
    centreOnScreen(this);
    txtAnno->setText(QString::number(QDate::currentDate().year()));
    if (LinkTransport* t = Modulo1::transport())
        t->setDtr(false);
    waitForDtrTick();
    txtAvviso->setText(QStringLiteral("Ready."));
    cmdStart->setEnabled(true);
    cmdTimer->setEnabled(true);
    cmdStart->setFocus();
}

// Until the DTR timer's next tick. The timer is started by the first pause and keeps
// running, so later pauses end at its next tick.
void DatiRimanenti::waitForDtrTick()
{
    pausing_ = true;
    dtrTickSeen_ = false;
    if (!TimerDTR->isActive())
        TimerDTR->start();
    while (!dtrTickSeen_)
        Modulo1::serviceUi(50);
    dtrTickSeen_ = false;
    pausing_ = false;
}

void DatiRimanenti::cmdGraf_Click()
{
    const std::optional<int> year = YearlyFile::cleanNumber(txtAnno->text());
    if (!year)
        return;
    // A chart already open shows the file as it was: it is opened again on the file now.
    if (chart_)
        chart_->close();
    cmdGraf->setEnabled(false);
    chart_ = GraficoStorico::openYearlyFile(YearlyFile::path(ProgramFolder::path(), *year));
    if (!chart_) {
        cmdGraf->setEnabled(true);
        return;
    }
    GraficoAperto = true;
    connect(chart_, &GraficoStorico::closed, this, [this] {
        cmdGraf->setEnabled(true);
        GraficoAperto = false;
    });
}

void DatiRimanenti::cmdChiudi_Click() { close(); }

void DatiRimanenti::closeEvent(QCloseEvent* event)
{
    // A download or its pause is in progress: the window stays until it ends.
    if (downloading_ || pausing_) {
        event->ignore();
        return;
    }
    if (Timer1->isActive()
        && !dialogs().confirm(QStringLiteral("Data acqisition timer will be stopped.\n\nClose?"),
                              QStringLiteral("Warning"), Dialogs::Icon::Warning)) {
        event->ignore();
        return;
    }
    Timer1->stop();
    event->accept();
}
