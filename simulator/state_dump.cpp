// The state dump and the signal handling it needs.
#include "state_dump.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QSaveFile>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int g_signalPipe[2] = {-1, -1};

void onUnixSignal(int sig)
{
    const char c = char(sig);
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &c, 1);
}

} // namespace

StateDump::StateDump(QString path, std::function<QJsonObject()> collect, QObject* parent)
    : QObject(parent)
    , m_path(std::move(path))
    , m_collect(std::move(collect))
{
}

void StateDump::installSignalHandlers()
{
    // A signal handler may only write a byte; the event loop does the work.
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0)
        return;
    m_notifier = std::make_unique<QSocketNotifier>(g_signalPipe[0], QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &StateDump::onSignal);
    struct sigaction sa {};
    sa.sa_handler = onUnixSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGUSR1, SIGTERM, SIGINT, SIGHUP})
        ::sigaction(sig, &sa, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
}

void StateDump::onSignal()
{
    char c = 0;
    if (::read(g_signalPipe[0], &c, 1) != 1)
        return;
    if (c == SIGUSR1) {
        write();
        return;
    }
    QCoreApplication::quit();   // main() writes the final dump
}

void StateDump::write()
{
    if (m_path.isEmpty())
        return;
    QJsonObject o = m_collect();
    o["dump_sequence"] = ++m_sequence;
    // Written aside and renamed, so a reader never sees half a dump.
    QSaveFile f(m_path);
    if (f.open(QIODevice::WriteOnly)) {
        f.write(QJsonDocument(o).toJson(QJsonDocument::Indented));
        f.commit();
    }
}
