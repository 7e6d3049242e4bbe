// One station's collection: take its port, reach the datalogger over its link, run the
// new-data download the window runs, and let the link go again.
#pragma once

#include "collect/stations_file.h"

#include <QString>

class ReadingStore;

struct CollectSettings {
    int fieldTimeoutMs = 60000; // every wait for the datalogger
    int lockWaitMs = 120000;    // for a port or a yearly file another run holds
    int connectTimeoutMs = 60000;
    ReadingStore* store = nullptr;  // where each block goes too, before it is confirmed
    QString programFolder;          // comports.ini and the books; the yearly files
};

struct StationReport {
    bool ok = false;
    int records = 0;
    int alreadyOnFile = 0;  // records sent again that the yearly file held already
    QString lastStamp;
    QString path;
    QString error;
    qint64 elapsedMs = 0;
};

StationReport collectStation(const Station& station, const CollectSettings& settings);
// The one line the run prints for the station.
QString reportLine(const Station& station, const StationReport& report);
