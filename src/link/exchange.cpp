// Sending a command and reading its reply, one comma-terminated field at a time.
#include "link/link_internal.h"

#include "link/serial_port.h"
#include "link/telnet_tty_client.h"

#include <QElapsedTimer>

namespace Modulo1 {

namespace {

const QString timeoutMark = QStringLiteral("%%");

} // namespace

void Svuota_Ricezione()
{
    if (linkBusy())
        return;
    LinkState& s = link();
    SerialPort* port = serial();
    // Inside Invia_Comando the port is already open and stays so.
    const bool openedHere = port && !port->isOpen() && serialLink() && !s.PortHeldOpen;
    if (openedHere)
        Apri_Porta();
    // As the serial component would, stop at the first step that fails (port not open).
    if (port && port->isOpen()) {
        s.LastReply = QString::fromLatin1(port->readAll());
        port->clearInput();
        s.receive.clear();
    }
    if (openedHere)
        Chiudi_Porta();
}

bool Invia_Comando(const QString& command, const QString& values)
{
    if (linkBusy())
        return false;
    LinkState& s = link();
    s.receive.clear();
    if (s.LinkIsTcp) {
        TelnetTTYClient* client = telnet();
        return client && client->SendData((command + values).toLatin1());
    }
    SerialPort* port = serial();
    if (!port)
        return false;
    openForExchange();
    Svuota_Ricezione();
    bool ok = command.isEmpty() || port->write(command.toLatin1());
    const QByteArray paced = values.toLatin1();
    for (int i = 0; ok && i < paced.size(); ++i) {
        ok = port->write(paced.mid(i, 1));
        Pausa(1);
    }
    closeAfterExchange();
    return ok;
}

QString Leggi_Campo()
{
    LinkState& s = link();
    if (linkBusy())
        return timeoutMark;
    QElapsedTimer started;
    started.start();
    openForExchange();
    int comma = -1;
    bool timedOut = false;
    for (bool first = true;; first = false) {
        // A field already buffered is taken at once: servicing the user interface and
        // the port once per field would cost more than the field itself in a download.
        comma = first ? s.receive.indexOf(',') : -1;
        if (comma < 0) {
            serviceUi(first ? 0 : pollMs);
            pullInput();
            comma = s.receive.indexOf(',');
        }
        if (comma < 0 && s.receive.size() > s.maxFieldBytes) {
            // A line that babbles without a comma ends the read; its bytes are dropped
            // so that it cannot fill the memory.
            s.receive.clear();
            timedOut = true;
            break;
        }
        if (started.elapsed() >= s.fieldTimeoutMs) {
            timedOut = true;  // wins over a comma found in the same pass
            break;
        }
        if (comma >= 0)
            break;
    }
    if (timedOut) {
        s.LastReply = timeoutMark;
    } else {
        s.LastReply = s.receive.takeText(comma);
        s.receive.drop(1);
    }
    closeAfterExchange();
    return s.LastReply;
}

QString Leggi_Fino_A(const QString& terminator)
{
    LinkState& s = link();
    if (linkBusy())
        return timeoutMark;
    const QByteArray end = terminator.toLatin1();
    QElapsedTimer started;
    started.start();
    openForExchange();
    int searchFrom = 0;
    int found = -1;
    bool timedOut = false;
    for (bool first = true;; first = false) {
        serviceUi(first ? 0 : pollMs);
        pullInput();
        const int size = s.receive.size();
        if (s.LinkIsTcp) {
            if (s.receive.endsWith(end))
                found = size - int(end.size());
        } else {
            found = s.receive.find(end, searchFrom);
            // Only the tail that could still hold the start of the terminator is searched again.
            searchFrom = qMax(0, size - int(end.size()) + 1);
        }
        if (found >= 0 && !end.isEmpty())
            break;
        found = -1;
        if (started.elapsed() >= s.fieldTimeoutMs || size > s.maxFieldBytes) {
            timedOut = true;
            break;
        }
    }
    if (timedOut) {
        s.LastReply = timeoutMark;
    } else {
        const QByteArray before = s.receive.take(found);
        s.receive.clear();
        if (s.LinkIsTcp)
            s.receive.append(before);  // on TCP the text stays in the buffer
        s.LastReply = QString::fromLatin1(before);
    }
    closeAfterExchange();
    return s.LastReply;
}

} // namespace Modulo1
