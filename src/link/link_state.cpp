// The link state, the transports and taking the link over, the command lock, the
// exchange guard and the waits every routine shares.
#include "link/link_internal.h"

#include "link/serial_port.h"
#include "link/telnet_link.h"
#include "link/telnet_client.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QThread>
#include <QTimer>

namespace Exchange {

qint16 loggerModelCode = 0;

namespace {

LinkState state;
ReadTally tally;
// The registered components; the raw copies tell whether the transport in use was one
// of them after it has gone.
QPointer<SerialPort> serialPort;
QPointer<TelnetClient> telnetClient;
QPointer<TelnetLink> telnetLink;  // a child of telnetClient
LinkTransport* serialRaw = nullptr;
LinkTransport* telnetRaw = nullptr;
LinkTransport* active = nullptr;
std::function<void(bool)> commandSwitcher;
int lockDepth = 0;
int serviceDepth = 0;
bool abandoned = false;
int endAtFirstTimeout = 0;

void switchControls(bool enabled)
{
    if (commandSwitcher)
        commandSwitcher(enabled);
}

} // namespace

LinkState& link() { return state; }
ReadTally& readTally() { return tally; }

void setTransports(SerialPort* s, TelnetClient* t)
{
    const bool registeredInUse = !active || active == serialRaw || active == telnetRaw;
    serialPort = s;
    serialRaw = s;
    if (telnetClient.data() != t) {
        telnetClient = t;
        telnetLink = t ? new TelnetLink(t) : nullptr;
        telnetRaw = telnetLink.data();
    }
    // Until something takes the link over, the exchanges go over the cable.
    if (registeredInUse)
        active = s;
}

SerialPort* serial() { return serialPort; }
TelnetClient* telnet() { return telnetClient; }

LinkTransport* transport()
{
    // A registered component that has gone leaves no dangling transport behind.
    if ((active == serialRaw && !serialPort) || (active == telnetRaw && !telnetLink))
        active = nullptr;
    return active;
}

bool linkIsTcp()
{
    LinkTransport* t = transport();
    return t && t->rules().tcp;
}

void takeOverLink(LinkTransport* t, bool heldOpen)
{
    LinkTransport* old = transport();
    if (old && old != t)
        old->close();
    active = t;
    state.receive.clear();
    state.portHeldOpen = heldOpen;
}

void takeOverLink(LinkKind kind, bool heldOpen)
{
    if (kind == LinkKind::Tcp)
        takeOverLink(telnetLink.data(), heldOpen);
    else
        takeOverLink(serialPort.data(), heldOpen);
}

void setCommandControls(std::function<void(bool)> switcher)
{
    commandSwitcher = std::move(switcher);
}

void lockCommands()
{
    if (lockDepth++ == 0)
        switchControls(false);
}

void unlockCommands()
{
    if (lockDepth == 0)
        return;  // already released by RESTORE
    if (--lockDepth == 0)
        switchControls(true);
}

int commandLockDepth() { return lockDepth; }

void resetCommandLock()
{
    lockDepth = 0;
    switchControls(true);
}

bool linkBusy() { return serviceDepth > 0; }

void abandonExchanges(bool on) { abandoned = on; }
bool exchangesAbandoned() { return abandoned || (endAtFirstTimeout > 0 && tally.timeouts > 0); }

EndAtFirstTimeout::EndAtFirstTimeout() { ++endAtFirstTimeout; }
EndAtFirstTimeout::~EndAtFirstTimeout() { --endAtFirstTimeout; }

NestedLoop::NestedLoop() { ++serviceDepth; }
NestedLoop::~NestedLoop() { --serviceDepth; }

void serviceUi(int waitMs)
{
    NestedLoop inside;
    if (waitMs > 0) {
        // Sleep in the event loop: data, a click or this wake-up ends the wait.
        QTimer wake;
        wake.setSingleShot(true);
        wake.start(waitMs);
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    } else {
        QCoreApplication::processEvents();
    }
}

void sleepUntil(const QElapsedTimer& since, qint64 ms)
{
    // Strictly more than ms, as the datalogger's pacing needs "at least".
    for (qint64 left = ms - since.elapsed(); left >= 0; left = ms - since.elapsed())
        QThread::usleep(quint64(left) * 1000 + 200);
}

void pause(int hundredths)
{
    LinkTransport* t = transport();
    if (t && !t->rules().pauses)
        return;
    QElapsedTimer started;
    started.start();
    sleepUntil(started, qint64(hundredths) * 10 * state.pausePercent / 100);
}

void pullInput(LinkTransport* t)
{
    if (t->isOpen())
        state.receive.append(t->takeAll());
}

bool opensPerExchange(const LinkTransport* t)
{
    return t->rules().opensPerExchange && !state.portHeldOpen;
}

void openPort()
{
    if (serialPort && !serialPort->isOpen())
        serialPort->open();
}

void closePort()
{
    if (serialPort)
        serialPort->close();
}

} // namespace Exchange
