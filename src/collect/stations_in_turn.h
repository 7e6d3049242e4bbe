// Stations collected one after the other in this process, as the stations of one port
// are: each with its own connection to the store, when there is one, and a row of its run
// there.
#pragma once

#include "collect/station_run.h"
#include "store/store_url.h"

#include <functional>
#include <optional>

// Collects each station in turn; done is called with each report as soon as it is
// known, and note with what could not be recorded in the store (the run itself).
// Without a store, the yearly files only.
void collectInTurn(const QList<Station>& stations, const CollectSettings& settings, const std::optional<StoreUrl>& store,
                   const std::function<void(const Station&, const StationReport&)>& done,
                   const std::function<void(const QString&)>& note);
