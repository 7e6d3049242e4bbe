// Times a full memory download (5000 records x 64 channels) from the simulator over TCP and
// the same byte count pushed through a plain loopback socket, and prints both and their ratio.
#include "bench_result.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTextStream>

#include <arpa/inet.h>
#include <csignal>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr int kRecords = 5000;
constexpr int kChannels = 64;

int connectTo(quint16 port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        ::close(fd);
        return -1;
    }
    int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return fd;
}

// Reads until `commas` commas have arrived; returns the byte count (or -1 on a stall).
qint64 readFields(int fd, qint64 commas)
{
    char buf[1 << 16];
    qint64 total = 0, seen = 0;
    while (seen < commas) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 10000) <= 0)
            return -1;
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n <= 0)
            return -1;
        total += n;
        for (ssize_t i = 0; i < n; ++i)
            seen += buf[i] == ',';
    }
    return total;
}

double simulatorDownload(qint64& bytes)
{
    QProcess sim;
    sim.setProcessChannelMode(QProcess::MergedChannels);
    sim.start(QStringLiteral(QUORVEL_SIM_PATH),
              {"--tcp", "127.0.0.1:0", "--preload", QString::number(kRecords), "--channels", "16,16,16,16"});
    static const QRegularExpression listening("tcp listening on [^:]+:(\\d+)");
    QByteArray out;
    quint16 port = 0;
    while (port == 0 && sim.waitForReadyRead(10000)) {
        out += sim.readAll();
        const auto m = listening.match(QString::fromLatin1(out));
        if (m.hasMatch())
            port = quint16(m.captured(1).toUInt());
    }
    const int fd = port ? connectTo(port) : -1;
    double ms = -1;
    if (fd >= 0) {
        QElapsedTimer t;
        t.start();
        [[maybe_unused]] const ssize_t w = ::write(fd, "A", 1);
        bytes = readFields(fd, 2 + qint64(kRecords) * (6 + kChannels));
        ms = t.nsecsElapsed() / 1e6;
        ::close(fd);
    }
    ::kill(pid_t(sim.processId()), SIGTERM);
    sim.waitForFinished(3000);
    return bytes > 0 ? ms : -1;
}

// The same number of bytes, already formatted, written by a thread to a loopback socket.
double loopbackBaseline(qint64 bytes)
{
    const int server = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(server, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::listen(server, 1);
    socklen_t len = sizeof a;
    ::getsockname(server, reinterpret_cast<sockaddr*>(&a), &len);
    const QByteArray payload(int(bytes), ',');
    std::thread writer([&] {
        const int c = ::accept(server, nullptr, nullptr);
        char cmd;
        if (::read(c, &cmd, 1) == 1) {
            for (qsizetype done = 0; done < payload.size();) {
                const ssize_t n = ::write(c, payload.constData() + done, size_t(payload.size() - done));
                if (n <= 0)
                    break;
                done += n;
            }
        }
        ::close(c);
    });
    const int fd = connectTo(ntohs(a.sin_port));
    QElapsedTimer t;
    t.start();
    [[maybe_unused]] const ssize_t w = ::write(fd, "A", 1);
    readFields(fd, bytes);
    const double ms = t.nsecsElapsed() / 1e6;
    writer.join();
    ::close(fd);
    ::close(server);
    return ms;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    qint64 bytes = 0;
    const double simMs = simulatorDownload(bytes);
    if (simMs < 0) {
        out << "bench_sim_download: the simulator did not serve the download\n";
        return 1;
    }
    const double baseMs = loopbackBaseline(bytes);
    out << "download of " << kRecords << " records x " << kChannels << " channels: " << bytes << " bytes\n"
        << "simulator over TCP: " << QString::number(simMs, 'f', 1) << " ms, "
        << QString::number(bytes / (simMs / 1000.0) / 1e6, 'f', 2) << " MB/s\n"
        << "plain loopback:     " << QString::number(baseMs, 'f', 1) << " ms, "
        << QString::number(bytes / (baseMs / 1000.0) / 1e6, 'f', 2) << " MB/s\n"
        << "ratio simulator/loopback: " << QString::number(simMs / baseMs, 'f', 1) << "\n"
        << (simMs < 2000 ? "within" : "OVER") << " the 2 s budget\n";
    out.flush();
    reportResult("simulator_download_seconds", simMs / 1000, 2,
                 "simulator serving 5000 records x 64 channels over TCP, seconds (not a ratio)");
    return simMs < 2000 ? 0 : 1;
}
