// The tests' own client of the simulator.
#include "sim_client.h"

#include <QDeadlineTimer>
#include <QList>
#include <QThread>

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

SimClient::~SimClient()
{
    close();
}

bool SimClient::openPty(const QString& path)
{
    close();
    m_fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    if (m_fd < 0)
        return false;
    termios tio{};
    ::tcgetattr(m_fd, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(m_fd, TCSANOW, &tio);
    return true;
}

bool SimClient::openTcp(quint16 port)
{
    close();
    m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(m_fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        close();
        return false;
    }
    int one = 1;
    ::setsockopt(m_fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return true;
}

void SimClient::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_buffer.clear();
    m_eof = false;
}

void SimClient::write(const QByteArray& bytes)
{
    qsizetype done = 0;
    while (m_fd >= 0 && done < bytes.size()) {
        const ssize_t n = ::write(m_fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n <= 0 && errno != EINTR)
            return;
        if (n > 0)
            done += n;
    }
}

void SimClient::command(const QByteArray& cmd, const QByteArray& values, int pauseMs)
{
    write(cmd);
    for (char c : values) {
        write(QByteArray(1, c));
        QThread::msleep(pauseMs);
    }
}

bool SimClient::readSome(int timeoutMs)
{
    if (m_fd < 0 || m_eof)
        return false;
    pollfd p{m_fd, POLLIN, 0};
    if (::poll(&p, 1, qMax(0, timeoutMs)) <= 0)
        return false;
    char buf[65536];
    const ssize_t n = ::read(m_fd, buf, sizeof buf);
    if (n <= 0) {
        m_eof = true;
        return false;
    }
    m_buffer.append(buf, int(n));
    return true;
}

QByteArray SimClient::fields(int n, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (m_buffer.count(',') < n && !deadline.hasExpired())
        readSome(int(deadline.remainingTime()));
    int end = 0;
    for (int seen = 0; seen < n && end < m_buffer.size(); ++end)
        if (m_buffer[end] == ',')
            ++seen;
    const QByteArray out = m_buffer.left(end);
    m_buffer.remove(0, end);
    return out;
}

QByteArray SimClient::bytes(int n, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (m_buffer.size() < n && !deadline.hasExpired())
        readSome(int(deadline.remainingTime()));
    const QByteArray out = m_buffer.left(n);
    m_buffer.remove(0, out.size());
    return out;
}

QByteArray SimClient::until(const QByteArray& terminator, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!m_buffer.contains(terminator) && !deadline.hasExpired())
        readSome(int(deadline.remainingTime()));
    const qsizetype at = m_buffer.indexOf(terminator);
    const qsizetype end = at < 0 ? m_buffer.size() : at + terminator.size();
    const QByteArray out = m_buffer.left(end);
    m_buffer.remove(0, end);
    return out;
}

QByteArray SimClient::drain(int quietMs)
{
    while (readSome(quietMs)) {
    }
    const QByteArray out = m_buffer;
    m_buffer.clear();
    return out;
}

QList<QByteArray> splitFields(const QByteArray& reply)
{
    QList<QByteArray> f = reply.split(',');
    if (!f.isEmpty() && f.last().isEmpty())
        f.removeLast();
    return f;
}
