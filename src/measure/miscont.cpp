// MisCont's window: its controls, opening and closing, Stop and Graph.
#include "measure/miscont.h"

#include "charts/grafici.h"
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

namespace {
MisCont* theWindow = nullptr;
}

MisCont* MisCont::instance() { return theWindow; }

Grafici* MisCont::chartWindow() const { return grafici_.data(); }

MisCont* MisCont::open(qint16 mux)
{
    if (!theWindow) {
        auto* w = new MisCont;
        w->setAttribute(Qt::WA_DeleteOnClose);
    }
    theWindow->QualeMux = mux;
    theWindow->show();
    theWindow->raise();
    theWindow->activateWindow();
    return theWindow;
}

MisCont::MisCont(QWidget* parent) : QWidget(parent, Qt::Window)
{
    using namespace Controls;
    theWindow = this;
    setObjectName(QStringLiteral("MisCont"));
    setWindowTitle(QStringLiteral("Continuous reading"));

    model_ = new ReadingsModel(table_, this);
    Grid1 = new QTableView(this);
    Grid1->setObjectName(QStringLiteral("Grid1"));
    Grid1->setAccessibleName(QStringLiteral("Readings"));
    Grid1->setModel(model_);
    Grid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid1->setWordWrap(false);
    Grid1->verticalHeader()->setDefaultSectionSize(Grid1->fontMetrics().height() + 8);
    Grid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Grid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Grid1->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);

    txtAvviso = box(this, QStringLiteral("txtAvviso"), QStringLiteral("Notice"));
    txtAvviso->setReadOnly(true);
    txtAvviso->setAlignment(Qt::AlignCenter);
    txtAvviso->hide();

    cmdStart = button(this, QStringLiteral("cmdStart"), QStringLiteral("&Start"));
    cmdStop = button(this, QStringLiteral("cmdStop"), QStringLiteral("S&top"));
    cmdGraf = button(this, QStringLiteral("cmdGraf"), QStringLiteral("&Graph"));
    cmdChiudi = button(this, QStringLiteral("cmdChiudi"), QStringLiteral("&Close"));
    cmdStop->setEnabled(false);
    cmdGraf->setEnabled(false);
    connect(cmdStart, &QPushButton::clicked, this, &MisCont::cmdStart_Click);
    connect(cmdStop, &QPushButton::clicked, this, &MisCont::cmdStop_Click);
    connect(cmdGraf, &QPushButton::clicked, this, &MisCont::cmdGraf_Click);
    connect(cmdChiudi, &QPushButton::clicked, this, &MisCont::cmdChiudi_Click);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {cmdStart, cmdStop, cmdGraf, cmdChiudi})
        buttons->addWidget(b);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(txtAvviso);
    layout->addWidget(Grid1, 1);

    setTabOrder(cmdStart, cmdStop);
    setTabOrder(cmdStop, cmdGraf);
    setTabOrder(cmdGraf, cmdChiudi);
    setTabOrder(cmdChiudi, Grid1);
    cmdStart->setFocus();

    resize(760, 480);
    centreOnScreen(this);
}

MisCont::~MisCont()
{
    // The view must not look at the table once it is gone.
    Grid1->setModel(nullptr);
    if (grafici_)
        delete grafici_.data();
    if (theWindow == this)
        theWindow = nullptr;
}

void MisCont::showNotice(const QString& text)
{
    txtAvviso->setText(text);
    txtAvviso->show();
}

void MisCont::hideNotice() { txtAvviso->hide(); }

void MisCont::cmdStop_Click()
{
    showNotice(QStringLiteral("Completing current reading..."));
    cmdStop->setEnabled(false);
    stopRequest_ = true;
}

void MisCont::cmdGraf_Click()
{
    if (grafici_)
        return;
    ChartMatrix& shared = sharedChartMatrix();
    shared.followGrowingSource(table_);
    shared.seriesCount = std::max(0, table_.columnCount() - 1);
    cmdGraf->setEnabled(false);
    auto* g = new Grafici(&table_);
    g->setAttribute(Qt::WA_DeleteOnClose);
    grafici_ = g;
    connect(g, &Grafici::closed, this, [this] {
        cmdGraf->setEnabled(true);
        GraficoAperto = false;
    });
    g->showChannelBoxes(shared.seriesCount);
    g->popola_grafico();
    GraficoAperto = true;
    g->show();
}

void MisCont::redrawChart()
{
    if (GraficoAperto && grafici_)
        grafici_->popola_grafico();
}

void MisCont::cmdChiudi_Click() { close(); }

// While a run goes on the window stays: closing it asks for the stop, as "Stop" does,
// and the run ends with its reading in progress written.
void MisCont::closeEvent(QCloseEvent* event)
{
    if (running_) {
        event->ignore();
        if (!stopRequest_)
            cmdStop_Click();
        return;
    }
    if (grafici_)
        grafici_->close();
    event->accept();
}
