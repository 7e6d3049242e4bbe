// "Connect with modem" opens the modem window or the internet window.
#include "modem/open_modem_window.h"

#include "modem/modem.h"
#include "modem/modem_tcp.h"
#include "startup/form2.h"

#include <QPointer>

namespace {

// The window made on first use; it goes with the start window.
template <typename Window>
std::shared_ptr<QPointer<Window>> windowOf(Form2* start)
{
    auto window = std::make_shared<QPointer<Window>>();
    QObject::connect(start, &QObject::destroyed, [window] { delete window->data(); });
    return window;
}

template <typename Window>
void openWindow(const std::shared_ptr<QPointer<Window>>& window, Form2* start, Form1* console)
{
    if (!*window) {
        *window = new Window(console);
        (*window)->setStartWindow(start);
    }
    (*window)->open();
}

} // namespace

void installModemWindow(Form2* start, Form1* console)
{
    auto modem = windowOf<Modem>(start);
    auto internet = windowOf<ModemTCP>(start);
    start->openModemWindow = [start, console, modem, internet](bool throughInternet) {
        if (throughInternet)
            openWindow(internet, start, console);
        else
            openWindow(modem, start, console);
    };
}
