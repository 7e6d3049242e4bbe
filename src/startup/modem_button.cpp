// "Connect with modem": choose the modem or the internet link and open its window.
#include "startup/form2.h"

#include "link/modulo1.h"

#include <QCheckBox>

void Form2::Command2_Click()
{
    if (Modulo1::linkBusy())
        return;
    const bool internet = chkTCP->isChecked();
    if (!openModemWindow) {
        // Without the window nothing would drive the link: leave it as it is, so that a
        // later "Connect" still talks to the cable.
        setStatus(internet ? QStringLiteral("The internet connection window is not available in this version.")
                           : QStringLiteral("The modem connection window is not available in this version."));
        return;
    }
    Modulo1::takeOverLink(internet ? Modulo1::LinkKind::Tcp : Modulo1::LinkKind::Serial, true);
    // The start window stays shown: the chosen window takes the link over.
    openModemWindow(internet);
}
