// Reading a long reply field by field through the exchange path, against reading the same
// bytes off the same line with a plain comma count; and the CPU used by a silent wait.
#include "bench_result.h"
#include "data/com_ports.h"
#include "data/program_folder.h"
#include "link/link.h"
#include "link/serial_port.h"
#include "support/pty_peer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

#include <cstdio>

namespace {

const int chunk = 4096;

QByteArray reply(qint64 bytes)
{
    QByteArray out;
    out.reserve(bytes + 16);
    for (int i = 0; out.size() < bytes; ++i)
        out += QByteArray::number(1000 + (i * 7919) % 9000) + '.' + QByteArray::number(i % 1000) + ',';
    return out;
}

// Sends data in 4 KiB writes from a thread, as a datalogger's stream arrives.
std::thread sender(PtyPeer& peer, const QByteArray& data)
{
    return std::thread([&peer, data] {
        for (qsizetype at = 0; at < data.size(); at += chunk)
            peer.write(data.mid(at, chunk));
    });
}

double fieldReaderSeconds(Link& link, SerialPort& port, PtyPeer& peer, const QByteArray& data)
{
    const qsizetype fields = data.count(',');
    link.takeOver(&port, true);  // nothing left over from the run before
    QElapsedTimer t;
    t.start();
    std::thread s = sender(peer, data);
    qsizetype got = 0;
    while (got < fields && link.readField() != QLatin1String("%%"))
        ++got;
    const double secs = t.nsecsElapsed() / 1e9;
    s.join();
    if (got != fields)
        std::fprintf(stderr, "field reader got %lld of %lld fields\n", (long long)got, (long long)fields);
    return secs;
}

// The baseline: the same bytes off the same line, each read scanned for commas.
double plainScanSeconds(PtyPeer& peer, const QString& device, const QByteArray& data)
{
    const int fd = ::open(QFile::encodeName(device).constData(), O_RDONLY | O_NOCTTY);
    const qsizetype fields = data.count(',');
    QElapsedTimer t;
    t.start();
    std::thread s = sender(peer, data);
    qsizetype commas = 0;
    char buf[65536];
    while (commas < fields) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 2000) <= 0)
            break;
        const ssize_t n = ::read(fd, buf, sizeof buf);
        for (ssize_t i = 0; i < n; ++i)
            commas += buf[i] == ',';
    }
    const double secs = t.nsecsElapsed() / 1e9;
    s.join();
    ::close(fd);
    return secs;
}

double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    PtyPeer peer;
    {
        QFile ini(folder.filePath("comports.ini"));
        ini.open(QIODevice::WriteOnly);
        ini.write(peer.slavePath().toUtf8() + "\n");
    }
    Link::Settings settings;
    settings.fieldTimeoutMs = 5000;
    Link link(settings);
    SerialPort port;
    port.setPortNames(ComPorts::names(folder.path()));
    link.setTransports(&port, nullptr);
    port.setPortNumber(1);
    port.setSettings("57600,N,8,1");
    port.open();
    link.setPortHeldOpen(true);

    const QByteArray small = reply(1 << 20);
    const QByteArray large = reply(10 << 20);
    // Best of three against best of three, so that a busy moment does not decide.
    double reader1 = 1e9, reader10 = 1e9, plain10 = 1e9;
    for (int i = 0; i < 3; ++i) {
        reader1 = std::min(reader1, fieldReaderSeconds(link, port, peer, small));
        reader10 = std::min(reader10, fieldReaderSeconds(link, port, peer, large));
        port.close();
        plain10 = std::min(plain10, plainScanSeconds(peer, peer.slavePath(), large));
        port.open();
    }
    std::printf("field reader, 10 MB in 4 KiB chunks: %.3f s; plain scan of the same bytes: %.3f s\n",
                reader10, plain10);
    std::printf("ratio field reader / plain scan: %.2f (target <= 3)\n", reader10 / plain10);
    std::printf("ratio 10 MB / 1 MB: %.2f (target <= 11)\n", reader10 / reader1);
    reportResult("field_reader_vs_plain_scan", reader10 / plain10, 3,
                 "field reader, 10 MB reply in 4 KiB chunks / plain scan of the same bytes");
    reportResult("field_reader_10mb_vs_1mb", reader10 / reader1, 11, "field reader, 10 MB reply / 1 MB reply");

    link.takeOver(&port, true);
    const double cpu0 = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    link.readField();  // nothing comes: waits the whole 5 s
    const double share = (cpuSeconds() - cpu0) / (wall.nsecsElapsed() / 1e9);
    std::printf("CPU share of one core while waiting 5 s for a silent line: %.2f %% (target < 2 %%)\n",
                share * 100);
    reportResult("silent_wait_cpu_percent", share * 100, 2,
                 "CPU share of one core (%) while waiting 5 s for a silent line");
    return 0;
}
