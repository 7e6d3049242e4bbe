// "Step-by-step connection": find the datalogger and open the console without reading.
#include "data/dialogs.h"
#include "widgets/services.h"
#include "startup/start_window.h"

#include "widgets/console_door.h"
#include "data/conversions.h"
#include "link/link.h"
#include "protocol/datalogger_model.h"
#include "link/serial_port.h"
#include "widgets/box_colours.h"
#include "data/port_settings.h"
#include "startup/serial_error_status.h"

#include <QRadioButton>

void StartWindow::connectStepByStep()
{
    if (link_.busy())
        return;
    // Only the cable ports COM 1..4 are offered here.
    const int port = selectedPort(4);
    if (port == 0) {
        setStatus(QStringLiteral("No selected channel!"));
        return;
    }
    setStatus(QStringLiteral("Connection on COM") + Numbers::shownNumber(double(port)));
    PortSettings::save(settingsPath, port);

    const int answered = link_.probeSerialPort(port, datalogger_.gsm());
    // The probe reports its own open errors; what the port raises after it is told here.
    const int errorAfterProbe = link_.serial()->errorNumber();
    if (answered == 0) {
        setStatus(QStringLiteral("Datalogger not found. Try to check if it is on and the connection"));
        link_.closePort();
        const int error = link_.serial()->errorNumber();
        if (error != errorAfterProbe && !serialErrorStatus(error).isEmpty())
            setStatus(serialErrorStatus(error));
        return;
    }
    setStatus(QStringLiteral(" Dizozezerir Found"));
    setStatusColour(BoxColour::Green);
    console_->showAfterConnection(this);
}
