// PtyPeer: a pseudo-terminal master with a reader thread and scheduled writes.
#include "support/pty_peer.h"

#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sched.h>
#include <termios.h>
#include <unistd.h>

PtyPeer::PtyPeer() : writers_(new std::list<std::thread>)
{
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
        if (master_ >= 0)
            ::close(master_);
        master_ = -1;
        return;
    }
    slavePath_ = QString::fromLocal8Bit(ptsname(master_));
    slaveKeep_ = ::open(ptsname(master_), O_RDWR | O_NOCTTY);
    struct termios raw {};
    tcgetattr(slaveKeep_, &raw);
    cfmakeraw(&raw);
    tcsetattr(slaveKeep_, TCSANOW, &raw);
    reader_ = std::thread([this] { readLoop(); });
}

PtyPeer::~PtyPeer()
{
    stop_ = true;
    if (reader_.joinable())
        reader_.join();
    for (auto& t : *writers_)
        t.join();
    delete writers_;
    if (slaveKeep_ >= 0)
        ::close(slaveKeep_);
    if (master_ >= 0)
        ::close(master_);
}

qint64 PtyPeer::nowUs()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

void PtyPeer::readLoop()
{
    // Arrival stamps are only as good as this thread's wake-up: on a loaded machine a
    // late wake-up reads two paced bytes at once and stamps them alike. Where allowed
    // (root, as CI runs), the reader takes a real-time priority and wakes at once; the
    // thread sleeps in poll() between reads, so it takes next to no time from others.
    sched_param param{};
    param.sched_priority = sched_get_priority_min(SCHED_FIFO);
    pthread_setschedparam(pthread_self(), SCHED_FIFO, &param);

    char buf[4096];
    while (!stop_) {
        pollfd p{master_, POLLIN, 0};
        if (poll(&p, 1, 20) <= 0)
            continue;
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n <= 0)
            continue;
        QByteArray reply;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            chunks_.append({nowUs(), QByteArray(buf, int(n))});
            all_.append(buf, int(n));
            if (!trigger_.isEmpty() && all_.indexOf(trigger_, triggerFrom_) >= 0) {
                reply = reply_;
                trigger_.clear();
            }
        }
        if (!reply.isEmpty())
            write(reply);
    }
}

void PtyPeer::write(const QByteArray& bytes)
{
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0 && !stop_) {
        pollfd w{master_, POLLOUT, 0};
        if (poll(&w, 1, 20) <= 0)
            continue;  // the program is not reading: look at stop_ again
        const ssize_t n = ::write(master_, p, size_t(left));
        if (n <= 0)
            continue;
        p += n;
        left -= n;
    }
}

void PtyPeer::writeLater(int delayMs, const QByteArray& bytes)
{
    writers_->emplace_back([this, delayMs, bytes] {
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        if (!stop_)
            write(bytes);
    });
}

void PtyPeer::replyTo(const QByteArray& trigger, const QByteArray& reply)
{
    std::lock_guard<std::mutex> lock(mutex_);
    trigger_ = trigger;
    triggerFrom_ = all_.size();
    reply_ = reply;
}

QList<PtyPeer::Chunk> PtyPeer::chunks() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return chunks_;
}

QByteArray PtyPeer::received() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return all_;
}

bool PtyPeer::waitForBytes(int n, int timeoutMs) const
{
    const qint64 end = nowUs() + qint64(timeoutMs) * 1000;
    while (nowUs() < end) {
        if (received().size() >= n)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return received().size() >= n;
}
