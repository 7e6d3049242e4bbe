// "Step-by-step connection": find the datalogger and open the console without reading.
#include "startup/form2.h"

#include "console/form1.h"
#include "link/conversions.h"
#include "link/modulo1.h"
#include "link/serial_port.h"
#include "widgets/box_colours.h"
#include "data/port_settings.h"
#include "startup/serial_error_status.h"

#include <QRadioButton>

void Form2::No_conn_Click()
{
    if (Modulo1::linkBusy())
        return;
    // Only the cable ports COM 1..4 are offered here.
    const int port = selectedPort(4);
    if (port == 0) {
        setStatus(QStringLiteral("No selected channel!"));
        return;
    }
    Modulo1::link().ComPortNumber = port;
    setStatus(QStringLiteral("Connection on COM") + Conversioni::CStr(double(port)));
    PortSettings::save(IniPath, port);

    const int answered = Modulo1::Apri_Seriale(port);
    // The probe reports its own open errors; what the port raises after it is told here.
    const int errorAfterProbe = Modulo1::serial()->errorNumber();
    if (answered == 0) {
        setStatus(QStringLiteral("Datalogger not found. Try to check if it is on and the connection"));
        Modulo1::Chiudi_Porta();
        const int error = Modulo1::serial()->errorNumber();
        if (error != errorAfterProbe && !serialErrorStatus(error).isEmpty())
            setStatus(serialErrorStatus(error));
        return;
    }
    setStatus(QStringLiteral(" Dizozezerir Found"));
    setStatusColour(BoxColour::Green);
    console_->showAfterConnection(this);
}
