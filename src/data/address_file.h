// The address file a datalogger with a GPRS modem keeps on the office's FTP server: its
// first field (up to the first comma or line end) is the datalogger's current address
// immediately followed by "OK".
#pragma once

#include <QByteArray>
#include <QString>

namespace AddressFile {

inline const QString fileName = QStringLiteral("IPaddress.ip");

// The first field of the file.
QString firstField(const QByteArray& content);
// The address the file gives: the first field without its last two characters, blanks
// trimmed, when the field holds "OK"; else an empty text.
QString address(const QByteArray& content);
// Why the file gives no address one can connect to (no "OK", an empty address, or a
// text that is neither an IPv4 or IPv6 address nor a host name); empty when it does.
QString problem(const QByteArray& content);

} // namespace AddressFile
