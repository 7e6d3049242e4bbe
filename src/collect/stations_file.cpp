// Reading and checking the stations file. The values are read with QSettings; a first
// pass over the lines finds what QSettings would silently skip or merge (a line that is
// not a section, a key or a comment; a section or a key given twice), holds the file to
// its bounds and gives each key its line. Text from the file goes into a fault only as a
// short printable excerpt.
#include "collect/stations_file.h"

#include "data/settings_text.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSettings>

#include <algorithm>

namespace {

const QStringList knownKeys = {"link", "port", "entry", "folder", "tcp-port"};
// Faults listed before the rest is only counted: a file of garbage says so in a screenful.
constexpr int listedFaults = 100;

// A name or value from the file, as a fault shows it.
QString shown(const QString& text) { return SettingsText::printable(text, 60); }

struct LineIndex {
    QHash<QString, int> sections;                   // section name -> line
    QHash<QString, QHash<QString, int>> keys;       // section -> key -> line of the value read
    QHash<QString, QHash<QString, int>> firstKeys;  // section -> key -> line it first appears on
    QList<QPair<int, QString>> faults;
    bool readable = true;  // false: QSettings is not to read the file either
};

void indexKey(LineIndex& index, const QString& section, const QString& key, const QString& value, int n)
{
    const qsizetype bytes = value.toUtf8().size();
    if (bytes > StationsFile::longestValue)
        index.faults.append({n, QStringLiteral("[%1] \"%2\" is %3 bytes long; a value holds at most %4 bytes")
                                    .arg(shown(section), key, QString::number(bytes),
                                         QString::number(StationsFile::longestValue))});
    // QSettings takes the last of a key given twice; its faults name that line.
    if (const int first = index.firstKeys[section].value(key); first > 0)
        index.faults.append({n, QStringLiteral("[%1] \"%2\" is given twice (first at line %3)")
                                    .arg(shown(section), key, QString::number(first))});
    else
        index.firstKeys[section].insert(key, n);
    index.keys[section].insert(key, n);
}

// False when the section is one past the stations a file may name: nothing after it is read.
bool indexSection(LineIndex& index, const QString& name, int n)
{
    if (name.toUtf8().size() > StationsFile::longestValue)
        index.faults.append({n, QStringLiteral("station \"%1\" has a name of %2 bytes; a name holds at most %3 bytes")
                                    .arg(shown(name), QString::number(name.toUtf8().size()),
                                         QString::number(StationsFile::longestValue))});
    if (index.sections.contains(name)) {
        index.faults.append({n, QStringLiteral("station \"%1\" is given twice (first at line %2)")
                                    .arg(shown(name), QString::number(index.sections.value(name)))});
        return true;
    }
    if (index.sections.size() == StationsFile::mostStations) {
        index.faults.append({n, QStringLiteral("station \"%1\" is one more than a stations file may name (%2); "
                                               "the lines from here on are not read")
                                    .arg(shown(name), QString::number(StationsFile::mostStations))});
        return false;
    }
    index.sections.insert(name, n);
    return true;
}

LineIndex indexLines(const QString& path)
{
    LineIndex index;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        index.faults.append({0, QStringLiteral("cannot be read: %1").arg(f.errorString())});
        return index;
    }
    const QByteArray bytes = f.read(StationsFile::largestFile + 1);
    if (bytes.size() > StationsFile::largestFile) {
        index.faults.append({0, QStringLiteral("is %1 bytes long; a stations file holds at most %2 bytes")
                                    .arg(QString::number(std::max<qint64>(f.size(), bytes.size())),
                                         QString::number(StationsFile::largestFile))});
        index.readable = false;
        return index;
    }
    static const QRegularExpression section(QStringLiteral(R"(^\[(.+)\]$)"));
    static const QRegularExpression key(QStringLiteral(R"(^([^=]+?)\s*=)"));
    QString current;
    int n = 0;
    // Lines end where QSettings ends them: at LF, CR LF or a lone CR.
    for (const QByteArrayView raw : SettingsText::lines(bytes)) {
        ++n;
        if (!SettingsText::isText(raw)) {
            index.faults.append({n, QStringLiteral("holds bytes that are not text: \"%1\"").arg(SettingsText::printable(raw))});
            continue;
        }
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (const QRegularExpressionMatch m = section.match(line); m.hasMatch()) {
            current = m.captured(1).trimmed();
            if (!indexSection(index, current, n))
                break;
            continue;
        }
        const QRegularExpressionMatch k = key.match(line);
        if (!k.hasMatch()) {
            index.faults.append({n, QStringLiteral("not a [station], a key = value or a comment")});
            continue;
        }
        const QString name = k.captured(1).trimmed();
        if (current.isEmpty())
            index.faults.append({n, QStringLiteral("\"%1\" comes before any [station]").arg(shown(name))});
        else if (!knownKeys.contains(name))
            index.faults.append({n, QStringLiteral("unknown key \"%1\" (known: %2)").arg(shown(name), knownKeys.join(", "))});
        else
            indexKey(index, current, name, line.mid(k.capturedEnd()).trimmed(), n);
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
        faults.append({lines.value(key, s.line), QStringLiteral("[%1] %2").arg(shown(name), text)});
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
                                     : QStringLiteral("link \"%1\" is not serial, modem or internet").arg(shown(link)));
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
        fault("tcp-port", QStringLiteral("tcp-port \"%1\" is not a port number").arg(shown(tcpPort)));
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
    if (!index.readable) {
        file.faults << QStringLiteral("%1:%2: %3").arg(path, QString::number(faults[0].first), faults[0].second);
        return file;
    }
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
    for (const auto& [line, text] : faults.mid(0, listedFaults))
        file.faults << QStringLiteral("%1:%2: %3").arg(path, QString::number(line), text);
    if (faults.size() > listedFaults)
        file.faults << QStringLiteral("%1:%2: %3 more faults from this line on are not listed")
                           .arg(path, QString::number(faults[listedFaults].first),
                                QString::number(faults.size() - listedFaults));
    return file;
}
