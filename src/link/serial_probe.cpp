// Opening the serial port and probing the datalogger with "V".
#include "link/link.h"

#include "link/serial_port.h"

#include <QElapsedTimer>

int Link::probeSerialPort(int port, bool gsm)
{
    SerialPort* serialPort = serialPort_;
    if (!serialPort)
        return 0;
    // Probing the cable makes it the link, whatever carried the exchanges before. A port
    // left open by an earlier probe is opened afresh, so that Connect can be tried again
    // after plugging the cable in.
    takeOver(Kind::Serial, false);
    serialPort->close();
    serialPort->setPortNumber(port);
    serialPort->setSettings(gsm ? QStringLiteral("9600,N,8,1") : QStringLiteral("57600,N,8,1"));
    serialPort->setInputLen(0);
    serialPort->setDTREnable(true);
    if (!serialPort->open()) {
        portHeldOpen_ = true;
        report(LinkProblem::Kind::PortFailed, serialPort->errorDescription());
        return 0;
    }
    QElapsedTimer opened;
    opened.start();
    sleepUntil(opened, settings_.probeSettleMs);
    serialPort->discardInput();

    serialPort->write(QByteArrayLiteral("V"));
    QElapsedTimer sent;
    sent.start();
    while (serialPort->bytesAvailable() < 2 && sent.elapsed() <= settings_.probeWindowMs)
        serviceUi(pollMs);
    const int answered = serialPort->takeAll().isEmpty() ? 0 : 1;

    serialPort->discardInput();
    portHeldOpen_ = true;
    sleepUntil(sent, settings_.probeTotalMs - 1);
    return answered;
}
