// quorvel-collect: fetches the new data of every station in a stations file into its
// yearly file, one station after the other, and prints one line per station. Meant to be
// run by the system's timers; every wait has a time-out.
#include "collect/station_run.h"
#include "collect/stations_file.h"
#include "link/program_folder.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <clocale>

namespace {

enum ExitStatus { AllCollected = 0, SomeFailed = 1, BadStationsFile = 2 };

bool positiveSeconds(const QString& text, int& ms)
{
    bool ok = false;
    const int s = text.toInt(&ok);
    if (!ok || s < 1 || s > 86400)
        return false;
    ms = s * 1000;
    return true;
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
    parser.addOptions({check, once, timeout, lockWait, folder});
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
    if (parser.isSet(folder))
        ProgramFolder::setOverride(parser.value(folder));

    const StationsFile stations = readStationsFile(parser.positionalArguments().first());
    for (const QString& fault : stations.faults)
        err << fault << "\n";
    if (!stations.faults.isEmpty())
        return BadStationsFile;
    if (parser.isSet(check)) {
        out << parser.positionalArguments().first() << ": " << stations.stations.size() << " stations, no fault\n";
        return AllCollected;
    }
    bool anyFailed = false;
    bool found = false;
    for (const Station& station : stations.stations) {
        if (parser.isSet(once) && station.name != parser.value(once))
            continue;
        found = true;
        const StationReport report = collectStation(station, settings);
        anyFailed = anyFailed || !report.ok;
        out << reportLine(station, report) << "\n";
        out.flush();
    }
    if (!found) {
        err << "quorvel-collect: no station named \"" << parser.value(once) << "\"\n";
        return BadStationsFile;
    }
    return anyFailed ? SomeFailed : AllCollected;
}
