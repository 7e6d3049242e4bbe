// The fixed-count exchanges of the modem dialogue and the fixed-length replies.
#include "link/link.h"

#include "link/serial_port.h"

#include <QElapsedTimer>

// Waits, servicing the user interface, until count bytes are buffered or the bound
// passes; then takes everything buffered.
QString Link::collect(SerialPort* port, int count)
{
    QElapsedTimer started;
    started.start();
    while (port->isOpen() && !port->lost() && !exchangesAbandoned() && port->bytesAvailable() < count
           && started.elapsed() < settings_.fixedWaitTimeoutMs)
        serviceUi(pollMs);
    if (port->lost())
        reportLoss(port);
    lastReply_ = QString::fromLatin1(port->takeAll());
    port->discardInput();
    return lastReply_;
}

QString Link::sendAndCollect(const QString& text, int count)
{
    SerialPort* port = serialPort_;
    if (busy() || exchangesAbandoned() || !port)
        return {};
    port->write(text.toLatin1());
    return collect(port, count);
}

QString Link::sendAndCollectOnPort(const QString& text, int count)
{
    SerialPort* port = serialPort_;
    if (busy() || exchangesAbandoned() || !port)
        return {};
    if (!portHeldOpen_)
        openPort();
    port->discardInput();
    QString reply;
    if (port->write(text.toLatin1()))
        reply = collect(port, count);
    if (!portHeldOpen_)
        closePort();
    return reply;
}
