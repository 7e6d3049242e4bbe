// Reading and checking the stations file. The values are read with QSettings; a first
// pass over the lines finds what QSettings would silently skip or merge (a line that is
// not a section, a key or a comment; a section given twice) and gives each key its line.
#include "collect/stations_file.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSettings>

namespace {

const QStringList knownKeys = {"link", "port", "entry", "folder", "tcp-port"};

struct LineIndex {
    QHash<QString, int> sections;               // section name -> line
    QHash<QString, QHash<QString, int>> keys;   // section -> key -> line
    QList<QPair<int, QString>> faults;
};

LineIndex indexLines(const QString& path)
{
    LineIndex index;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
        index.faults.append({0, QStringLiteral("cannot be read: %1").arg(f.errorString())});
        return index;
    }
    static const QRegularExpression section(QStringLiteral(R"(^\[(.+)\]$)"));
    static const QRegularExpression key(QStringLiteral(R"(^([^=]+?)\s*=)"));
    QString current;
    int n = 0;
    while (!f.atEnd()) {
        ++n;
        const QString line = QString::fromUtf8(f.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (const QRegularExpressionMatch m = section.match(line); m.hasMatch()) {
            current = m.captured(1).trimmed();
            if (index.sections.contains(current))
                index.faults.append({n, QStringLiteral("station \"%1\" is given twice (first at line %2)")
                                            .arg(current).arg(index.sections.value(current))});
            else
                index.sections.insert(current, n);
            continue;
        }
        const QRegularExpressionMatch k = key.match(line);
        if (!k.hasMatch()) {
            index.faults.append({n, QStringLiteral("not a [station], a key = value or a comment")});
            continue;
        }
        const QString name = k.captured(1).trimmed();
        if (current.isEmpty())
            index.faults.append({n, QStringLiteral("\"%1\" comes before any [station]").arg(name)});
        else if (!knownKeys.contains(name))
            index.faults.append({n, QStringLiteral("unknown key \"%1\" (known: %2)").arg(name, knownKeys.join(", "))});
        else
            index.keys[current].insert(name, n);
    }
    return index;
}

// Reads one station's values; faults go to the list with their lines.
Station readStation(QSettings& ini, const QString& name, const LineIndex& index,
                    QList<QPair<int, QString>>& faults)
{
    Station s;
    s.name = name;
    s.line = index.sections.value(name);
    const QHash<QString, int> lines = index.keys.value(name);
    const auto fault = [&](const QString& key, const QString& text) {
        faults.append({lines.value(key, s.line), QStringLiteral("[%1] %2").arg(name, text)});
    };
    ini.beginGroup(name);
    const QString link = ini.value("link").toString().trimmed().toLower();
    s.port = ini.value("port").toString().trimmed();
    s.entry = ini.value("entry").toString().trimmed();
    s.folder = ini.value("folder").toString().trimmed();
    const QString tcpPort = ini.value("tcp-port", QStringLiteral("1024")).toString().trimmed();
    ini.endGroup();

    if (link == QLatin1String("serial"))
        s.link = Station::Link::Serial;
    else if (link == QLatin1String("modem"))
        s.link = Station::Link::Modem;
    else if (link == QLatin1String("internet"))
        s.link = Station::Link::Internet;
    else
        fault("link", link.isEmpty() ? QStringLiteral("has no link (serial, modem or internet)")
                                     : QStringLiteral("link \"%1\" is not serial, modem or internet").arg(link));
    const bool knownLink = link == QLatin1String("serial") || link == QLatin1String("modem")
                           || link == QLatin1String("internet");
    if (knownLink && s.link != Station::Link::Internet && s.port.isEmpty())
        fault("port", QStringLiteral("has no port (a device path or COM1..COM8)"));
    if (knownLink && s.link != Station::Link::Serial && s.entry.isEmpty())
        fault("entry", QStringLiteral("has no entry (the phone-book name or the FTP directory)"));
    if (s.folder.isEmpty() || !QDir::isAbsolutePath(s.folder))
        fault("folder", QStringLiteral("needs a data folder given as an absolute path"));
    bool ok = false;
    const uint port = tcpPort.toUInt(&ok);
    if (!ok || port == 0 || port > 65535)
        fault("tcp-port", QStringLiteral("tcp-port \"%1\" is not a port number").arg(tcpPort));
    else
        s.tcpPort = quint16(port);
    return s;
}

} // namespace

QString linkName(Station::Link link)
{
    switch (link) {
    case Station::Link::Serial:
        return QStringLiteral("serial");
    case Station::Link::Modem:
        return QStringLiteral("modem");
    case Station::Link::Internet:
        return QStringLiteral("internet");
    }
    return QString();
}

StationsFile readStationsFile(const QString& path)
{
    StationsFile file;
    const LineIndex index = indexLines(path);
    QList<QPair<int, QString>> faults = index.faults;
    QSettings ini(path, QSettings::IniFormat);
    if (ini.status() != QSettings::NoError && faults.isEmpty())
        faults.append({0, QStringLiteral("is not an INI file")});
    QList<QPair<int, QString>> sections;
    for (auto it = index.sections.cbegin(); it != index.sections.cend(); ++it)
        sections.append({it.value(), it.key()});
    std::sort(sections.begin(), sections.end());
    for (const auto& [line, name] : sections)
        file.stations << readStation(ini, name, index, faults);
    if (sections.isEmpty() && faults.isEmpty())
        faults.append({0, QStringLiteral("names no station")});
    std::stable_sort(faults.begin(), faults.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [line, text] : faults)
        file.faults << QStringLiteral("%1:%2: %3").arg(path).arg(line).arg(text);
    return file;
}
