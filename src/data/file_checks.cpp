// File checks before a data file is rewritten: is another program holding it?
#include "data/file_checks.h"

#include "data/dialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace FileChecks {

namespace {

// A byte-range lock (POSIX or open-file-description) held on the file by anyone else.
bool rangeLocked(int fd)
{
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    probe.l_start = 0;
    probe.l_len = 0;
    if (fcntl(fd, F_OFD_GETLK, &probe) == 0)
        return probe.l_type != F_UNLCK;
    return false;
}

// A whole-file flock() lock held through another open of the file.
bool fileLocked(int fd)
{
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
        flock(fd, LOCK_UN);
        return false;
    }
    return errno == EWOULDBLOCK;
}

bool officeLockBeside(const QString& path)
{
    const QFileInfo info(path);
    return QFileInfo::exists(info.dir().filePath(QStringLiteral(".~lock.") + info.fileName()
                                                 + QLatin1Char('#')));
}

// Can be written to: opened for appending, without creating it and without a byte written.
bool openableForAppend(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

} // namespace

bool fileExists(const QString& path)
{
    const QFileInfo info(path);
    return !path.isEmpty() && info.exists() && !info.isDir();
}

void deleteFile(const QString& path)
{
    const QFileInfo info(path);
    if (info.exists() && info.isWritable())
        QFile::remove(path);
}

bool heldByAnotherProgram(const QString& path)
{
    if (officeLockBeside(path))
        return true;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool held = rangeLocked(fd) || fileLocked(fd);
    ::close(fd);
    return held;
}

bool isFree(const QString& path) { return !heldByAnotherProgram(path) && openableForAppend(path); }

int checkFileFree(Dialogs& dialogs, const QString& path)
{
    if (isFree(path))
        return 1;
    const auto answer = dialogs.message(
        QStringLiteral("Il file ") + path
            + QStringLiteral(" è occupato. Chiudere le applicazioni che utilizzano il file."),
        QStringLiteral("Azione annullata"), Dialogs::Buttons::RetryCancel,
        Dialogs::Icon::Warning, Dialogs::Answer::Retry);
    return answer == Dialogs::Answer::Retry ? 0 : 2;
}

bool fileInUse(Dialogs& dialogs, const QString& path)
{
    for (;;) {
        if (!fileExists(path))
            return false;
        switch (checkFileFree(dialogs, path)) {
        case 1:
            return false;
        case 2:
            return true;
        default:
            break;  // the operator closed the other program and asked to retry
        }
    }
}

} // namespace FileChecks
