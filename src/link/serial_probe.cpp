// Opening the serial port and probing the datalogger with "V".
#include "link/link_internal.h"

#include "link/dialogs.h"
#include "link/serial_port.h"

#include <QElapsedTimer>

namespace Modulo1 {

int Apri_Seriale(int port)
{
    LinkState& s = link();
    SerialPort* serialPort = serial();
    if (!serialPort)
        return 0;
    // A port left open by an earlier probe is opened afresh, so that Connect can be tried
    // again after plugging the cable in.
    serialPort->close();
    serialPort->setPortNumber(port);
    serialPort->setSettings(s.GsmSelected ? QStringLiteral("9600,N,8,1")
                                          : QStringLiteral("57600,N,8,1"));
    serialPort->setInputLen(0);
    serialPort->setDTREnable(true);
    if (!serialPort->open()) {
        s.PortHeldOpen = true;
        dialogs().inform(serialPort->errorDescription());
        return 0;
    }
    QElapsedTimer opened;
    opened.start();
    sleepUntil(opened, s.probeSettleMs);
    serialPort->clearInput();

    serialPort->write(QByteArrayLiteral("V"));
    QElapsedTimer sent;
    sent.start();
    while (serialPort->inBufferCount() < 2 && sent.elapsed() <= s.probeWindowMs)
        serviceUi(pollMs);
    const int answered = serialPort->readAll().isEmpty() ? 0 : 1;

    serialPort->clearInput();
    s.PortHeldOpen = true;
    sleepUntil(sent, s.probeTotalMs - 1);
    return answered;
}

} // namespace Modulo1
