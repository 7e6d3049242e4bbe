// The three ways the collector reaches a datalogger. Each opens its link, makes it the
// link of the exchange path, runs the download, and lets the link go again (for the
// modem, a hang-up), whatever the download's end.
#pragma once

#include "collect/station_run.h"

#include <functional>

class Link;

using LinkedDownload = std::function<StationReport()>;

StationReport overSerial(Link& link, const Station& station, const CollectSettings& settings,
                         const LinkedDownload& download);
StationReport overModem(Link& link, const Station& station, const CollectSettings& settings,
                        const LinkedDownload& download);
StationReport overInternet(Link& link, const Station& station, const CollectSettings& settings,
                           const LinkedDownload& download);
