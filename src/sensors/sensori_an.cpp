// The sensor window: its grid, its eight buttons and their exchanges.
#include "sensors/sensori_an.h"

#include "console/form1.h"
#include "data/coefficient_table.h"
#include "link/conversions.h"
#include "link/dialogs.h"
#include "link/modulo1.h"
#include "widgets/controls.h"
#include "widgets/unsendable.h"
#include "widgets/window_placement.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Modulo1;
using Conversioni::Str;
using Conversioni::Val;

namespace {

const QString columnNames[5] = {QStringLiteral("Sensor name"), QStringLiteral("Zero_Volt"),
                                QStringLiteral("FS_Volt"), QStringLiteral("Zero_Physical"),
                                QStringLiteral("FS_Physical")};

// The absolute channel of a row, as it travels: with the blank of its sign position.
QString channelText(int mux, int row) { return Str(16 * mux + row); }

} // namespace

Sensori_An::Sensori_An(Form1* console, QWidget* parent)
    : QWidget(parent, Qt::Window), console_(console)
{
    setObjectName(QStringLiteral("Sensori_An"));
    setWindowTitle(QStringLiteral("Sensors settings"));
    buildControls();
    resize(760, 640);
    centreOnScreen(this);
}

void Sensori_An::buildControls()
{
    using namespace Controls;
    auto* layout = new QVBoxLayout(this);
    auto* buttons = new QGridLayout;
    for (int m = 0; m < 4; ++m) {
        Leggi_prop[m] = button(this, arrayName(QStringLiteral("Leggi_prop"), m),
                               QStringLiteral("Read MUX%1").arg(m));
        ScriviProp[m] = button(this, arrayName(QStringLiteral("ScriviProp"), m),
                               m == 0 ? QStringLiteral("Write  MUX0") : QStringLiteral("Write MUX%1").arg(m));
        buttons->addWidget(Leggi_prop[m], 0, m);
        buttons->addWidget(ScriviProp[m], 1, m);
        connect(Leggi_prop[m], &QPushButton::clicked, this, [this, m] { Leggi_prop_Click(m); });
        connect(ScriviProp[m], &QPushButton::clicked, this, [this, m] { ScriviProp_Click(m); });
    }
    layout->addLayout(buttons);

    auto* grid = new QGridLayout;
    for (int c = 0; c < 5; ++c)
        grid->addWidget(label(this, columnNames[c]), 0, c + 1);
    std::array<std::array<QLineEdit*, 16>*, 5> columns = {&NomeCanali, &CA, &CB, &CC, &CD};
    const QString arrays[5] = {QStringLiteral("NomeCanali"), QStringLiteral("CA"), QStringLiteral("CB"),
                               QStringLiteral("CC"), QStringLiteral("CD")};
    for (int p = 0; p < 16; ++p) {
        Numero_Canali[p] = label(this, Conversioni::CStr(p), arrayName(QStringLiteral("Numero_Canali"), p));
        grid->addWidget(Numero_Canali[p], p + 1, 0);
        for (int c = 0; c < 5; ++c) {
            QLineEdit* box = Controls::box(this, arrayName(arrays[c], p),
                                           columnNames[c] + QLatin1Char(' ') + Conversioni::CStr(p));
            box->setText(QStringLiteral("read mux"));
            (*columns[size_t(c)])[size_t(p)] = box;
            grid->addWidget(box, p + 1, c + 1);
        }
    }
    layout->addLayout(grid);
    layout->addWidget(label(this, QStringLiteral("VALUE=((VOLT_OUT-ZERO_VOLT)/(FS_VOLT-ZERO_VOLT))*(FS_PH-ZERO_PH)+ZERO_PH"),
                            QStringLiteral("Formula")));
    layout->addWidget(label(this, QStringLiteral("Modifying Full Scale values has no effect on Vibrating Wire sensors"),
                            QStringLiteral("Avviso")));
}

void Sensori_An::setButtonsEnabled(bool enabled)
{
    for (int m = 0; m < 4; ++m) {
        Leggi_prop[m]->setEnabled(enabled);
        ScriviProp[m]->setEnabled(enabled);
    }
}

// The rows beyond the channel count are not read: named "Non Attivo", their coefficient
// boxes kept as they were.
void Sensori_An::readRows(int mux)
{
    for (QLineEdit* name : NomeCanali)
        name->setText(QStringLiteral("Non Attivo"));
    const int rows = console_->channelCount(mux);
    for (int p = 0; p < rows; ++p) {
        Invia_Comando(QStringLiteral("R"), Conversioni::Values({channelText(mux, p)}));
        NomeCanali[p]->setText(Leggi_Campo());
        for (QLineEdit* box : {CA[p], CB[p], CC[p], CD[p]})
            box->setText(Leggi_Campo().trimmed());
        Pausa(10);
    }
}

void Sensori_An::Leggi_prop_Click(int mux)
{
    if (linkBusy() || mux < 0 || mux > 3)
        return;
    setButtonsEnabled(false);
    readRows(mux);
    setButtonsEnabled(true);
}

// A comma would end a value early and shift every later field on the datalogger; a
// character outside Latin-1 would arrive as "?".
QString Sensori_An::unsendable(int rows) const
{
    const std::array<const std::array<QLineEdit*, 16>*, 5> columns = {&NomeCanali, &CA, &CB, &CC, &CD};
    for (int p = 0; p < rows; ++p) {
        for (int c = 0; c < 5; ++c) {
            const QString reason = unsendableReason(
                columnNames[c] + QStringLiteral(" of row ") + Conversioni::CStr(p),
                (*columns[size_t(c)])[size_t(p)]->text());
            if (!reason.isEmpty())
                return reason;
        }
    }
    return {};
}

void Sensori_An::ScriviProp_Click(int mux)
{
    if (linkBusy() || mux < 0 || mux > 3)
        return;
    setButtonsEnabled(false);
    const int rows = console_->channelCount(mux);
    const QString refused = unsendable(rows);
    if (!refused.isEmpty()) {
        dialogs().inform(refusalMessage(refused), QStringLiteral("Warning"));
        setButtonsEnabled(true);
        return;
    }
    for (int p = 0; p < rows; ++p) {
        const int ch = 16 * mux + p;
        CoefficientTable::store(ch, Val(CA[p]->text()), Val(CB[p]->text()), Val(CC[p]->text()),
                                Val(CD[p]->text()));
        Invia_Comando(QStringLiteral("r"),
                      Conversioni::Values({channelText(mux, p), NomeCanali[p]->text().trimmed(),
                                           CA[p]->text().trimmed(), CB[p]->text().trimmed(),
                                           CC[p]->text().trimmed(), CD[p]->text().trimmed()}));
    }
    Pausa(10);
    readRows(mux);
    setButtonsEnabled(true);
}

void Sensori_An::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

void Sensori_An::Form_Unload()
{
    hide();
    setEnabled(false);
    console_->show();
    console_->setEnabled(true);
}
