// quorvel-collect: fetches the new data of every station in a stations file into its
// yearly file (and, with --store, into a database), and prints one line per station.
// Stations on different ports run at the same time, those on one port one after the
// other. Meant to be run by the system's timers; every wait has a time-out.
#include "collect/parallel_run.h"
#include "collect/station_run.h"
#include "collect/stations_file.h"
#include "collect/stations_in_turn.h"
#include "data/program_folder.h"
#include "store/store_url.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSqlDatabase>
#include <QTextStream>

#include <clocale>

namespace {

enum ExitStatus { AllCollected = 0, SomeFailed = 1, BadStationsFile = 2 };

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
    QCommandLineOption inTurn(inTurnName, QStringLiteral("collect STATION here, after the ones before it"),
                              QStringLiteral("STATION"));
    inTurn.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOptions({check, once, timeout, lockWait, folder, jobs, store, inTurn});
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
        childArgs << file;
        const int atOnce = jobCount > 0 ? jobCount : int(groups.size());
        return runInParallel(stations.stations, groups, atOnce, childArgs, QStringLiteral("--") + inTurnName, out)
                   ? AllCollected
                   : SomeFailed;
    }

    QList<Station> inOrder;
    for (int index : chosen)
        inOrder << stations.stations[index];
    bool anyFailed = false;
    int position = 0;
    collectInTurn(
        inOrder, settings, storeUrl,
        [&](const Station& station, const StationReport& report) {
            anyFailed = anyFailed || !report.ok;
            const QString line = reportLine(station, report);
            out << (child ? framedLine(position++, line) : line) << "\n";
            out.flush();
        },
        [&](const QString& note) {
            err << "quorvel-collect: " << note << "\n";
            err.flush();
        });
    return anyFailed ? SomeFailed : AllCollected;
}
