// Taking lock files, and taking over those of holders that have ended.
#include "link/lock_files.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QLockFile>
#include <QThread>

namespace {

constexpr int retryMs = 50;

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

bool holderGone(QLockFile& lock)
{
    qint64 pid = 0;
    QString host;
    QString app;
    return lock.getLockInfo(&pid, &host, &app) && pid > 0 && processGone(pid);
}

} // namespace

bool processGone(qint64 pid)
{
    const char state = processState(pid);
    return state == 0 || state == 'Z' || state == 'X';
}

bool takeLock(QLockFile& lock, int waitMs)
{
    const QDeadlineTimer deadline(qMax(0, waitMs));
    for (;;) {
        if (lock.tryLock(0))
            return true;
        if (lock.error() != QLockFile::LockFailedError)
            return false;
        if (holderGone(lock) && lock.removeStaleLockFile())
            continue;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(quint64(qMin<qint64>(retryMs, qMax<qint64>(1, deadline.remainingTime()))));
    }
}

bool removeLockOfGoneHolder(const QString& path)
{
    if (!QFile::exists(path))
        return false;
    QLockFile lock(path);
    return holderGone(lock) && lock.removeStaleLockFile();
}
