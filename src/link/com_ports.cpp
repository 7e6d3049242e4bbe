// comports.ini in the program's folder: line n names the device of COM n.
#include "link/com_ports.h"

#include "data/text_file.h"
#include "link/program_folder.h"

#include <QFile>

namespace {

const int portCount = 8;

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

} // namespace

namespace ComPorts {

QStringList devices()
{
    const QString path = ProgramFolder::file(QStringLiteral("comports.ini"));
    QFile file(path);
    if (!file.exists())
        writeDefaults(path);
    QStringList lines;
    if (file.open(QIODevice::ReadOnly))
        lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    QStringList out;
    for (int n = 1; n <= portCount; ++n) {
        const QString line = lines.value(n - 1).trimmed();
        out << (line.isEmpty() ? defaultDevice(n) : line);
    }
    return out;
}

QString device(int n)
{
    if (n < 1 || n > portCount)
        return {};
    return devices().at(n - 1);
}

} // namespace ComPorts
