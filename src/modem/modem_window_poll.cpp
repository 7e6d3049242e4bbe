// The connection poll of the modem window and the connected phase: once the modem says
// "CONNECT", the datalogger's parameters are read into the console, which takes over.
#include "modem/modem_window.h"

#include "widgets/console_door.h"
#include "link/modem_answers.h"
#include "link/link.h"
#include "widgets/refused_model_code.h"
#include "protocol/datalogger_model.h"
#include "protocol/read_sequence.h"
#include "link/serial_port.h"

#include <QAction>
#include <QDate>
#include <QLineEdit>

using ReadSequence::Step;

// Each tick shows the modem's latest answer. "CONNECT" counts only where a modem puts it,
// after the CR LF that opens its answer; an answer after which no "CONNECT" can come
// ends the dialling, as does a line that has gone (no answer can come over it).
void ModemWindow::poll()
{
    SerialPort* port = link_.serial();
    if (inConnectedPhase_ || link_.busy() || !port)
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
    link_.pause(400);
    if (readParameters())
        console_->handOver(this, RowColour);
    inConnectedPhase_ = false;
}

// The console's own read handlers, each followed by its status text and pause. A
// datalogger that does not answer at all stops the reading with a status saying so, and
// the console is not opened on values that never arrived.
bool ModemWindow::readParameters()
{
    ConsoleDoor* f = console_;
    using Read = ConsoleDoor::Read;
    const QList<Step> steps = {
        {[f] { f->read(Read::Channels); }, QStringLiteral("Sensors settings"), 20},
        {[f] { f->read(Read::Clock); }, QStringLiteral("Date and time"), 40},
        {[f] { f->read(Read::Timer); }, QStringLiteral("Timer"), 20},
        {[f] { f->read(Read::Preheating); }, QStringLiteral("Preheating"), 20},
        {[f] { f->read(Read::InternalParameters); }, QStringLiteral("Internal parameters"), 20},
        {[f] { f->read(Read::Memory); }, QStringLiteral("Memory"), 20},
        {[f] { f->read(Read::Gprs); }, QStringLiteral("GPRS"), 20},
        {[f] { f->read(Read::Name); }, QStringLiteral("Datalogger Name"), 20},
        {[this, f] {
             const ReadSequence::ModelCode read = ReadSequence::readModelCode(link_, datalogger_);
             tellRefusedModelCode(dialogs_, read);
             if (read.code == 0)
                 f->presentAnalogModel(QStringLiteral("LV210-LV420 VW DATALOGGER - MODEM"),
                                       QStringLiteral("Acquire data"));
         },
         QStringLiteral("Datalogger Model"), 0},
        {[this, f] {
             f->showEventsCounterField(ReadSequence::readEventsCounter(link_).fields[0]);
         },
         QStringLiteral("Events counter"), 20},
        {[this, f] {
             f->showAcquisitionField(ReadSequence::readAcquisition(link_).fields[0]);
         },
         QStringLiteral("Acquisition status"), 20},
    };
    const auto show = [this](const QString& text) { showStatus(text); };
    if (ReadSequence::run(link_, steps, show) == ReadSequence::End::Silent) {
        showStatus(ReadSequence::silentDataloggerMessage());
        return false;
    }
    f->read(Read::InternetSwitch);
    link_.pause(20);
    return true;
}


