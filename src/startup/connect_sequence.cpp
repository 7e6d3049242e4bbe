// "Connect": probe the chosen COM port, read every setting into the console, hand over.
#include "widgets/services.h"
#include "startup/start_window.h"

#include "widgets/console_door.h"
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
    ConsoleDoor* f = console_;
    using Read = ConsoleDoor::Read;
    const auto show = [this](const QString& text) { setStatus(text); };
    QList<Step> steps = {
        {[f] { f->read(Read::Channels); }, QStringLiteral("Sensors settings"), 10},
        {[f] { f->read(Read::Clock); }, QStringLiteral("Date and time"), 10},
        {[f] { f->read(Read::StartTime); }, QStringLiteral("Start date"), 10},
        {[f] { f->read(Read::Timer); }, QStringLiteral("Timer"), 10},
        {[f] { f->read(Read::Preheating); }, QStringLiteral("Pre-heating"), 10},
        {[f] { f->read(Read::InternalParameters); }, QStringLiteral("Internal parameters"), 10},
        {[f] { f->read(Read::Memory); }, QStringLiteral("Memory"), 10},
        {[f] { f->read(Read::Name); }, QStringLiteral("Datalogger Name"), 10},
        {[this] { readModelCode(); }, QStringLiteral("Datalogger Model"), 0},
        {[this, f] {
             f->showEventsCounterField(ReadSequence::readEventsCounter(link_).fields[0]);
         },
         QStringLiteral("Events counter"), 10},
        {[this, f] {
             f->showAcquisitionField(ReadSequence::readAcquisition(link_).fields[0]);
         },
         QStringLiteral("Acqisition status"), 10},
    };
    // A datalogger with a GSM modem also has its GSM/SMS and GPRS settings read, after the memory.
    if (gsmBox->isChecked()) {
        const qsizetype afterMemory = 7;
        steps.insert(afterMemory, {[f] { f->read(Read::Gsm); }, QStringLiteral("GSM/SMS"), 10});
        steps.insert(afterMemory + 1, {[f] { f->read(Read::Gprs); }, QStringLiteral("GPRS"), 10});
    }
    if (ReadSequence::run(link_, steps, show) == ReadSequence::End::Silent) {
        stopOnSilence();
        return false;
    }

    f->handOver(this, BoxColour::Yellow);
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
