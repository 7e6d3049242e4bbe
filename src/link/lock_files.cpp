// Locks held by open descriptors, and lock files whose numbered holder has ended.
#include "link/lock_files.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int retryMs = 50;
// How long a lock file may name no holder while its taker is still writing it.
constexpr qint64 unnamedLockGraceMs = 2000;

// The process's state letter in /proc (R, S, Z...), or 0 when there is no such process.
char processState(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray line = stat.read(4096);
    const qsizetype close = line.lastIndexOf(')');  // the name may hold blanks and brackets
    return close >= 0 && close + 2 < line.size() ? line.at(close + 2) : 0;
}

// Whether fd is still the file at path: a holder removes the file as it lets go, so a
// lock taken on a file that has just been removed locks nothing.
bool stillThere(int fd, const QByteArray& path)
{
    struct stat held{};
    struct stat named{};
    return ::fstat(fd, &held) == 0 && ::stat(path.constData(), &named) == 0 && held.st_dev == named.st_dev
           && held.st_ino == named.st_ino;
}

// No such process, or one that has ended and waits to be collected.
bool processGone(qint64 pid)
{
    const char state = processState(pid);
    return state == 0 || state == 'Z' || state == 'X';
}

} // namespace

FileLock::~FileLock() { release(); }

FileLock::Result FileLock::take(const QString& path, int waitMs)
{
    release();
    const QByteArray name = QFile::encodeName(path);
    const QDeadlineTimer deadline(qMax(0, waitMs));
    for (;;) {
        const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0)
            return Result::Failed;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            if (stillThere(fd, name)) {
                fd_ = fd;
                path_ = path;
                return Result::Taken;
            }
            ::close(fd);
            continue;
        }
        const int error = errno;
        ::close(fd);
        if (error != EWOULDBLOCK && error != EINTR)
            return Result::Failed;
        if (deadline.hasExpired())
            return Result::Busy;
        QThread::msleep(quint64(qMin<qint64>(retryMs, qMax<qint64>(1, deadline.remainingTime()))));
    }
}

void FileLock::release()
{
    if (fd_ < 0)
        return;
    ::unlink(QFile::encodeName(path_).constData());
    ::close(fd_);
    fd_ = -1;
    path_.clear();
}

bool removeLockOfGoneHolder(const QString& path)
{
    const QFileInfo file(path);
    if (!file.exists())
        return false;
    QLockFile lock(path);
    qint64 pid = 0;
    QString host;
    QString app;
    const bool named = lock.getLockInfo(&pid, &host, &app) && pid > 0;
    // A holder killed between creating the file and writing its number into it leaves it
    // empty, naming no one. Once it is older than a taker's few steps, it is gone; the
    // removal below still fails while any process holds the file's lock.
    const bool gone = named ? processGone(pid)
                            : file.lastModified().msecsTo(QDateTime::currentDateTime()) > unnamedLockGraceMs;
    return gone && lock.removeStaleLockFile();
}
