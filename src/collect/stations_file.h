// The collector's stations file: one INI section per station, naming how it is reached
// and where its yearly files go.
//
//   [North dam]
//   link = serial            ; serial, modem or internet
//   port = /dev/ttyUSB0      ; serial and modem: a device path, or COM1..COM8
//   entry = North dam        ; modem: the phone-book name; internet: the FTP directory
//   folder = /var/lib/quorvel/north-dam
//   tcp-port = 1024          ; internet, optional
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

struct Station {
    enum class Link { Serial, Modem, Internet };
    QString name;
    Link link = Link::Serial;
    QString port;
    QString entry;
    QString folder;
    quint16 tcpPort = 1024;
    int line = 0;  // of its section header
};

QString linkName(Station::Link link);

struct StationsFile {
    // The file's bounds, each a fault when passed: far above any network of stations, and
    // low enough that a file gone wrong is refused before it fills the memory.
    static constexpr qint64 largestFile = 1 << 20;  // bytes
    static constexpr int mostStations = 1000;
    static constexpr qsizetype longestValue = 4096;  // bytes of a value or a station name

    QList<Station> stations;
    // "FILE:LINE: what is wrong", one per fault, in line order (LINE 0 for the whole
    // file); past the first hundred they are counted in one last line.
    QStringList faults;
};

StationsFile readStationsFile(const QString& path);
