// The pseudo-terminal transport.
#include "pty_transport.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

// After a drop, how often the program's side is looked at, and how long it has at most to
// read what was sent before the line goes dead.
constexpr int kDropCheckMs = 20;
constexpr int kDropLingerMs = 5000;

} // namespace

PtyTransport::PtyTransport(QObject* parent)
    : Transport(parent)
{
    connect(&m_dropTimer, &QTimer::timeout, this, &PtyTransport::finishDrop);
}

PtyTransport::~PtyTransport()
{
    closeAll();
    if (!m_link.isEmpty())
        QFile::remove(m_link);
}

bool PtyTransport::open(const QString& linkPath, QString& error)
{
    char name[256] = {};
    if (::openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) {
        error = QStringLiteral("openpty: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    m_slaveName = QString::fromLocal8Bit(name);
    termios tio{};
    if (::tcgetattr(m_slave, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(m_slave, TCSANOW, &tio);
    }
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    QFile::remove(linkPath);
    if (!QFile::link(m_slaveName, linkPath)) {
        error = QStringLiteral("cannot create the link %1").arg(linkPath);
        closeAll();
        return false;
    }
    m_link = linkPath;
    m_readNotifier = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Read);
    connect(m_readNotifier.get(), &QSocketNotifier::activated, this, &PtyTransport::onReadable);
    m_writeNotifier = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Write);
    m_writeNotifier->setEnabled(false);
    connect(m_writeNotifier.get(), &QSocketNotifier::activated, this, &PtyTransport::flush);
    return true;
}

void PtyTransport::onReadable()
{
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(m_master, buf, sizeof buf);
        if (n > 0) {
            emit received(QByteArray(buf, int(n)));
            if (m_dropping || m_master < 0)
                return;   // what was received made the link drop: the rest is not read
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN)
            return;
        // EIO: nobody holds the slave side; cannot happen while m_slave is open.
        if (m_readNotifier)
            m_readNotifier->setEnabled(false);
        return;
    }
}

void PtyTransport::send(const QByteArray& bytes)
{
    if (m_master < 0 || m_dropping)
        return;
    m_out += bytes;
    flush();
}

void PtyTransport::flush()
{
    while (!m_out.isEmpty() && m_master >= 0) {
        const ssize_t n = ::write(m_master, m_out.constData(), size_t(m_out.size()));
        if (n > 0) {
            m_out.remove(0, int(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break;   // EAGAIN: the program is not reading; wait until it does
    }
    if (m_writeNotifier)
        m_writeNotifier->setEnabled(!m_out.isEmpty());
}

void PtyTransport::drop()
{
    if (m_master < 0 || m_dropping)
        return;
    // Nothing more is read from the program, and the link goes at once so that it cannot
    // open the line again. Both sides are closed later, by finishDrop(): this may run
    // inside the read notifier's own signal, which must not destroy it.
    m_dropping = true;
    if (m_readNotifier)
        m_readNotifier->setEnabled(false);
    if (!m_link.isEmpty())
        QFile::remove(m_link);
    m_link.clear();
    flush();
    m_emptyChecks = 0;
    m_dropClock.start();
    m_dropTimer.start(kDropCheckMs);
    emit peerDisconnected();
}

void PtyTransport::finishDrop()
{
    // Closing the master hangs up the program's side, and the kernel then throws away
    // what the program has not read yet. So the close waits until everything sent has
    // been written and read (the slave's input queue empty at two checks in a row), or
    // until the program has had kDropLingerMs to read it. Then its reads and writes
    // fail, as with a pulled cable.
    int queued = 0;
    const bool empty = m_out.isEmpty() && ::ioctl(m_slave, TIOCINQ, &queued) == 0 && queued == 0;
    m_emptyChecks = empty ? m_emptyChecks + 1 : 0;
    if (m_emptyChecks < 2 && m_dropClock.elapsed() < kDropLingerMs)
        return;
    closeAll();
}

void PtyTransport::closeAll()
{
    m_dropTimer.stop();
    m_readNotifier.reset();
    m_writeNotifier.reset();
    m_out.clear();
    if (m_master >= 0)
        ::close(m_master);
    if (m_slave >= 0)
        ::close(m_slave);
    m_master = m_slave = -1;
}
