// Reading the datalogger's address out of its address file.
#include "data/address_file.h"

#include <QHostAddress>
#include <QRegularExpression>

namespace AddressFile {

QString firstField(const QByteArray& content)
{
    qsizetype end = content.size();
    for (char stop : {',', '\r', '\n'}) {
        const qsizetype at = content.indexOf(stop);
        if (at >= 0 && at < end)
            end = at;
    }
    return QString::fromLatin1(content.left(end));
}

QString address(const QByteArray& content)
{
    QString field = firstField(content);
    if (!field.contains(QLatin1String("OK")))
        return QString();
    field.chop(2);
    return field.trimmed();
}

QString problem(const QByteArray& content)
{
    if (!firstField(content).contains(QLatin1String("OK")))
        return QStringLiteral("The address file holds no address: its first field does not end with \"OK\".");
    const QString host = address(content);
    if (host.isEmpty())
        return QStringLiteral("The address file holds an empty address.");
    static const QRegularExpression name(
        QStringLiteral(R"(^(?=.{1,253}$)([A-Za-z0-9]([A-Za-z0-9-]{0,61}[A-Za-z0-9])?)(\.[A-Za-z0-9]([A-Za-z0-9-]{0,61}[A-Za-z0-9])?)*$)"));
    const QString notAnAddress =
        QStringLiteral("The address file gives \"%1\", which is not an internet address.").arg(host);
    // The address parser stops at a zero byte and takes what came before it: a file cut
    // short and padded with zeros ("93.4", zeros, "OK") must not give the address 93.0.0.4.
    for (QChar c : host)
        if (c.unicode() <= ' ' || c.unicode() >= 0x7f)
            return notAnAddress;
    // It also takes a sign before a number ("+92.168.1.20"): before an IPv6 scope ("%eth0")
    // an address holds only what host names and addresses are written with.
    static const QRegularExpression addressCharacters(QStringLiteral("^[A-Za-z0-9.:-]+$"));
    if (!addressCharacters.match(host.section(QLatin1Char('%'), 0, 0)).hasMatch())
        return notAnAddress;
    QHostAddress ip;
    if (ip.setAddress(host) || name.match(host).hasMatch())
        return QString();
    return notAnAddress;
}

} // namespace AddressFile
