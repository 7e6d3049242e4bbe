// One station's collection: take its port, reach the datalogger over its link, run the
// new-data download the window runs, and let the link go again.
#pragma once

#include "collect/station_health.h"
#include "collect/stations_file.h"

#include <QJsonObject>
#include <QString>

#include <optional>

class ReadingStore;

struct CollectSettings {
    int fieldTimeoutMs = 60000; // every wait for the datalogger
    int lockWaitMs = 120000;    // for a port or a yearly file another run holds
    int connectTimeoutMs = 60000;
    ReadingStore* store = nullptr;  // where each block goes too, before it is confirmed
    QString programFolder;          // comports.ini and the books
    HealthOptions health;           // read after a good download when wanted
};

struct StationReport {
    bool ok = false;
    int records = 0;
    int alreadyOnFile = 0;  // records sent again that the yearly file held already
    QString lastStamp;
    QString path;
    QString error;
    qint64 elapsedMs = 0;
    std::optional<StationHealth> health;  // read after the download, when asked for

    // The download succeeded but the health gave warnings.
    bool warned() const { return ok && health && !health->warnings.isEmpty(); }
};

StationReport collectStation(const Station& station, const CollectSettings& settings);
// The one line the run prints for the station.
QString reportLine(const Station& station, const StationReport& report);
// The same as one JSON object (--json): the line's fields, the warnings and the health.
QJsonObject reportJson(const Station& station, const StationReport& report);
