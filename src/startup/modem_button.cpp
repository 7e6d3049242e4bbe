// "Connect with modem": choose the modem or the internet link and open its window.
#include "startup/start_window.h"

#include "link/exchange.h"

#include <QCheckBox>

void StartWindow::connectWithModem()
{
    if (Exchange::linkBusy())
        return;
    const bool internet = internetBox->isChecked();
    Exchange::takeOverLink(internet ? Exchange::LinkKind::Tcp : Exchange::LinkKind::Serial, true);
    // The start window stays shown: the chosen window takes the link over.
    openModemWindow(internet);
}
