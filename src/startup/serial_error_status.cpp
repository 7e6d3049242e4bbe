// The start window's status texts for the serial layer's error numbers.
#include "startup/serial_error_status.h"

#include "link/serial_port.h"

QString serialErrorStatus(int errorNumber)
{
    switch (errorNumber) {
    case SerialPort::InvalidPortNumber:
    case SerialPort::DeviceMissing:
        return QStringLiteral("The device is not in the system.");
    case SerialPort::PortAlreadyOpen:
    case SerialPort::HardwareUnavailable:
        return QStringLiteral("The device is already in use.");
    case SerialPort::PortNotOpen:
        return QStringLiteral(" Impossible to find the Dizozezerir.");
    default:
        return {};
    }
}
