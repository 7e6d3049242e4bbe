// The connection poll of the modem window and the connected phase: once the modem says
// "CONNECT", the datalogger's parameters are read into the console, which takes over.
#include "modem/modem.h"

#include "console/form1.h"
#include "link/modem_answers.h"
#include "link/modulo1.h"
#include "link/read_sequence.h"
#include "link/serial_port.h"
#include "modem/console_hand_over.h"

#include <QAction>
#include <QDate>
#include <QLineEdit>

using Modulo1::ReadStep;

// Each tick shows the modem's latest answer. "CONNECT" counts only where a modem puts it,
// after the CR LF that opens its answer; an answer after which no "CONNECT" can come
// ends the dialling, as does a line that has gone (no answer can come over it).
void Modem::Timer1_Timer()
{
    SerialPort* port = Modulo1::serial();
    if (inConnectedPhase_ || Modulo1::linkBusy() || !port)
        return;
    if (port->lost()) {
        Timer1->stop();
        showStatus(QStringLiteral("Call ended: ") + port->lossText());
        return;
    }
    if (!port->isOpen())
        return;
    fittizio = QString::fromLatin1(port->takeAll());
    if (fittizio.isEmpty())
        return;
    showStatus(fittizio.mid(2));
    if (fittizio.mid(2, 7) == QLatin1String("CONNECT")) {
        connectedPhase();
        return;
    }
    const QString failed = ModemAnswers::failedCall(fittizio);
    if (!failed.isEmpty()) {
        Timer1->stop();
        showStatus(QStringLiteral("Call ended: ") + failed);
    }
}

void Modem::connectedPhase()
{
    inConnectedPhase_ = true;
    Riprova->setEnabled(true);
    showStatus(QStringLiteral("LV210 GSM CONNECTED"));
    Timer1->stop();
    Uldata[alfa]->setText(QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
    Salva_Click();
    showStatus(QStringLiteral("Reading internal parameters"));
    Modulo1::Pausa(400);
    if (readParameters())
        handOver();
    inConnectedPhase_ = false;
}

// The console's own read handlers, each followed by its status text and pause. A
// datalogger that does not answer at all stops the reading with a status saying so, and
// the console is not opened on values that never arrived.
bool Modem::readParameters()
{
    Form1* f = console_;
    const QList<ReadStep> steps = {
        {[f] { f->leggicanali_Click(); }, QStringLiteral("Sensors settings"), 20},
        {[f] { f->leggidata_Click(); }, QStringLiteral("Date and time"), 40},
        {[f] { f->command2_Click(); }, QStringLiteral("Timer"), 20},
        {[f] { f->Preacc_Click(); }, QStringLiteral("Preheating"), 20},
        {[f] { f->Status_Click(); }, QStringLiteral("Internal parameters"), 20},
        {[f] { f->Aggiorna_acq_Click(); }, QStringLiteral("Memory"), 20},
        {[f] { f->LeggiGPRS_Click(); }, QStringLiteral("GPRS"), 20},
        {[f] { f->leggi_nome_Click(); }, QStringLiteral("Datalogger Name"), 20},
        {[f] {
             if (Modulo1::readModelCode() == 0)
                 presentAnalogModel(f, QStringLiteral("LV210-LV420 VW DATALOGGER - MODEM"),
                                    QStringLiteral("Acquire data"));
         },
         QStringLiteral("Datalogger Model"), 0},
        {[f] {
             Modulo1::Invia_Comando(QStringLiteral("U"), QString());
             f->PLUVIOMETRO->showField(Modulo1::Leggi_Campo());
         },
         QStringLiteral("Events counter"), 20},
        {[f] {
             Modulo1::Invia_Comando(QStringLiteral("O"), QString());
             f->data_logging->showField(Modulo1::Leggi_Campo());
         },
         QStringLiteral("Acquisition status"), 20},
    };
    const auto show = [this](const QString& text) { showStatus(text); };
    if (Modulo1::runReadSequence(steps, show) == Modulo1::SequenceEnd::Silent) {
        showStatus(Modulo1::silentDataloggerMessage());
        return false;
    }
    f->cmdWebLeggi_Click();
    Modulo1::Pausa(20);
    return true;
}

void Modem::handOver() { handOverToConsole(this, console_); }
