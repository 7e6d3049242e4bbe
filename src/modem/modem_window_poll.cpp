// The connection poll of the modem window and the connected phase: once the modem says
// "CONNECT", the datalogger's parameters are read into the console, which takes over.
#include "modem/modem_window.h"

#include "console/console_window.h"
#include "link/modem_answers.h"
#include "link/exchange.h"
#include "link/read_sequence.h"
#include "link/serial_port.h"
#include "modem/console_hand_over.h"

#include <QAction>
#include <QDate>
#include <QLineEdit>

using Exchange::ReadStep;

// Each tick shows the modem's latest answer. "CONNECT" counts only where a modem puts it,
// after the CR LF that opens its answer; an answer after which no "CONNECT" can come
// ends the dialling, as does a line that has gone (no answer can come over it).
void ModemWindow::poll()
{
    SerialPort* port = Exchange::serial();
    if (inConnectedPhase_ || Exchange::linkBusy() || !port)
        return;
    if (port->lost()) {
        pollTimer->stop();
        showStatus(QStringLiteral("Call ended: ") + port->lossText());
        return;
    }
    if (!port->isOpen())
        return;
    lastArrival = QString::fromLatin1(port->takeAll());
    if (lastArrival.isEmpty())
        return;
    showStatus(lastArrival.mid(2));
    if (lastArrival.mid(2, 7) == QLatin1String("CONNECT")) {
        connectedPhase();
        return;
    }
    const QString failed = ModemAnswers::failedCall(lastArrival);
    if (!failed.isEmpty()) {
        pollTimer->stop();
        showStatus(QStringLiteral("Call ended: ") + failed);
    }
}

void ModemWindow::connectedPhase()
{
    inConnectedPhase_ = true;
    retryAction->setEnabled(true);
    showStatus(QStringLiteral("LV210 GSM CONNECTED"));
    pollTimer->stop();
    lastConnectionBoxes[selectedRow]->setText(QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
    save();
    showStatus(QStringLiteral("Reading internal parameters"));
    Exchange::pause(400);
    if (readParameters())
        handOver();
    inConnectedPhase_ = false;
}

// The console's own read handlers, each followed by its status text and pause. A
// datalogger that does not answer at all stops the reading with a status saying so, and
// the console is not opened on values that never arrived.
bool ModemWindow::readParameters()
{
    ConsoleWindow* f = console_;
    const QList<ReadStep> steps = {
        {[f] { f->readChannels(); }, QStringLiteral("Sensors settings"), 20},
        {[f] { f->readClock(); }, QStringLiteral("Date and time"), 40},
        {[f] { f->readTimer(); }, QStringLiteral("Timer"), 20},
        {[f] { f->readPreheating(); }, QStringLiteral("Preheating"), 20},
        {[f] { f->readInternalParameters(); }, QStringLiteral("Internal parameters"), 20},
        {[f] { f->readMemory(); }, QStringLiteral("Memory"), 20},
        {[f] { f->readGprs(); }, QStringLiteral("GPRS"), 20},
        {[f] { f->readName(); }, QStringLiteral("Datalogger Name"), 20},
        {[f] {
             if (Exchange::readModelCode() == 0)
                 presentAnalogModel(f, QStringLiteral("LV210-LV420 VW DATALOGGER - MODEM"),
                                    QStringLiteral("Acquire data"));
         },
         QStringLiteral("Datalogger Model"), 0},
        {[f] {
             Exchange::sendCommand(QStringLiteral("U"), QString());
             f->eventsCounterSwitch->showField(Exchange::readField());
         },
         QStringLiteral("Events counter"), 20},
        {[f] {
             Exchange::sendCommand(QStringLiteral("O"), QString());
             f->acquisitionSwitch->showField(Exchange::readField());
         },
         QStringLiteral("Acquisition status"), 20},
    };
    const auto show = [this](const QString& text) { showStatus(text); };
    if (Exchange::runReadSequence(steps, show) == Exchange::SequenceEnd::Silent) {
        showStatus(Exchange::silentDataloggerMessage());
        return false;
    }
    f->readInternetSwitch();
    Exchange::pause(20);
    return true;
}

void ModemWindow::handOver() { handOverToConsole(this, console_); }
