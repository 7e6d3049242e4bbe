// File checks before a data file is rewritten: is another program holding it?
#include "link/mfile.h"

#include "link/dialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace mFile {

namespace {

const QString tempSuffix = QStringLiteral(".temp");

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

bool taken(const QString& name)
{
    const QFileInfo info(name);
    return info.exists() || info.isSymLink();
}

// A plain rename that refuses a destination that exists. Unlike QFile::rename it never
// falls back to copying the file, which for a large data file would be slow and, cut
// short, would look like the file itself.
bool renameFile(const QString& from, const QString& to)
{
    return !taken(to)
           && ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

FileRenamer renamer = renameFile;

// The files this process renamed for the check and could not rename back: the file's
// absolute path -> the name it was left under. Only these are ever renamed back. A file
// already standing under the temporary name belongs to someone else (another program, an
// earlier run) and is never touched: neither taken for ours nor for a sign of "busy".
QHash<QString, QString>& stranded()
{
    static QHash<QString, QString> names;
    return names;
}

QString key(const QString& path)
{
    return QFileInfo(path).absoluteFilePath();
}

// NAME.temp; when that name is already taken, the first free of NAME.temp1, NAME.temp2...
QString probeName(const QString& path)
{
    QString probe = path + tempSuffix;
    for (int n = 1; taken(probe); ++n)
        probe = path + tempSuffix + QString::number(n);
    return probe;
}

bool renameBoth(const QString& path)
{
    const QString probe = probeName(path);
    if (!renamer(path, probe))
        return false;
    if (renamer(probe, path))
        return true;
    stranded().insert(key(path), probe);
    return false;
}

// A file this process left under the temporary name goes back first, so that no later
// step takes the file for missing and writes over its data.
void restoreLeftover(const QString& path)
{
    const auto it = stranded().find(key(path));
    if (it == stranded().end())
        return;
    if (!taken(it.value())) {
        stranded().erase(it);   // moved away since: nothing of ours is left there
        return;
    }
    if (!taken(path) && renamer(it.value(), path))
        stranded().erase(it);
}

} // namespace

void setFileRenamer(FileRenamer r)
{
    renamer = r ? r : renameFile;
}

bool File_Esiste(const QString& path)
{
    const QFileInfo info(path);
    return !path.isEmpty() && info.exists() && !info.isDir();
}

void Cancella_File(const QString& path)
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

int Prova_Rinomina(const QString& path)
{
    restoreLeftover(path);
    if (!heldByAnotherProgram(path) && renameBoth(path))
        return 1;
    restoreLeftover(path);
    const auto answer = dialogs().message(
        QStringLiteral("Il file ") + path
            + QStringLiteral(" è occupato. Chiudere le applicazioni che utilizzano il file."),
        QStringLiteral("Azione annullata"), Dialogs::Buttons::RetryCancel,
        Dialogs::Icon::Warning, Dialogs::Answer::Retry);
    return answer == Dialogs::Answer::Retry ? 0 : 2;
}

bool File_Occupato(const QString& path)
{
    for (;;) {
        restoreLeftover(path);
        if (!File_Esiste(path))
            return false;
        switch (Prova_Rinomina(path)) {
        case 1:
            return false;
        case 2:
            return true;
        default:
            break;  // the operator closed the other program and asked to retry
        }
    }
}

} // namespace mFile
