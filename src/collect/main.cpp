// quorvel-collect: fetches the new data of every station in a stations file into its
// yearly file (and, with --store, into a database), and prints one line per station.
// Stations on different ports run at the same time, those on one port one after the
// other. Meant to be run by the system's timers; every wait has a time-out. Asked to, it
// also reads each station's health (clock, voltages, memory) after its download, warns
// of what is out of bounds and sets a clock that is off.
#include "collect/parallel_run.h"
#include "collect/station_health.h"
#include "collect/station_run.h"
#include "collect/stations_file.h"
#include "collect/stations_in_turn.h"
#include "data/program_folder.h"
#include "store/store_url.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QJsonDocument>
#include <QSqlDatabase>
#include <QTextStream>

#include <clocale>

namespace {

// Failures outrank warnings: 3 only when every station was collected.
enum ExitStatus { AllCollected = 0, SomeFailed = 1, BadStationsFile = 2, OnlyWarnings = warningsOnlyStatus };

// The hidden option by which the collector hands a port's stations to a child of its own.
const QString inTurnName = QStringLiteral("in-turn");

bool wholeNumber(const QString& text, int low, int high, int& out)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < low || n > high)
        return false;
    out = n;
    return true;
}

bool positiveSeconds(const QString& text, int& ms)
{
    int s = 0;
    if (!wholeNumber(text, 1, 86400, s))
        return false;
    ms = s * 1000;
    return true;
}

// The health flags, checked: false with the reason in why.
bool healthOptions(const QCommandLineParser& parser, const QCommandLineOption& health, const QCommandLineOption& json,
                   const QCommandLineOption& battery, const QCommandLineOption& memory,
                   const QCommandLineOption& clock, const QCommandLineOption& setClock, HealthOptions& o, QString& why)
{
    if (parser.isSet(battery)) {
        bool ok = false;
        const double v = parser.value(battery).toDouble(&ok);
        if (!ok || !(v > 0 && v < 100)) {
            why = QStringLiteral("--warn-battery takes volts above 0 and below 100, such as 11.8");
            return false;
        }
        o.warnBatteryVolts = v;
    }
    int n = 0;
    if (parser.isSet(memory)) {
        if (!wholeNumber(parser.value(memory), 1, 100, n)) {
            why = QStringLiteral("--warn-memory takes the share of the memory used, a whole percent from 1 to 100");
            return false;
        }
        o.warnMemoryPercent = n;
    }
    // The clock reads minutes only: a limit under half a minute would call a clock off
    // that is right.
    const QString clockBounds = QStringLiteral(" takes whole seconds from %1 to 86400: the datalogger's clock reads "
                                               "minutes only, so its offset is known to within %1 s")
                                    .arg(smallestClockLimitSeconds);
    if (parser.isSet(clock)) {
        if (!wholeNumber(parser.value(clock), smallestClockLimitSeconds, 86400, n)) {
            why = QStringLiteral("--warn-clock") + clockBounds;
            return false;
        }
        o.warnClockSeconds = n;
    }
    if (parser.isSet(setClock)) {
        if (!wholeNumber(parser.value(setClock), smallestClockLimitSeconds, 86400, n)) {
            why = QStringLiteral("--set-clock") + clockBounds;
            return false;
        }
        o.setClockSeconds = n;
    }
    o.wanted = parser.isSet(health) || parser.isSet(json) || o.warnBatteryVolts || o.warnMemoryPercent
               || o.warnClockSeconds || o.setClockSeconds;
    return true;
}

