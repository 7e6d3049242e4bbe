// comports.ini in the program's folder: which device each of COM 1..8 names. Created
// with defaults when missing.
#pragma once

#include "link/serial_port.h"

#include <QString>
#include <QStringList>

namespace ComPorts {

// The eight device paths, line n for COM n; missing lines get the defaults, and so do
// lines that cannot be a device path (bytes that are not text, or too long for a path).
QStringList devices(const QString& folder);
// The device for COM n (1..8), or an empty text outside that range.
QString device(const QString& folder, int n);
// Why line n of the file was passed over for the default, as "FILE:LINE: ...", printable
// and short; empty when the line is sound, empty or missing.
QString fault(const QString& folder, int n);
// The two above, as a serial port asks for them.
SerialPort::PortNames names(const QString& folder);

} // namespace ComPorts
