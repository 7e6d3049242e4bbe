// Lock files whose holder can hold nothing any more: a process that has ended, even one
// left unreaped (a container whose first process does not collect its orphans keeps an
// ended collector as a zombie, which a lock file's own check takes for alive).
#pragma once

#include <QString>

class QLockFile;

// No such process, or one that has ended and waits to be collected.
bool processGone(qint64 pid);
// Takes lock, waiting up to waitMs for another holder to let it go; a lock whose holder
// is gone is taken over at once.
bool takeLock(QLockFile& lock, int waitMs);
// Removes the lock file at path when its holder is gone; true when it did.
bool removeLockOfGoneHolder(const QString& path);
