// "Connect with modem": choose the modem or the internet link and open its window.
#include "data/dialogs.h"
#include "widgets/services.h"
#include "startup/start_window.h"

#include "link/link.h"

#include <QCheckBox>

void StartWindow::connectWithModem()
{
    if (link_.busy())
        return;
    const bool internet = internetBox->isChecked();
    link_.takeOver(internet ? Link::Kind::Tcp : Link::Kind::Serial, true);
    // The start window stays shown: the chosen window takes the link over.
    openModemWindow(internet);
}
