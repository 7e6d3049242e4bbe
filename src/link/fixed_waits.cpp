// The fixed-count exchanges of the modem dialogue and the fixed-length replies.
#include "link/link_internal.h"

#include "link/serial_port.h"

#include <QElapsedTimer>

namespace Exchange {

namespace {

// Waits, servicing the user interface, until count bytes are buffered or the bound
// passes; then takes everything buffered.
QString collect(SerialPort* port, int count)
{
    LinkState& s = link();
    QElapsedTimer started;
    started.start();
    while (port->isOpen() && !port->lost() && !exchangesAbandoned() && port->bytesAvailable() < count
           && started.elapsed() < s.fixedWaitTimeoutMs)
        serviceUi(pollMs);
    if (port->lost())
        reportLoss(port);
    s.lastReply = QString::fromLatin1(port->takeAll());
    port->discardInput();
    return s.lastReply;
}

} // namespace

QString sendAndCollect(const QString& text, int count)
{
    SerialPort* port = serial();
    if (linkBusy() || exchangesAbandoned() || !port)
        return {};
    port->write(text.toLatin1());
    return collect(port, count);
}

QString sendAndCollectOnPort(const QString& text, int count)
{
    LinkState& s = link();
    SerialPort* port = serial();
    if (linkBusy() || exchangesAbandoned() || !port)
        return {};
    if (!s.portHeldOpen)
        openPort();
    port->discardInput();
    QString reply;
    if (port->write(text.toLatin1()))
        reply = collect(port, count);
    if (!s.portHeldOpen)
        closePort();
    return reply;
}

} // namespace Exchange
