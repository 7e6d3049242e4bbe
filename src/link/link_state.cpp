// The link state, the transports, the exchange guard and the waits every routine shares.
#include "link/link_internal.h"

#include "link/serial_port.h"
#include "link/telnet_tty_client.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>

namespace Modulo1 {

qint16 LoggerModelCode = 0;

namespace {

LinkState state;
SerialPort* serialPort = nullptr;
TelnetTTYClient* telnetClient = nullptr;
std::function<void(bool)> commandSwitcher;
int serviceDepth = 0;

} // namespace

LinkState& link() { return state; }

void setTransports(SerialPort* s, TelnetTTYClient* t)
{
    serialPort = s;
    telnetClient = t;
}

SerialPort* serial() { return serialPort; }
TelnetTTYClient* telnet() { return telnetClient; }

void setCommandControls(std::function<void(bool)> switcher) { commandSwitcher = std::move(switcher); }

void Disabilita_Comandi()
{
    if (commandSwitcher)
        commandSwitcher(false);
}

void Abilita_Comandi()
{
    if (commandSwitcher)
        commandSwitcher(true);
}

bool linkBusy() { return serviceDepth > 0; }

void serviceUi(int waitMs)
{
    ++serviceDepth;
    if (waitMs > 0) {
        // Sleep in the event loop: data, a click or this wake-up ends the wait.
        QTimer wake;
        wake.setSingleShot(true);
        wake.start(waitMs);
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    } else {
        QCoreApplication::processEvents();
    }
    --serviceDepth;
}

void sleepUntil(const QElapsedTimer& since, qint64 ms)
{
    // Strictly more than ms, as the datalogger's pacing needs "at least".
    for (qint64 left = ms - since.elapsed(); left >= 0; left = ms - since.elapsed())
        QThread::usleep(quint64(left) * 1000 + 200);
}

void Pausa(int hundredths)
{
    if (state.LinkIsTcp)
        return;
    QElapsedTimer t;
    t.start();
    sleepUntil(t, qint64(hundredths) * 10);
}

void pullInput()
{
    if (state.LinkIsTcp) {
        if (telnetClient)
            state.receive.append(telnetClient->GetData());
    } else if (serialPort && serialPort->isOpen()) {
        state.receive.append(serialPort->readAll());
    }
}

bool serialLink() { return !state.LinkIsTcp; }

void openForExchange()
{
    if (serialLink() && !state.PortHeldOpen)
        Apri_Porta();
}

void closeAfterExchange()
{
    if (serialLink() && !state.PortHeldOpen)
        Chiudi_Porta();
}

void Apri_Porta()
{
    if (serialPort && !serialPort->isOpen())
        serialPort->open();
}

void Chiudi_Porta()
{
    if (serialPort)
        serialPort->close();
}

} // namespace Modulo1
