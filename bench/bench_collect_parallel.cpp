// Times quorvel-collect fetching eight simulated internet stations in one run, and each
// of the eight alone (fresh simulators, the same data), and prints the run's time as a
// ratio to the slowest station alone. Each datalogger paces its block at 19200 baud, so a
// station takes seconds, as over a real line, and the ratio measures how far the
// stations overlap rather than how fast a process starts.
#include "bench_result.h"
#include "data/phone_book.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>

#include <memory>
#include <vector>

namespace {

constexpr int kStations = 8;
constexpr double kTarget = 1.5;

// One simulated datalogger with its office FTP server, each on a free port.
struct Datalogger {
    std::unique_ptr<QProcess> process;
    quint16 tcpPort = 0;
    quint16 ftpPort = 0;
};

QString stationName(int i) { return QStringLiteral("Station %1").arg(i + 1); }

quint16 announcedPort(const QByteArray& output, const char* what)
{
    const QRegularExpression line(QStringLiteral("%1 listening on [^:\\s]+:(\\d+)").arg(QLatin1String(what)));
    const QRegularExpressionMatch m = line.match(QString::fromLatin1(output));
    return m.hasMatch() ? quint16(m.captured(1).toUInt()) : 0;
}

// Stations 1..8 hold 60, 65, ... 95 records of four channels: 3 to 5 KB each.
bool startDataloggers(std::vector<Datalogger>& loggers)
{
    loggers.clear();
    for (int i = 0; i < kStations; ++i) {
        Datalogger d;
        d.process = std::make_unique<QProcess>();
        d.process->setProcessChannelMode(QProcess::MergedChannels);
        d.process->start(QStringLiteral(QUORVEL_SIM_PATH),
                         {"--tcp", "127.0.0.1:0", "--telnet", "--ftp", "127.0.0.1:0", "--ftp-dir", QStringLiteral("s%1").arg(i),
                          "--wake-idle", "300", "--channels", "4,0,0,0", "--preload", QString::number(60 + 5 * i),
                          "--acquisition", "0", "--baud", "19200", "--seed", QString::number(i + 1)});
        QByteArray output;
        while ((d.tcpPort == 0 || d.ftpPort == 0) && d.process->waitForReadyRead(10000)) {
            output += d.process->readAll();
            d.tcpPort = announcedPort(output, "tcp");
            d.ftpPort = announcedPort(output, "ftp");
        }
        if (d.tcpPort == 0 || d.ftpPort == 0)
            return false;
        loggers.push_back(std::move(d));
    }
    return true;
}

void stopDataloggers(std::vector<Datalogger>& loggers)
{
    for (Datalogger& d : loggers) {
        d.process->terminate();
        d.process->waitForFinished(3000);
    }
    loggers.clear();
}

// The program folder's FTP book and the stations file for these dataloggers.
bool writeStations(const QString& folder, const std::vector<Datalogger>& loggers)
{
    QStringList book;
    QString stations;
    for (int i = 0; i < kStations; ++i) {
        book << QStringLiteral("s%1").arg(i) << QStringLiteral("127.0.0.1:%1").arg(loggers[size_t(i)].ftpPort)
             << "datalogger" << "secret";
        stations += QStringLiteral("[%1]\nlink = internet\nentry = s%2\ntcp-port = %3\nfolder = %4/data%2\n\n")
                        .arg(stationName(i)).arg(i).arg(loggers[size_t(i)].tcpPort).arg(folder);
    }
    QFile f(folder + "/stations.ini");
    return PhoneBook::writeBook(folder + "/ftp.ini", book) && f.open(QIODevice::WriteOnly | QIODevice::Truncate)
           && f.write(stations.toUtf8()) > 0;
}

// One collector run over the stations file (with extra options); its time in ms, or -1
// when a station did not bring its records.
double collect(const QString& folder, const QStringList& extra, int expectedLines, QTextStream& out)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    QElapsedTimer clock;
    clock.start();
    p.start(QStringLiteral(QUORVEL_COLLECT_PATH),
            QStringList{"--timeout", "30", "--program-folder", folder, "--store", "sqlite:" + folder + "/readings.db",
                        folder + "/stations.ini"} + extra);
    const bool finished = p.waitForFinished(120000);
    const double ms = clock.nsecsElapsed() / 1e6;
    const QString said = QString::fromUtf8(p.readAll());
    static const QRegularExpression appended(QStringLiteral(": [1-9]\\d* records appended"));
    if (!finished || p.exitCode() != 0 || said.count(appended) != expectedLines) {
        out << "bench_collect_parallel: the run failed:\n" << said;
        return -1;
    }
    return ms;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    std::vector<Datalogger> loggers;

    // Each station alone, one after the other.
    QTemporaryDir alone;
    if (!startDataloggers(loggers) || !writeStations(alone.path(), loggers)) {
        out << "bench_collect_parallel: the simulators did not start\n";
        return 1;
    }
    double slowestMs = 0;
    for (int i = 0; i < kStations; ++i) {
        const double ms = collect(alone.path(), {"--once", stationName(i)}, 1, out);
        if (ms < 0)
            return 1;
        out << stationName(i) << " alone: " << QString::number(ms / 1000, 'f', 2) << " s\n";
        slowestMs = qMax(slowestMs, ms);
    }
    stopDataloggers(loggers);

    // All of them in one run, from fresh dataloggers holding the same records.
    QTemporaryDir together;
    if (!startDataloggers(loggers) || !writeStations(together.path(), loggers)) {
        out << "bench_collect_parallel: the simulators did not start\n";
        return 1;
    }
    const double allMs = collect(together.path(), {}, kStations, out);
    stopDataloggers(loggers);
    if (allMs < 0)
        return 1;
    const double ratio = allMs / slowestMs;
    out << "eight stations in one run: " << QString::number(allMs / 1000, 'f', 2) << " s\n"
        << "slowest station alone:     " << QString::number(slowestMs / 1000, 'f', 2) << " s\n"
        << "ratio: " << QString::number(ratio, 'f', 2) << (ratio <= kTarget ? " (within " : " (OVER ") << kTarget << ")\n";
    out.flush();
    reportResult("collect_parallel_ratio", ratio, kTarget,
                 "collector, 8 internet stations in one run / the slowest of them alone (SQLite store)");
    return ratio <= kTarget ? 0 : 1;
}
