// "Connect with modem" opens the modem window.
#include "modem/open_modem_window.h"

#include "link/modulo1.h"
#include "modem/modem.h"
#include "startup/form2.h"

#include <QPointer>

void installModemWindow(Form2* start, Form1* console)
{
    auto window = std::make_shared<QPointer<Modem>>();
    QObject::connect(start, &QObject::destroyed, [window] { delete window->data(); });
    start->openModemWindow = [start, console, window](bool internet) {
        if (internet) {
            Modulo1::takeOverLink(Modulo1::LinkKind::Serial, false);
            start->setStatus(QStringLiteral("The internet connection window is not available in this version."));
            return;
        }
        if (!*window) {
            *window = new Modem(console);
            (*window)->setStartWindow(start);
        }
        (*window)->open();
    };
}
