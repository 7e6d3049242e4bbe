// Opening the serial port and probing the datalogger with "V".
#include "link/link_internal.h"

#include "link/dialogs.h"
#include "link/serial_port.h"

#include <QElapsedTimer>

namespace Exchange {

int probeSerialPort(int port)
{
    LinkState& s = link();
    SerialPort* serialPort = serial();
    if (!serialPort)
        return 0;
    // Probing the cable makes it the link, whatever carried the exchanges before. A port
    // left open by an earlier probe is opened afresh, so that Connect can be tried again
    // after plugging the cable in.
    takeOverLink(LinkKind::Serial, false);
    serialPort->close();
    serialPort->setPortNumber(port);
    serialPort->setSettings(s.gsmSelected ? QStringLiteral("9600,N,8,1")
                                          : QStringLiteral("57600,N,8,1"));
    serialPort->setInputLen(0);
    serialPort->setDTREnable(true);
    if (!serialPort->open()) {
        s.portHeldOpen = true;
        dialogs().inform(serialPort->errorDescription());
        return 0;
    }
    QElapsedTimer opened;
    opened.start();
    sleepUntil(opened, s.probeSettleMs);
    serialPort->discardInput();

    serialPort->write(QByteArrayLiteral("V"));
    QElapsedTimer sent;
    sent.start();
    while (serialPort->bytesAvailable() < 2 && sent.elapsed() <= s.probeWindowMs)
        serviceUi(pollMs);
    const int answered = serialPort->takeAll().isEmpty() ? 0 : 1;

    serialPort->discardInput();
    s.portHeldOpen = true;
    sleepUntil(sent, s.probeTotalMs - 1);
    return answered;
}

} // namespace Exchange
