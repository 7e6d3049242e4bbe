// "Reset": after a confirmation, reset the datalogger, then connect as "Connect" does.
#include "startup/start_window.h"

#include "link/conversions.h"
#include "link/dialogs.h"
#include "link/exchange.h"
#include "widgets/box_colours.h"

void StartWindow::resetDatalogger()
{
    if (Exchange::linkBusy())
        return;
    const int port = selectedPort(4);
    if (port == 0) {
        setStatus(QStringLiteral("No channels enabled!"));
        return;
    }
    Exchange::link().comPortNumber = port;
    setStatus(QStringLiteral("Connecting COM") + Numbers::shownNumber(double(port)));
    // The reset command is sent whether or not the probe got an answer; nothing is saved.
    Exchange::probeSerialPort(port);

    const bool reset = dialogs().confirm(
        QStringLiteral("Are you sure you want to reset datalogger?\r\n"
                       "Perderai tutti i dati e tutte le impostazioni!"),
        QStringLiteral("Warning"), Dialogs::Icon::Critical);
    if (reset) {
        Exchange::sendCommand(QStringLiteral("z"), QStringLiteral(","));
        setStatus(QStringLiteral("Datalogger Resetted"));
        setStatusColour(BoxColour::Magenta);
        Exchange::pause(50);
    }
    Exchange::closePort();
    connectToDatalogger();
}
