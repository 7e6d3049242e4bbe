// "Connect": probe the chosen COM port, read every setting into the console, hand over.
#include "widgets/services.h"
#include "startup/start_window.h"

#include "console/console_window.h"
#include "data/conversions.h"
#include "data/dialogs.h"
#include "link/link.h"
#include "widgets/refused_model_code.h"
#include "protocol/datalogger_model.h"
#include "protocol/read_sequence.h"
#include "data/data_file_name.h"
#include "data/port_settings.h"
#include "widgets/box_colours.h"
#include "widgets/switch_box.h"

#include <QCheckBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>

using ReadSequence::Step;

void StartWindow::connectToDatalogger()
{
    if (link_.busy())
        return;
    const int port = selectedPort(8);
    if (port == 0) {
        setStatus(QStringLiteral("Select a COM port!"));
        return;
    }
    setStatus(QStringLiteral("Connecting port COM") + Numbers::shownNumber(double(port)));
    PortSettings::save(settingsPath, port);  // a settings file that cannot be written does not stop the connection

    if (link_.probeSerialPort(port, datalogger_.gsm()) == 0) {
        setStatus(QStringLiteral("Datalogger not found, please check connection"));
        return;
    }
    setStatus(QStringLiteral(" Datalogger Found"));
    setStatusColour(BoxColour::Green);
    link_.pause(10);
    readSettingsAndHandOver();
}

bool StartWindow::readSettingsAndHandOver()
{
    setStatus(QStringLiteral("Reading internal parameters"));
    ConsoleWindow* f = console_;
    const auto show = [this](const QString& text) { setStatus(text); };
    QList<Step> steps = {
        {[this, f] { f->readChannels(); }, QStringLiteral("Sensors settings"), 10},
        {[this, f] { f->readClock(); }, QStringLiteral("Date and time"), 10},
        {[this, f] { f->readStartTime(); }, QStringLiteral("Start date"), 10},
        {[this, f] { f->readTimer(); }, QStringLiteral("Timer"), 10},
        {[this, f] { f->readPreheating(); }, QStringLiteral("Pre-heating"), 10},
        {[this, f] { f->readInternalParameters(); }, QStringLiteral("Internal parameters"), 10},
        {[this, f] { f->readMemory(); }, QStringLiteral("Memory"), 10},
        {[this, f] { f->readName(); }, QStringLiteral("Datalogger Name"), 10},
        {[this] { readModelCode(); }, QStringLiteral("Datalogger Model"), 0},
        {[this, f] {
             link_.sendCommand(QStringLiteral("U"), QString());
             f->eventsCounterSwitch->showField(link_.readField());
         },
         QStringLiteral("Events counter"), 10},
        {[this, f] {
             link_.sendCommand(QStringLiteral("O"), QString());
             f->acquisitionSwitch->showField(link_.readField());
         },
         QStringLiteral("Acqisition status"), 10},
    };
    // A datalogger with a GSM modem also has its GSM/SMS and GPRS settings read, after the memory.
    if (gsmBox->isChecked()) {
        const qsizetype afterMemory = 7;
        steps.insert(afterMemory, {[this, f] { f->readGsm(); }, QStringLiteral("GSM/SMS"), 10});
        steps.insert(afterMemory + 1, {[this, f] { f->readGprs(); }, QStringLiteral("GPRS"), 10});
    }
    if (ReadSequence::run(link_, steps, show) == ReadSequence::End::Silent) {
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
    const ReadSequence::ModelCode read = ReadSequence::readModelCode(link_, datalogger_);
    tellRefusedModelCode(dialogs_, read);
    if (read.code == 0)
        console_->adaptForAnalogModel();
}

// The console does not open on values that never arrived; the port is closed so that
// the next "Connect" opens it afresh.
void StartWindow::stopOnSilence()
{
    link_.closePort();
    link_.setPortHeldOpen(false);
    setStatus(ReadSequence::silentDataloggerMessage());
    dialogs_.inform(ReadSequence::silentDataloggerMessage(), QStringLiteral("Warning"),
                     Dialogs::Icon::Warning);
}
