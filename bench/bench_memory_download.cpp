// Times the program's memory download (5000 records x 64 channels, and 500 records) from
// the simulator over TCP through the telnet link and the field reader, against a plain
// socket taking the same reply from the same simulator in the same run.
#include "bench_result.h"
#include "data/memory_download.h"
#include "link/link.h"
#include "link/telnet_client.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTextStream>

#include <algorithm>
#include <csignal>

namespace {

constexpr int kChannels = 64;

struct Simulator {
    QProcess process;
    quint16 port = 0;

    explicit Simulator(int records)
    {
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QStringLiteral(QUORVEL_SIM_PATH),
                      {"--tcp", "127.0.0.1:0", "--preload", QString::number(records), "--channels",
                       "16,16,16,16", "--acquisition", "0"});
        static const QRegularExpression listening("tcp listening on [^:]+:(\\d+)");
        QByteArray out;
        while (port == 0 && process.waitForReadyRead(10000)) {
            out += process.readAll();
            const auto m = listening.match(QString::fromLatin1(out));
            if (m.hasMatch())
                port = quint16(m.captured(1).toUInt());
        }
    }
    ~Simulator()
    {
        ::kill(pid_t(process.processId()), SIGTERM);
        process.waitForFinished(3000);
    }
};

// A plain socket: "A", then every byte until the last comma of the reply.
double plainSocket(quint16 port, int records)
{
    QTcpSocket s;
    s.connectToHost(QHostAddress::LocalHost, port);
    if (!s.waitForConnected(5000))
        return -1;
    const qint64 commas = 2 + qint64(records) * (6 + kChannels);
    QElapsedTimer t;
    t.start();
    s.write("A");
    s.flush();
    qint64 seen = 0;
    while (seen < commas && s.waitForReadyRead(10000)) {
        const QByteArray chunk = s.readAll();
        seen += chunk.count(',');
    }
    return seen >= commas ? t.nsecsElapsed() / 1e6 : -1;
}

// The program's own download code over its telnet link.
double programDownload(quint16 port, int records)
{
    TelnetClient client;
    Link::Settings settings;
    settings.fieldTimeoutMs = 10000;
    Link link(settings);
    link.setTransports(nullptr, &client);
    link.takeOver(Link::Kind::Tcp, true);
    client.Connect(QStringLiteral("127.0.0.1"), port);
    QElapsedTimer wait;
    wait.start();
    while (!client.isConnected() && wait.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    MemoryDownload::Options options;
    QElapsedTimer t;
    t.start();
    const auto result = MemoryDownload::transfer(link, options, {}, [] { return false; });
    const double ms = t.nsecsElapsed() / 1e6;
    const bool complete = result.outcome == MemoryDownload::Outcome::Completed
                          && result.store.records == records && result.store.channels == kChannels;
    return complete ? ms : -1;
}

// The best of three runs of each, each from a fresh simulator connection.
struct Times {
    double plain = -1;
    double program = -1;
};

Times measure(int records)
{
    Simulator sim(records);
    Times best;
    if (sim.port == 0)
        return best;
    for (int run = 0; run < 3; ++run) {
        const double p = plainSocket(sim.port, records);
        const double q = programDownload(sim.port, records);
        if (p < 0 || q < 0)
            return {};
        best.plain = best.plain < 0 ? p : std::min(best.plain, p);
        best.program = best.program < 0 ? q : std::min(best.program, q);
    }
    return best;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const Times large = measure(5000);
    const Times small = measure(500);
    if (large.program < 0 || small.program < 0) {
        out << "bench_memory_download: the download did not complete\n";
        return 1;
    }
    const double ratio = large.program / large.plain;
    const double growth = large.program / small.program;
    out << "5000 records x 64 channels: program " << QString::number(large.program, 'f', 1)
        << " ms, plain socket " << QString::number(large.plain, 'f', 1) << " ms\n"
        << "500 records x 64 channels:  program " << QString::number(small.program, 'f', 1)
        << " ms, plain socket " << QString::number(small.plain, 'f', 1) << " ms\n"
        << "ratio program/plain socket (5000): " << QString::number(ratio, 'f', 2)
        << (ratio <= 1.5 ? " (target <= 1.5: met)\n" : " (target <= 1.5: NOT met)\n")
        << "ratio 5000/500 records: " << QString::number(growth, 'f', 2)
        << (growth <= 11 ? " (target <= 11: met)\n" : " (target <= 11: NOT met)\n");
    out.flush();
    reportResult("memory_download_vs_plain_socket", ratio, 1.5,
                 "memory download 5000 records x 64 channels over TCP / plain socket, same simulator");
    reportResult("memory_download_5000_vs_500", growth, 11, "memory download, 5000 records / 500 records");
    return 0;
}
