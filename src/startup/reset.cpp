// "Reset": after a confirmation, reset the datalogger, then connect as "Connect" does.
#include "widgets/services.h"
#include "startup/start_window.h"

#include "data/conversions.h"
#include "data/dialogs.h"
#include "link/link.h"
#include "protocol/datalogger_model.h"
#include "protocol/settings.h"
#include "widgets/box_colours.h"

void StartWindow::resetDatalogger()
{
    if (link_.busy())
        return;
    const int port = selectedPort(4);
    if (port == 0) {
        setStatus(QStringLiteral("No channels enabled!"));
        return;
    }
    setStatus(QStringLiteral("Connecting COM") + Numbers::shownNumber(double(port)));
    // The reset command is sent whether or not the probe got an answer; nothing is saved.
    link_.probeSerialPort(port, datalogger_.gsm());

    const bool reset = dialogs_.confirm(
        QStringLiteral("Are you sure you want to reset datalogger?\r\n"
                       "Perderai tutti i dati e tutte le impostazioni!"),
        QStringLiteral("Warning"), Dialogs::Icon::Critical);
    if (reset) {
        Settings::resetBeforeConnecting(link_);
        setStatus(QStringLiteral("Datalogger Resetted"));
        setStatusColour(BoxColour::Magenta);
        link_.pause(50);
    }
    link_.closePort();
    connectToDatalogger();
}
