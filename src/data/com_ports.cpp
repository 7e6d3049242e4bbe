// comports.ini in the program's folder: line n names the device of COM n.
#include "data/com_ports.h"

#include "data/settings_text.h"
#include "data/text_file.h"
#include "data/program_folder.h"

#include <QFile>

#include <array>

namespace {

const int portCount = 8;
// Eight device paths are far less; a larger file is read no further.
constexpr qint64 readLimit = 1 << 20;
// The longest path the system opens.
constexpr qsizetype longestLine = 4096;

QString defaultDevice(int n)
{
    return n <= 4 ? QStringLiteral("/dev/ttyUSB%1").arg(n - 1)
                  : QStringLiteral("/dev/ttyS%1").arg(n - 5);
}

// A read-only folder or a full disk leaves no file: the defaults still apply in memory.
void writeDefaults(const QString& path)
{
    QByteArray lines;
    for (int n = 1; n <= portCount; ++n)
        lines += defaultDevice(n).toUtf8() + "\n";
    TextFile::replace(path, lines);
}

struct Port {
    QString device;
    QString fault;
};

// Why a line cannot name a device; empty when it can.
QString faultOf(QByteArrayView line)
{
    if (line.size() > longestLine)
        return QStringLiteral("is longer than a device path can be (%1 bytes): \"%2\"")
            .arg(longestLine)
            .arg(SettingsText::printable(line));
    if (!SettingsText::isText(line))
        return QStringLiteral("holds bytes that are not text (\"%1\")").arg(SettingsText::printable(line));
    return {};
}

std::array<Port, portCount> readPorts(const QString& folder)
{
    const QString path = joinPath(folder, QStringLiteral("comports.ini"));
    QFile file(path);
    if (!file.exists())
        writeDefaults(path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.read(readLimit);
    const QList<QByteArrayView> lines = SettingsText::lines(bytes);
    std::array<Port, portCount> ports;
    for (int n = 1; n <= portCount; ++n) {
        const QByteArrayView line = lines.value(n - 1);
        Port& p = ports[n - 1];
        p.fault = faultOf(line);
        if (p.fault.isEmpty())
            p.device = QString::fromUtf8(line).trimmed();
        if (p.device.isEmpty())
            p.device = defaultDevice(n);
        if (!p.fault.isEmpty())
            p.fault = QStringLiteral("%1:%2: %3; COM %2 uses %4 instead")
                          .arg(path, QString::number(n), p.fault, p.device);
    }
    return ports;
}

} // namespace

namespace ComPorts {

QStringList devices(const QString& folder)
{
    QStringList out;
    for (const Port& p : readPorts(folder))
        out << p.device;
    return out;
}

QString device(const QString& folder, int n)
{
    if (n < 1 || n > portCount)
        return {};
    return readPorts(folder)[n - 1].device;
}

QString fault(const QString& folder, int n)
{
    if (n < 1 || n > portCount)
        return {};
    return readPorts(folder)[n - 1].fault;
}

SerialPort::PortNames names(const QString& folder)
{
    return {[folder](int n) { return device(folder, n); }, [folder](int n) { return fault(folder, n); }};
}

} // namespace ComPorts
