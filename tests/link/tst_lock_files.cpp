// Run locks: held while another process holds the file, free the moment that process
// dies however it dies, never held by a leftover file that names a process, and gone
// from the folder once let go. The serial port's own lock files left empty by a kill.
#include "link/lock_files.h"

#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

class LockFilesTest : public QObject {
    Q_OBJECT

private slots:
    void heldUntilTheHolderDies()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("Dam.dat.lock");
        QProcess holder;  // one process that takes the lock and keeps it
        holder.start("sh", {"-c", "exec 9>\"$0\"; flock 9; echo held; exec sleep 60", path});
        QVERIFY(holder.waitForReadyRead(10000));

        FileLock lock;
        QCOMPARE(lock.take(path, 300), FileLock::Result::Busy);
        holder.kill();
        QVERIFY(holder.waitForFinished());
        QCOMPARE(lock.take(path, 0), FileLock::Result::Taken);
        FileLock second;
        QCOMPARE(second.take(path, 0), FileLock::Result::Busy);  // one process, two runs
    }

    // A file left by a killed run, naming a process that is alive (its number used
    // again), is no lock; a lock let go leaves nothing in the folder.
    void leftoverFilesAndRelease()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("quorvel-port-ttyS0.lock");
        QFile left(path);
        QVERIFY(left.open(QIODevice::WriteOnly));
        left.write(QByteArray::number(qint64(::getpid())) + "\nquorvel-collect\nhost\n");
        left.close();
        {
            FileLock lock;
            QCOMPARE(lock.take(path, 0), FileLock::Result::Taken);
        }
        QVERIFY(!QFile::exists(path));
        FileLock nowhere;
        QCOMPARE(nowhere.take(dir.filePath("no/such/folder.lock"), 0), FileLock::Result::Failed);
    }

    // The serial port's lock file as a run killed while taking it leaves it: empty. It is
    // taken over once it has been left so for a moment, unless a process holds it.
    void anEmptySerialLockFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("LCK..ttyS0");
        QFile empty(path);
        QVERIFY(empty.open(QIODevice::WriteOnly));
        QVERIFY(!removeLockOfGoneHolder(path));  // just made: its taker may be writing it
        QVERIFY(empty.setFileTime(QDateTime::currentDateTime().addSecs(-10), QFileDevice::FileModificationTime));
        empty.close();

        QProcess holder;
        holder.start("sh", {"-c", "exec 9<\"$0\"; flock 9; echo held; exec sleep 60", path});
        QVERIFY(holder.waitForReadyRead(10000));
        QVERIFY(!removeLockOfGoneHolder(path));
        holder.kill();
        QVERIFY(holder.waitForFinished());
        QVERIFY(removeLockOfGoneHolder(path));
        QVERIFY(!QFile::exists(path));
    }
};

QTEST_GUILESS_MAIN(LockFilesTest)
#include "tst_lock_files.moc"
