// Lock files. A run's lock (a port's, a yearly file's) is the kernel's advisory lock on
// the file, held by an open descriptor: it ends with the process, however the process
// ends, and no later process can be taken for its holder (a process number is used
// again by the system; an ended collector left unreaped stays a zombie with its number).
// The serial port's own lock files, which name their holder by number, are taken over
// when that holder is gone, or when a holder killed as it took one left it empty.
#pragma once

#include <QString>

// An exclusive lock on a file, held while the object lives; the file is removed when
// the lock is let go.
class FileLock {
public:
    enum class Result {
        Taken,
        Busy,    // another process held it for the whole wait
        Failed,  // the lock file could not be created or locked
    };

    FileLock() = default;
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Takes the lock at path, waiting up to waitMs for another holder to let it go.
    Result take(const QString& path, int waitMs);

private:
    void release();

    QString path_;
    int fd_ = -1;
};

// Removes the lock file at path (one that names its holder's process number) when its
// holder is gone, or when it names no holder and has been left so for a moment; true
// when it did.
bool removeLockOfGoneHolder(const QString& path);