// The stations to collect, as indexes in the file's order: all of them, or those named.
QList<int> chosenStations(const QList<Station>& stations, const QStringList& names, QString& missing)
{
    QList<int> chosen;
    for (int i = 0; i < stations.size(); ++i)
        if (names.isEmpty() || names.contains(stations[i].name))
            chosen << i;
    for (const QString& name : names) {
        const auto named = [&](int i) { return stations[i].name == name; };
        if (std::none_of(chosen.cbegin(), chosen.cend(), named))
            missing = name;
    }
    return chosen;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quorvel-collect"));
    std::setlocale(LC_NUMERIC, "C");
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Fetches the data recorded since the last fetch from each station of FILE "
                       "into its yearly file, and prints one line per station."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("the stations file"));
    const QCommandLineOption check(QStringLiteral("check"), QStringLiteral("only check FILE and say what is wrong"));
    const QCommandLineOption once(QStringLiteral("once"), QStringLiteral("collect only STATION"), QStringLiteral("STATION"));
    const QCommandLineOption timeout(QStringLiteral("timeout"),
                                     QStringLiteral("seconds to wait for the datalogger (default 60)"), QStringLiteral("S"), QStringLiteral("60"));
    const QCommandLineOption lockWait(QStringLiteral("lock-wait"),
                                      QStringLiteral("seconds to wait for a port or file another run holds (default 120)"),
                                      QStringLiteral("S"), QStringLiteral("120"));
    const QCommandLineOption folder(QStringLiteral("program-folder"),
                                    QStringLiteral("where comports.ini, modem.ini and ftp.ini are"), QStringLiteral("DIR"));
    const QCommandLineOption jobs(QStringLiteral("jobs"),
                                  QStringLiteral("ports (and internet stations) collected at once (default: all of them)"),
                                  QStringLiteral("N"));
    const QCommandLineOption store(QStringLiteral("store"),
                                   QStringLiteral("also keep every reading in a database: sqlite:PATH or "
                                                  "postgresql://USER@HOST:PORT/DATABASE"),
                                   QStringLiteral("URL"));
    const QCommandLineOption health(QStringLiteral("health"),
                                    QStringLiteral("after each download, read the datalogger's clock, voltages and "
                                                   "memory and add them to its line"));
    const QCommandLineOption json(QStringLiteral("json"),
                                  QStringLiteral("print one JSON object per station (its line's fields and its health) "
                                                 "instead of the line"));
    const QCommandLineOption warnBattery(QStringLiteral("warn-battery"),
                                         QStringLiteral("warn when the battery is below V volts"), QStringLiteral("V"));
    const QCommandLineOption warnMemory(QStringLiteral("warn-memory"),
                                        QStringLiteral("warn when PERCENT or more of the memory is used"),
                                        QStringLiteral("PERCENT"));
    const QCommandLineOption warnClock(QStringLiteral("warn-clock"),
                                       QStringLiteral("warn when the datalogger's clock is off by more than S seconds "
                                                      "(at least 30)"),
                                       QStringLiteral("S"));
    const QCommandLineOption setClock(QStringLiteral("set-clock"),
                                      QStringLiteral("set the datalogger's clock to this computer's when it is off by "
                                                     "more than S seconds (at least 30; waits for the next minute)"),
                                      QStringLiteral("S"));
    QCommandLineOption inTurn(inTurnName, QStringLiteral("collect STATION here, after the ones before it"),
                              QStringLiteral("STATION"));
    inTurn.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOptions({check, once, timeout, lockWait, folder, jobs, store, health, json, warnBattery, warnMemory,
                       warnClock, setClock, inTurn});
    parser.process(app);

    QTextStream out(stdout);
    QTextStream err(stderr);
    if (parser.positionalArguments().size() != 1) {
        err << "quorvel-collect: give one stations file (see --help)\n";
        return BadStationsFile;
    }
    CollectSettings settings;
    if (!positiveSeconds(parser.value(timeout), settings.fieldTimeoutMs)
        || !positiveSeconds(parser.value(lockWait), settings.lockWaitMs)) {
        err << "quorvel-collect: --timeout and --lock-wait take whole seconds from 1 to 86400\n";
        return BadStationsFile;
    }
    int jobCount = 0;
    if (parser.isSet(jobs) && !wholeNumber(parser.value(jobs), 1, 1000, jobCount)) {
        err << "quorvel-collect: --jobs takes a whole number from 1 to 1000\n";
        return BadStationsFile;
    }
    std::optional<StoreUrl> storeUrl;
    if (parser.isSet(store)) {
        QString why;
        storeUrl = parseStoreUrl(parser.value(store), &why);
        if (!storeUrl) {
            err << "quorvel-collect: --store: " << why << "\n";
            return BadStationsFile;
        }
        if (!QSqlDatabase::isDriverAvailable(storeUrl->driver())) {
            err << "quorvel-collect: --store: Qt's " << storeUrl->driver() << " driver is not installed (Debian: "
                << (storeUrl->kind == StoreUrl::Kind::Sqlite ? "libqt6sql6-sqlite" : "libqt6sql6-psql") << ")\n";
            return BadStationsFile;
        }
    }
    QString why;
    if (!healthOptions(parser, health, json, warnBattery, warnMemory, warnClock, setClock, settings.health, why)) {
        err << "quorvel-collect: " << why << "\n";
        return BadStationsFile;
    }
    const bool asJson = parser.isSet(json);
    const auto lineFor = [asJson](const Station& station, const StationReport& report) {
        return asJson ? QString::fromUtf8(QJsonDocument(reportJson(station, report)).toJson(QJsonDocument::Compact))
                      : reportLine(station, report);
    };
    settings.programFolder = parser.isSet(folder) ? parser.value(folder) : ProgramFolder::chosen();

    const QString file = parser.positionalArguments().first();
    const StationsFile stations = readStationsFile(file);
    for (const QString& fault : stations.faults)
        err << fault << "\n";
    if (!stations.faults.isEmpty())
        return BadStationsFile;
    if (parser.isSet(check)) {
        out << file << ": " << stations.stations.size() << " stations, no fault\n";
        return AllCollected;
    }
    const bool child = parser.isSet(inTurn);
    QString missing;
    const QList<int> chosen = chosenStations(stations.stations, child ? parser.values(inTurn)
                                                 : parser.isSet(once) ? QStringList{parser.value(once)}
                                                                      : QStringList(), missing);
    if (!missing.isEmpty()) {
        err << "quorvel-collect: no station named \"" << missing << "\"\n";
        return BadStationsFile;
    }

    const QList<QList<int>> groups = portGroups(stations.stations, chosen);
    if (!child && groups.size() > 1) {
        QStringList childArgs = {"--timeout", parser.value(timeout), "--lock-wait", parser.value(lockWait)};
        if (parser.isSet(folder))
            childArgs << "--program-folder" << parser.value(folder);
        if (parser.isSet(store))
            childArgs << "--store" << parser.value(store);
        for (const QCommandLineOption* flag : {&health, &json})
            if (parser.isSet(*flag))
                childArgs << QStringLiteral("--") + flag->names().first();
        for (const QCommandLineOption* valued : {&warnBattery, &warnMemory, &warnClock, &setClock})
            if (parser.isSet(*valued))
                childArgs << QStringLiteral("--") + valued->names().first() << parser.value(*valued);
        childArgs << file;
        const int atOnce = jobCount > 0 ? jobCount : int(groups.size());
        const ParallelOutcome ran =
            runInParallel(stations.stations, groups, atOnce, childArgs, QStringLiteral("--") + inTurnName, lineFor, out);
        return ran.anyFailed ? SomeFailed : ran.anyWarned ? OnlyWarnings : AllCollected;
    }

    QList<Station> inOrder;
    for (int index : chosen)
        inOrder << stations.stations[index];
    bool anyFailed = false;
    bool anyWarned = false;
    int position = 0;
    collectInTurn(
        inOrder, settings, storeUrl,
        [&](const Station& station, const StationReport& report) {
            anyFailed = anyFailed || !report.ok;
            anyWarned = anyWarned || report.warned();
            const QString line = lineFor(station, report);
            out << (child ? framedLine(position++, line) : line) << "\n";
            out.flush();
        },
        [&](const QString& note) {
            err << "quorvel-collect: " << note << "\n";
            err.flush();
        });
    return anyFailed ? SomeFailed : anyWarned ? OnlyWarnings : AllCollected;
}
