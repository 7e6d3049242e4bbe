// "Connect": probe the chosen COM port, read every setting into the console, hand over.
#include "startup/start_window.h"

#include "console/console_window.h"
#include "link/conversions.h"
#include "link/dialogs.h"
#include "link/exchange.h"
#include "link/read_sequence.h"
#include "data/data_file_name.h"
#include "data/port_settings.h"
#include "widgets/box_colours.h"
#include "widgets/switch_box.h"

#include <QCheckBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>

using Exchange::ReadStep;

void StartWindow::connectToDatalogger()
{
    if (Exchange::linkBusy())
        return;
    Exchange::LinkState& link = Exchange::link();
    const int port = selectedPort(8);
    if (port == 0) {
        setStatus(QStringLiteral("Select a COM port!"));
        return;
    }
    link.comPortNumber = port;
    setStatus(QStringLiteral("Connecting port COM") + Numbers::shownNumber(double(port)));
    PortSettings::save(settingsPath, port);  // a settings file that cannot be written does not stop the connection

    if (Exchange::probeSerialPort(port) == 0) {
        setStatus(QStringLiteral("Datalogger not found, please check connection"));
        return;
    }
    setStatus(QStringLiteral(" Datalogger Found"));
    setStatusColour(BoxColour::Green);
    Exchange::pause(10);
    readSettingsAndHandOver();
}

bool StartWindow::readSettingsAndHandOver()
{
    setStatus(QStringLiteral("Reading internal parameters"));
    ConsoleWindow* f = console_;
    const auto show = [this](const QString& text) { setStatus(text); };
    QList<ReadStep> steps = {
        {[f] { f->readChannels(); }, QStringLiteral("Sensors settings"), 10},
        {[f] { f->readClock(); }, QStringLiteral("Date and time"), 10},
        {[f] { f->readStartTime(); }, QStringLiteral("Start date"), 10},
        {[f] { f->readTimer(); }, QStringLiteral("Timer"), 10},
        {[f] { f->readPreheating(); }, QStringLiteral("Pre-heating"), 10},
        {[f] { f->readInternalParameters(); }, QStringLiteral("Internal parameters"), 10},
        {[f] { f->readMemory(); }, QStringLiteral("Memory"), 10},
        {[f] { f->readName(); }, QStringLiteral("Datalogger Name"), 10},
        {[this] { readModelCode(); }, QStringLiteral("Datalogger Model"), 0},
        {[f] {
             Exchange::sendCommand(QStringLiteral("U"), QString());
             f->eventsCounterSwitch->showField(Exchange::readField());
         },
         QStringLiteral("Events counter"), 10},
        {[f] {
             Exchange::sendCommand(QStringLiteral("O"), QString());
             f->acquisitionSwitch->showField(Exchange::readField());
         },
         QStringLiteral("Acqisition status"), 10},
    };
    // A datalogger with a GSM modem also has its GSM/SMS and GPRS settings read, after the memory.
    if (gsmBox->isChecked()) {
        const qsizetype afterMemory = 7;
        steps.insert(afterMemory, {[f] { f->readGsm(); }, QStringLiteral("GSM/SMS"), 10});
        steps.insert(afterMemory + 1, {[f] { f->readGprs(); }, QStringLiteral("GPRS"), 10});
    }
    if (Exchange::runReadSequence(steps, show) == Exchange::SequenceEnd::Silent) {
        stopOnSilence();
        return false;
    }

    f->showAfterConnection(this);
    f->dataFileNameBox->setText(suggestedDataFileName(f->nameBox->text(), QDate::currentDate()));
    setBoxColour(f->dataFileNameBox, BoxColour::Yellow);
    return true;
}

void StartWindow::readModelCode()
{
    if (Exchange::readModelCode() == 0)
        console_->adaptForAnalogModel();
}

// The console does not open on values that never arrived; the port is closed so that
// the next "Connect" opens it afresh.
void StartWindow::stopOnSilence()
{
    Exchange::closePort();
    Exchange::link().portHeldOpen = false;
    setStatus(Exchange::silentDataloggerMessage());
    dialogs().inform(Exchange::silentDataloggerMessage(), QStringLiteral("Warning"),
                     Dialogs::Icon::Warning);
}
