// One station after the other, with the store opened for each: a store that was down for
// one station may be back for the next.
#include "collect/stations_in_turn.h"

#include "store/reading_store.h"

#include <QDateTime>
#include <QElapsedTimer>

namespace {

StationReport collectWithStore(const Station& station, CollectSettings settings, const StoreUrl& url,
                               const std::function<void(const QString&)>& note)
{
    const QDateTime started = QDateTime::currentDateTimeUtc();
    QElapsedTimer clock;
    clock.start();
    ReadingStore store(url, settings.fieldTimeoutMs);
    if (const QString problem = store.open(); !problem.isEmpty()) {
        // Nothing is asked of the datalogger: what it holds stays there for the next run.
        StationReport report;
        report.error = problem + QStringLiteral(": the datalogger keeps the data.");
        report.elapsedMs = clock.elapsed();
        return report;
    }
    settings.store = &store;
    const StationReport report = collectStation(station, settings);
    RunRecord run;
    run.station = station.name;
    run.started = started;
    run.seconds = report.elapsedMs / 1000.0;
    run.ok = report.ok;
    run.records = report.records;
    run.lastStamp = report.lastStamp;
    run.message = report.error;
    if (const QString problem = store.recordRun(run); !problem.isEmpty())
        note(QStringLiteral("[%1] %2").arg(station.name, problem));
    return report;
}

} // namespace

void collectInTurn(const QList<Station>& stations, const CollectSettings& settings, const std::optional<StoreUrl>& store,
                   const std::function<void(const Station&, const StationReport&)>& done,
                   const std::function<void(const QString&)>& note)
{
    for (const Station& station : stations)
        done(station, store ? collectWithStore(station, settings, *store, note)
                                : collectStation(station, settings));
}
