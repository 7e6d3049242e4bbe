// The new-data download of a backlog (1000 records of 64 channels) over a line paced at
// 115200 baud, run by the collector from start to end, against the line's own time for
// the bytes the datalogger sent: what the program adds to what the wire costs.
#include "bench_result.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>

#include <csignal>

namespace {

constexpr int kRecords = 1000;
constexpr int kBaud = 115200;

QJsonObject readState(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(f.readAll()).object() : QJsonObject();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir dir;
    const QString pty = dir.filePath("ttySIM");
    const QString state = dir.filePath("state.json");
    QProcess sim;
    sim.setProcessChannelMode(QProcess::MergedChannels);
    sim.start(QStringLiteral(QUORVEL_SIM_PATH),
              {"--pty", pty, "--state-dump", state, "--wake-idle", "100", "--channels", "16,16,16,16",
               "--preload", QString::number(kRecords), "--acquisition", "0", "--baud", QString::number(kBaud)});
    for (int i = 0; i < 500 && !QFile::exists(pty); ++i)
        QThread::msleep(10);
    const QString stations = dir.filePath("stations.ini");
    QFile file(stations);
    if (!QFile::exists(pty) || !file.open(QIODevice::WriteOnly)) {
        out << "bench_new_data_download: the simulator did not start\n";
        return 1;
    }
    file.write(QStringLiteral("[Backlog]\nlink = serial\nport = %1\nfolder = %2\n").arg(pty, dir.filePath("data")).toUtf8());
    file.close();

    QProcess collect;
    collect.setProcessChannelMode(QProcess::MergedChannels);
    QElapsedTimer timer;
    timer.start();
    collect.start(QStringLiteral(QUORVEL_COLLECT_PATH), {"--program-folder", dir.path(), stations});
    collect.waitForFinished(600000);
    const double runSeconds = timer.nsecsElapsed() / 1e9;
    const QString report = QString::fromUtf8(collect.readAll()).trimmed();

    ::kill(pid_t(sim.processId()), SIGTERM);
    sim.waitForFinished(5000);
    const QJsonObject pty0 = readState(state).value("pty").toObject();
    const qint64 sent = qint64(pty0.value("tx_bytes").toDouble());
    const double lineSeconds = sent * 10.0 / kBaud;  // start, eight data bits, stop
    if (collect.exitCode() != 0 || sent <= 0 || !report.contains(QStringLiteral("%1 records appended").arg(kRecords))) {
        out << "bench_new_data_download: the download failed: " << report << "\n";
        return 1;
    }
    const double ratio = runSeconds / lineSeconds;
    out << report << "\n"
        << "the datalogger sent " << sent << " bytes: " << QString::number(lineSeconds, 'f', 2) << " s of line at "
        << kBaud << " baud\n"
        << "the collector's run: " << QString::number(runSeconds, 'f', 2) << " s\n"
        << "ratio run/line: " << QString::number(ratio, 'f', 3) << "\n";
    out.flush();
    reportResult("new_data_download_vs_line", ratio, 1.05,
                 "new-data download of 1000 x 64 records at 115200 baud / the line's time for its bytes");
    return ratio <= 1.05 ? 0 : 1;
}
