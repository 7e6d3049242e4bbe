// Noticing a file that another program holds, and the operator's Retry/Cancel choice.
#include "data/file_checks.h"
#include "support/file_bytes.h"
#include "support/scripted_dialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace FileChecks;

namespace {

void writeFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(data);
}

// A second process that takes a POSIX record lock on path and keeps it until killed.
pid_t lockInChild(const QString& path)
{
    int ready[2];
    if (pipe(ready) != 0)
        return -1;
    const QByteArray name = QFile::encodeName(path);
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0) {
        // Not left behind by a test run that dies before its cleanup.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent)
            _exit(0);
        const int fd = ::open(name.constData(), O_RDWR);
        struct flock lock {};
        lock.l_type = F_WRLCK;
        lock.l_whence = SEEK_SET;
        const char ok = (fd >= 0 && fcntl(fd, F_SETLK, &lock) == 0) ? 'y' : 'n';
        (void)!::write(ready[1], &ok, 1);
        pause();
        _exit(0);
    }
    char ok = 0;
    (void)!::read(ready[0], &ok, 1);
    ::close(ready[0]);
    ::close(ready[1]);
    return ok == 'y' ? pid : -1;
}

// Ends the child if there is one and forgets it, so that a pid reused since is never hit.
void endChild(pid_t& pid)
{
    if (pid > 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    pid = -1;
}

// When the file's inode last changed (a rename changes it), to the nanosecond.
qint64 changeTimeNs(const QString& path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return -1;
    return qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
}

} // namespace

class TestFileChecks : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    pid_t child = -1;   // the lock holder, ended by cleanup() even when a check failed

