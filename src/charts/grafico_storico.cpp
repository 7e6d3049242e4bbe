// GraficoStorico: its controls, its opening on a yearly file and its closing.
#include "charts/grafico_storico.h"

#include "link/dialogs.h"
#include "link/mfile.h"
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

GraficoStorico::GraficoStorico(YearlyTable table, const QString& sourcePath, QWidget* parent)
    : QWidget(parent, Qt::Window), table_(std::move(table)), sourcePath_(sourcePath)
{
    build();
}

GraficoStorico::~GraficoStorico() = default;

void GraficoStorico::build()
{
    using namespace Controls;
    setObjectName(QStringLiteral("GraficoStorico"));
    setWindowTitle(QStringLiteral("Grafici"));
    MSChart1 = new LineChart(this);
    MSChart1->setObjectName(QStringLiteral("MSChart1"));
    MSChart1->setAccessibleName(QStringLiteral("Grafico"));
    MSChart1->setMinimumSize(560, 360);

    txtDal = box(this, QStringLiteral("txtDal"), QStringLiteral("Dal"), 110);
    txtAl = box(this, QStringLiteral("txtAl"), QStringLiteral("Al"), 110);
    for (QLineEdit* e : {txtDal, txtAl}) {
        e->setPlaceholderText(QStringLiteral("gg/mm/aaaa"));
        e->setToolTip(QStringLiteral("gg/mm/aaaa"));
    }
    auto* dates = new QFormLayout;
    dates->addRow(label(this, QStringLiteral("Dal")), txtDal);
    dates->addRow(label(this, QStringLiteral("Al")), txtAl);

    auto* boxes = new QGridLayout;
    for (int k = 0; k < 8; ++k) {
        chkCH[k] = check(this, arrayName(QStringLiteral("chkCH"), k), QStringLiteral("CH%1").arg(k));
        chkCH[k]->hide();
        boxes->addWidget(chkCH[k], k % 4, k / 4);
        // An export must match the drawn selection: a changed box waits for "Disegna".
        connect(chkCH[k], &QCheckBox::clicked, this, [this] { cmdEsporta->setEnabled(false); });
    }

    cmdDisegna = button(this, QStringLiteral("cmdDisegna"), QStringLiteral("&Disegna"));
    cmdEsporta = button(this, QStringLiteral("cmdEsporta"), QStringLiteral("&Esporta in Excel"));
    cmdChiudi = button(this, QStringLiteral("cmdChiudi"), QStringLiteral("&Chiudi"));
    cmdEsporta->setEnabled(false);
    connect(cmdDisegna, &QPushButton::clicked, this, &GraficoStorico::cmdDisegna_Click);
    connect(cmdEsporta, &QPushButton::clicked, this, &GraficoStorico::cmdEsporta_Click);
    connect(cmdChiudi, &QPushButton::clicked, this, &QWidget::close);
    // A wider or narrower plot wants the series reduced to its new pixel columns.
    connect(MSChart1, &LineChart::plotColumnsChanged, this, &GraficoStorico::draw);

    auto* side = new QVBoxLayout;
    side->addLayout(dates);
    side->addSpacing(8);
    side->addLayout(boxes);
    side->addSpacing(8);
    side->addWidget(cmdDisegna);
    side->addWidget(cmdEsporta);
    side->addStretch(1);
    side->addWidget(cmdChiudi);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(MSChart1, 1);
    layout->addLayout(side);

    resize(1000, 600);
    centreOnScreen(this);
}

void GraficoStorico::showChannelBoxes(int count)
{
    for (int k = 0; k < 8; ++k)
        chkCH[k]->setVisible(k < count);
}

void GraficoStorico::closeEvent(QCloseEvent* event)
{
    event->accept();
    emit closed();
}

GraficoStorico* GraficoStorico::openYearlyFile(const QString& path, QWidget* parent)
{
    if (!mFile::File_Esiste(path)) {
        dialogs().inform(QStringLiteral("Data not found."), QStringLiteral("Canceled"));
        return nullptr;
    }
    if (mFile::File_Occupato(path))
        return nullptr;  // the operator gave up on a file another program holds
    YearlyTable table;
    QString error;
    if (!table.load(path, &error)) {
        dialogs().inform(QStringLiteral("The file %1 could not be read: %2").arg(path, error),
                         QStringLiteral("Canceled"), Dialogs::Icon::Warning);
        return nullptr;
    }
    auto* w = new GraficoStorico(std::move(table), path, parent);
    w->setAttribute(Qt::WA_DeleteOnClose);
    const int channels = w->table().seriesCount();
    w->showChannelBoxes(channels);
    w->popola_grafico();
    for (int k = 0; k < std::min(channels, 8); ++k)
        w->chkCH[k]->setChecked(true);
    w->cmdDisegna->click();
    w->show();
    // Over the drawn chart, so that the operator sees what the readings give. The box
    // runs its own event loop: the window may be gone when it returns.
    const QPointer<GraficoStorico> shown(w);
    if (const QString note = notReadingsText(w->table(), path); !note.isEmpty())
        dialogs().inform(note, QStringLiteral("Grafici"), Dialogs::Icon::Warning);
    return shown.data();
}
