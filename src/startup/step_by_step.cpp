// "Step-by-step connection": find the datalogger and open the console without reading.
#include "startup/start_window.h"

#include "console/console_window.h"
#include "link/conversions.h"
#include "link/exchange.h"
#include "link/serial_port.h"
#include "widgets/box_colours.h"
#include "data/port_settings.h"
#include "startup/serial_error_status.h"

#include <QRadioButton>

void StartWindow::connectStepByStep()
{
    if (Exchange::linkBusy())
        return;
    // Only the cable ports COM 1..4 are offered here.
    const int port = selectedPort(4);
    if (port == 0) {
        setStatus(QStringLiteral("No selected channel!"));
        return;
    }
    Exchange::link().comPortNumber = port;
    setStatus(QStringLiteral("Connection on COM") + Numbers::shownNumber(double(port)));
    PortSettings::save(settingsPath, port);

    const int answered = Exchange::probeSerialPort(port);
    // The probe reports its own open errors; what the port raises after it is told here.
    const int errorAfterProbe = Exchange::serial()->errorNumber();
    if (answered == 0) {
        setStatus(QStringLiteral("Datalogger not found. Try to check if it is on and the connection"));
        Exchange::closePort();
        const int error = Exchange::serial()->errorNumber();
        if (error != errorAfterProbe && !serialErrorStatus(error).isEmpty())
            setStatus(serialErrorStatus(error));
        return;
    }
    setStatus(QStringLiteral(" Dizozezerir Found"));
    setStatusColour(BoxColour::Green);
    console_->showAfterConnection(this);
}