private slots:
    void cleanup()
    {
        endChild(child);
    }

    void missingFileIsFreeWithoutAsking()
    {
        ScriptedDialogs d;
        const QString path = dir.filePath("none.txt");
        QVERIFY(!fileExists(path));
        QVERIFY(!fileInUse(d, path));
        deleteFile(path);  // nothing to do, nothing said
        QVERIFY(d.shown.isEmpty());
        QVERIFY(!fileExists(dir.path()));  // a folder is not a file
    }

    // A free file is found free without being moved: a program that died between moving
    // it aside and back would leave it under another name.
    void freeFileIsFoundFreeWhereItIs()
    {
        ScriptedDialogs d;
        const QString path = dir.filePath("free.txt");
        writeFile(path, "keep me");
        const qint64 changed = changeTimeNs(path);
        QTest::qWait(20);
        QCOMPARE(checkFileFree(d, path), 1);
        QCOMPARE(changeTimeNs(path), changed);
        QVERIFY(!fileInUse(d, path));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("keep me"));
        QVERIFY(!QFile::exists(path + ".temp"));
        QVERIFY(d.shown.isEmpty());
    }

    void lockedByAnotherProcess()
    {
        const QString path = dir.filePath("held.txt");
        writeFile(path, "x");
        child = lockInChild(path);
        QVERIFY(child > 0);
        ScriptedDialogs d;
        d.answers << Dialogs::Answer::Cancel;
        QVERIFY(fileInUse(d, path));
        QCOMPARE(d.shown.size(), 1);
        QCOMPARE(d.shown[0].title, QStringLiteral("Azione annullata"));
        QCOMPARE(d.shown[0].text, QStringLiteral("Il file ") + path
                                       + QStringLiteral(" è occupato. Chiudere le applicazioni che utilizzano il file."));
        QCOMPARE(d.shown[0].buttons, Dialogs::Buttons::RetryCancel);

        // Retry after the operator closed the other program while the question was shown.
        struct Closing final : public Dialogs {
            pid_t* pid;
            int asked = 0;
            Answer message(const QString&, const QString&, Buttons, Icon, Answer) override
            {
                ++asked;
                endChild(*pid);
                return Answer::Retry;
            }
            QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
            QString saveFileName(const QString&, const QString&, const QString&) override { return {}; }
            QString folderName(const QString&, const QString&) override { return {}; }
            void beep() override {}
        } closing;
        closing.pid = &child;
        QVERIFY(!fileInUse(closing, path));
        QCOMPARE(closing.asked, 1);
    }

    void flockAndOfficeLocksCount()
    {
        const QString path = dir.filePath("sheet.csv");
        writeFile(path, "a;b");
        QProcess holder;
        holder.start("flock", {"-o", path, "sleep", "30"});
        QVERIFY(holder.waitForStarted());
        QTRY_VERIFY(heldByAnotherProgram(path));
        holder.kill();
        holder.waitForFinished();
        // flock's own child may still hold its copy of the locked descriptor for an instant
        // before it closes it to run the command.
        QTRY_VERIFY(!heldByAnotherProgram(path));

        writeFile(dir.filePath(".~lock.sheet.csv#"), "user");
        QVERIFY(heldByAnotherProgram(path));
        QFile::remove(dir.filePath(".~lock.sheet.csv#"));
        QVERIFY(!heldByAnotherProgram(path));
    }

    void temporaryNameNotOursIsLeftAlone()
    {
        ScriptedDialogs d;
        // Beside a free file: the file is still found free, without asking.
        const QString path = dir.filePath("beside.txt");
        writeFile(path, "mine");
        writeFile(path + ".temp", "someone else's");
        QCOMPARE(checkFileFree(d, path), 1);
        QVERIFY(!fileInUse(d, path));
        QCOMPARE(fileBytes(path), QByteArray("mine"));
        QCOMPARE(fileBytes(path + ".temp"), QByteArray("someone else's"));
        QCOMPARE(QDir(dir.path()).entryList({"beside.txt*"}, QDir::Files).size(), 2);

        // Alone: the file is missing, and the other one is not made into it.
        const QString alone = dir.filePath("alone.txt");
        writeFile(alone + ".temp", "someone else's");
        QVERIFY(!fileInUse(d, alone));
        QVERIFY(!QFile::exists(alone));
        QCOMPARE(fileBytes(alone + ".temp"), QByteArray("someone else's"));
        QVERIFY(d.shown.isEmpty());
    }

    // In a child without privileges (root ignores file permissions, so as root the child
    // runs as nobody), which says through its exit status which step failed.
    void readOnlyFileIsNotDeleted()
    {
        const QString folder = dir.filePath("unprivileged");
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + "/ro.txt";
        writeFile(path, "x");
        const bool root = ::geteuid() == 0;
        const uid_t nobody = 65534;
        if (root) {
            // The child must reach the folder, and own it and the file.
            QVERIFY(QFile::setPermissions(dir.path(), QFile::permissions(dir.path()) | QFileDevice::ExeOther));
            QVERIFY(::chown(QFile::encodeName(folder).constData(), nobody, nobody) == 0);
            QVERIFY(::chown(QFile::encodeName(path).constData(), nobody, nobody) == 0);
        }
        const pid_t pid = fork();
        QVERIFY(pid >= 0);
        if (pid == 0) {
            if (root && (::setgroups(0, nullptr) != 0 || ::setgid(nobody) != 0 || ::setuid(nobody) != 0))
                _exit(10);
            if (!QFile::setPermissions(path, QFileDevice::ReadOwner))
                _exit(11);
            if (QFileInfo(path).isWritable())
                _exit(12);  // permissions still ignored
            deleteFile(path);
            if (!QFile::exists(path))
                _exit(13);  // the read-only file was deleted
            QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            deleteFile(path);
            _exit(QFile::exists(path) ? 14 : 0);  // 14: a writable file was kept
        }
        int status = 0;
        QCOMPARE(waitpid(pid, &status, 0), pid);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
    }
};

QTEST_GUILESS_MAIN(TestFileChecks)
#include "tst_file_checks.moc"
