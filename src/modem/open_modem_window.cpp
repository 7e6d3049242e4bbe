// "Connect with modem" opens the modem window or the internet window.
#include "modem/open_modem_window.h"

#include "modem/modem_window.h"
#include "modem/internet_window.h"
#include "startup/start_window.h"

#include <QPointer>

namespace {

// The window made on first use; it goes with the start window.
template <typename Window>
std::shared_ptr<QPointer<Window>> windowOf(StartWindow* start)
{
    auto window = std::make_shared<QPointer<Window>>();
    QObject::connect(start, &QObject::destroyed, [window] { delete window->data(); });
    return window;
}

template <typename Window>
void openWindow(const std::shared_ptr<QPointer<Window>>& window, StartWindow* start, Services& services,
                ConsoleDoor* console)
{
    if (!*window) {
        *window = new Window(services, console);
        (*window)->setStartWindow(start);
    }
    (*window)->open();
}

} // namespace

void installModemWindow(StartWindow* start, Services& services, ConsoleDoor* console)
{
    auto modem = windowOf<ModemWindow>(start);
    auto internet = windowOf<InternetWindow>(start);
    start->openModemWindow = [start, &services, console, modem, internet](bool throughInternet) {
        if (throughInternet)
            openWindow(internet, start, services, console);
        else
            openWindow(modem, start, services, console);
    };
}
