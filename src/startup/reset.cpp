// "Reset": after a confirmation, reset the datalogger, then connect as "Connect" does.
#include "startup/form2.h"

#include "link/conversions.h"
#include "link/dialogs.h"
#include "link/modulo1.h"
#include "widgets/box_colours.h"

void Form2::Command3_Click()
{
    if (Modulo1::linkBusy())
        return;
    const int port = selectedPort(4);
    if (port == 0) {
        setStatus(QStringLiteral("No channels enabled!"));
        return;
    }
    Modulo1::link().ComPortNumber = port;
    setStatus(QStringLiteral("Connecting COM") + Conversioni::CStr(double(port)));
    // The reset command is sent whether or not the probe got an answer; nothing is saved.
    Modulo1::Apri_Seriale(port);

    const bool reset = dialogs().confirm(
        QStringLiteral("Are you sure you want to reset datalogger?\r\n"
                       "Perderai tutti i dati e tutte le impostazioni!"),
        QStringLiteral("Warning"), Dialogs::Icon::Critical);
    if (reset) {
        Modulo1::Invia_Comando(QStringLiteral("z"), QStringLiteral(","));
        setStatus(QStringLiteral("Datalogger Resetted"));
        setStatusColour(BoxColour::Magenta);
        Modulo1::Pausa(50);
    }
    Modulo1::Chiudi_Porta();
    Command1_Click();
}
