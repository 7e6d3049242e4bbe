// The pseudo-terminal transport.
#include "pty_transport.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

PtyTransport::PtyTransport(QObject* parent)
    : Transport(parent)
{
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
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN)
            return;
        // EIO: nobody holds the slave side; cannot happen while m_slave is open.
        m_readNotifier->setEnabled(false);
        return;
    }
}

void PtyTransport::send(const QByteArray& bytes)
{
    if (m_master < 0)
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
    // Closing both sides makes the program's reads and writes fail, as with a pulled cable.
    flush();
    closeAll();
    if (!m_link.isEmpty())
        QFile::remove(m_link);
    m_link.clear();
    emit peerDisconnected();
}

void PtyTransport::closeAll()
{
    m_readNotifier.reset();
    m_writeNotifier.reset();
    m_out.clear();
    if (m_master >= 0)
        ::close(m_master);
    if (m_slave >= 0)
        ::close(m_slave);
    m_master = m_slave = -1;
}
