// Noticing a file that another program holds, and the operator's Retry/Cancel choice.
#include "link/mfile.h"
#include "support/scripted_dialogs.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace mFile;

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
    const pid_t pid = fork();
    if (pid == 0) {
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

void endChild(pid_t pid)
{
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

} // namespace

class TestFileChecks : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void missingFileIsFreeWithoutAsking()
    {
        ScriptedDialogs d;
        const QString path = dir.filePath("none.txt");
        QVERIFY(!File_Esiste(path));
        QVERIFY(!File_Occupato(path));
        Cancella_File(path);  // nothing to do, nothing said
        QVERIFY(d.shown.isEmpty());
        QVERIFY(!File_Esiste(dir.path()));  // a folder is not a file
    }

    void freeFileIsRenamedAndBack()
    {
        ScriptedDialogs d;
        const QString path = dir.filePath("free.txt");
        writeFile(path, "keep me");
        QCOMPARE(Prova_Rinomina(path), 1);
        QVERIFY(!File_Occupato(path));
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
        const pid_t child = lockInChild(path);
        QVERIFY(child > 0);
        ScriptedDialogs d;
        d.answers << Dialogs::Answer::Cancel;
        QVERIFY(File_Occupato(path));
        QCOMPARE(d.shown.size(), 1);
        QCOMPARE(d.shown[0].title, QStringLiteral("Azione annullata"));
        QCOMPARE(d.shown[0].text, QStringLiteral("Il file ") + path
                                       + QStringLiteral(" è occupato. Chiudere le applicazioni che utilizzano il file."));
        QCOMPARE(d.shown[0].buttons, Dialogs::Buttons::RetryCancel);

        // Retry after the operator closed the other program while the question was shown.
        struct Closing final : public Dialogs {
            pid_t pid;
            int asked = 0;
            Answer message(const QString&, const QString&, Buttons, Icon, Answer) override
            {
                ++asked;
                endChild(pid);
                return Answer::Retry;
            }
            QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
            QString saveFileName(const QString&, const QString&, const QString&) override { return {}; }
            QString folderName(const QString&, const QString&) override { return {}; }
            void beep() override {}
        } closing;
        closing.pid = child;
        setDialogs(&closing);
        QVERIFY(!File_Occupato(path));
        QCOMPARE(closing.asked, 1);
        setDialogs(&d);
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
        QVERIFY(!heldByAnotherProgram(path));

        writeFile(dir.filePath(".~lock.sheet.csv#"), "user");
        QVERIFY(heldByAnotherProgram(path));
        QFile::remove(dir.filePath(".~lock.sheet.csv#"));
        QVERIFY(!heldByAnotherProgram(path));
    }

    void fileLeftUnderTheTemporaryNameComesBack()
    {
        ScriptedDialogs d;
        const QString path = dir.filePath("left.txt");
        writeFile(path + ".temp", "old data");
        // Not taken for missing: it is put back and found free.
        QVERIFY(!File_Occupato(path));
        QVERIFY(QFile::exists(path));
        QVERIFY(!QFile::exists(path + ".temp"));
    }

    void readOnlyFileIsNotDeleted()
    {
        const QString path = dir.filePath("ro.txt");
        writeFile(path, "x");
        QFile::setPermissions(path, QFileDevice::ReadOwner);
        if (QFileInfo(path).isWritable())
            QSKIP("running with privileges that ignore file permissions");
        Cancella_File(path);
        QVERIFY(QFile::exists(path));
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        Cancella_File(path);
        QVERIFY(!QFile::exists(path));
    }
};

QTEST_GUILESS_MAIN(TestFileChecks)
#include "tst_file_checks.moc"
