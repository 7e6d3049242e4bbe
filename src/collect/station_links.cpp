// Serial cable, dialled modem and internet links for the collector.
#include "collect/station_links.h"

#include "data/address_file.h"
#include "data/com_ports.h"
#include "data/phone_book.h"
#include "data/ftp_fetch.h"
#include "link/modem_answers.h"
#include "link/link.h"
#include "link/serial_port.h"
#include "link/telnet_client.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QThread>

namespace {

constexpr int pollMs = 50;
// Silence a modem needs around "+++" before it takes commands again.
constexpr int modemGuardMs = 1100;

StationReport failure(const QString& text)
{
    StationReport r;
    r.error = text;
    return r;
}

void usePort(SerialPort& port, const QString& name, const QString& folder)
{
    port.setPortNames(ComPorts::names(folder));
    static const QRegularExpression com(QStringLiteral("^COM\\s*([1-8])$"),
                                        QRegularExpression::CaseInsensitiveOption);
    if (const QRegularExpressionMatch m = com.match(name); m.hasMatch())
        port.setPortNumber(m.captured(1).toInt());
    else
        port.setDevicePath(name);
}

bool openPort(SerialPort& port, const Station& station, const QString& settings, const QString& folder,
              QString& error)
{
    usePort(port, station.port, folder);
    port.setSettings(settings);
    port.setDTREnable(false);
    if (port.open())
        return true;
    error = QStringLiteral("%1: %2").arg(port.deviceName(), port.errorText());
    return false;
}

// The download with transport as the link; then `before` runs while the link is still
// open, and the link is given back (which closes it).
StationReport through(Link& link, LinkTransport* transport, const LinkedDownload& download,
                      const std::function<void()>& before = {})
{
    link.takeOver(transport, true);
    StationReport report = download();
    if (before)
        before();
    link.takeOver(nullptr, false);
    return report;
}

// The fields of the book entry whose first field is name; empty when there is none.
QStringList bookEntry(const QString& path, int fields, const QString& name, QString& error)
{
    if (!QFile::exists(path)) {
        error = QStringLiteral("%1 does not exist.").arg(path);
        return {};
    }
    const QStringList values = PhoneBook::readBook(path, PhoneBook::Entries * fields).values;
    for (int at = 0; at + fields <= values.size(); at += fields)
        if (values.at(at).trimmed() == name)
            return values.mid(at, fields);
    error = QStringLiteral("%1 has no entry \"%2\".").arg(path, name);
    return {};
}

// Waits for the modem's verdict on the call: true on "CONNECT".
bool awaitConnect(Link& link, SerialPort& port, int timeoutMs, QString& error)
{
    QElapsedTimer waited;
    waited.start();
    QByteArray heard;
    while (waited.elapsed() < timeoutMs) {
        link.serviceUi(pollMs);
        heard += port.takeAll();
        if (heard.contains("CONNECT"))
            return true;
        if (const QString failed = ModemAnswers::failedCall(QString::fromLatin1(heard)); !failed.isEmpty()) {
            error = QStringLiteral("Call ended: ") + failed;
            return false;
        }
        if (port.lost()) {
            error = QStringLiteral("The modem's port was lost.");
            return false;
        }
    }
    error = QStringLiteral("The modem did not connect within %1 s.").arg(timeoutMs / 1000);
    return false;
}

void hangUp(SerialPort& port)
{
    QThread::msleep(modemGuardMs);
    port.write("+++");
    QThread::msleep(modemGuardMs);
    port.write("ATH\r");
    QThread::msleep(200);
}

} // namespace

StationReport overSerial(Link& link, const Station& station, const CollectSettings& settings,
                         const LinkedDownload& download)
{
    SerialPort port;
    QString error;
    if (!openPort(port, station, QStringLiteral("57600,N,8,1"), settings.programFolder, error))
        return failure(error);
    return through(link, &port, download);
}

StationReport overModem(Link& link, const Station& station, const CollectSettings& settings,
                        const LinkedDownload& download)
{
    QString error;
    const QStringList entry = bookEntry(PhoneBook::modemBookPath(settings.programFolder), 3, station.entry, error);
    if (entry.isEmpty())
        return failure(error);
    const QString number = entry.at(1).trimmed();
    if (number.isEmpty())
        return failure(QStringLiteral("The phone-book entry \"%1\" has no number.").arg(station.entry));
    SerialPort port;
    if (!openPort(port, station, QStringLiteral("9600,N,8,1"), settings.programFolder, error))
        return failure(error);
    port.write("atx0\r");
    link.serviceUi(500);
    port.discardInput();
    port.write("ATD" + number.toLatin1() + '\r');
    if (!awaitConnect(link, port, settings.connectTimeoutMs, error)) {
        port.write("ATH\r");
        return failure(error);
    }
    port.discardInput();
    return through(link, &port, download, [&port] { hangUp(port); });
}

StationReport overInternet(Link& link, const Station& station, const CollectSettings& settings,
                           const LinkedDownload& download)
{
    QString error;
    const QStringList entry = bookEntry(PhoneBook::ftpBookPath(settings.programFolder), 4, station.entry, error);
    if (entry.isEmpty())
        return failure(error);
    FtpFetch::Request request;
    request.directory = entry.at(0).trimmed();
    request.site = entry.at(1).trimmed();
    request.user = entry.at(2);
    request.password = entry.at(3);
    request.fileName = AddressFile::fileName;
    request.connectTimeoutMs = qMin(settings.connectTimeoutMs, 30000);
    request.totalTimeoutMs = settings.connectTimeoutMs;
    const FtpFetch::Result fetched = FtpFetch::fetch(request, {}, [&link] { link.serviceUi(); });
    if (!fetched.ok)
        return failure(QStringLiteral("The address could not be fetched from %1: %2").arg(request.site, fetched.error));
    if (const QString problem = AddressFile::problem(fetched.data); !problem.isEmpty())
        return failure(problem);

    TelnetClient client;
    link.setTransports(nullptr, &client);
    link.takeOver(Link::Kind::Tcp, true);
    link.connectTcp(AddressFile::address(fetched.data));
    QElapsedTimer waited;
    waited.start();
    while (!client.isConnected() && waited.elapsed() < settings.connectTimeoutMs)
        link.serviceUi(pollMs);
    StationReport report;
    if (client.isConnected()) {
        report = download();
    } else {
        report.error = QStringLiteral("No connection to %1:%2.").arg(AddressFile::address(fetched.data)).arg(station.tcpPort);
    }
    link.disconnectTcp();
    link.takeOver(nullptr, false);
    link.setTransports(nullptr, nullptr);
    return report;
}
