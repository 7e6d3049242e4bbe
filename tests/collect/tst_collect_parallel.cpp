// quorvel-collect runs stations on different ports at the same time and those on one
// port one after the other, prints each line whole in the stations file's order however
// the downloads end, holds to --jobs, and reports a station whose process died as failed
// without holding up the others.
#include "collector_process.h"
#include "data/yearly_file.h"
#include "support/file_bytes.h"
#include "support/remaining_blocks.h"

#include <QDate>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

namespace {

// The letters of the commands the datalogger ran, in order.
QByteArray lettersRun(SimProcess& sim)
{
    QByteArray letters;
    for (const QString& command : sim.commandsSince(0, "H[]"))
        letters += command.at(0).toLatin1();
    return letters;
}

// The collector's children, by the station each was handed first.
QHash<QString, pid_t> childrenOf(qint64 parent)
{
    QHash<QString, pid_t> children;
    QFile list(QStringLiteral("/proc/%1/task/%1/children").arg(parent));
    if (!list.open(QIODevice::ReadOnly))
        return children;
    for (const QByteArray& pid : list.readAll().split(' ')) {
        QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(QString::fromLatin1(pid.trimmed())));
        if (pid.trimmed().isEmpty() || !cmdline.open(QIODevice::ReadOnly))
            continue;
        const QList<QByteArray> args = cmdline.readAll().split('\0');
        const qsizetype at = args.indexOf("--in-turn");
        if (at >= 0 && at + 1 < args.size())
            children.insert(QString::fromUtf8(args[at + 1]), pid_t(pid.trimmed().toInt()));
    }
    return children;
}

} // namespace

class CollectParallelTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

    // Slow: forty records of four channels paced at 9600 baud, about two seconds.
    const QStringList slow = {"--wake-idle", "300", "--channels", "4,0,0,0", "--preload", "40",
                              "--acquisition", "0", "--baud", "9600"};
    const QStringList quick = {"--wake-idle", "300", "--channels", "2,0,0,0", "--preload", "5",
                               "--acquisition", "0"};

    QString stations(const QString& name, const QString& text) { return writeStationsFile(dir.filePath(name), text); }

private slots:
    // Dam (slow) on one port; Lake, then Weir, on another. Lake's download runs while Dam's
    // goes on, Weir's only after Lake's; the lines come in the file's order.
    void portsAtOnceAndInTurn()
    {
        SimProcess dam(slow);
        SimProcess lake(quick);
        QVERIFY(dam.start() && lake.start());
        const QString file = stations("ports.ini", serialStationText("Dam", dam.ptyPath(), dir.filePath("Dam"))
                                                       + serialStationText("Lake", lake.ptyPath(), dir.filePath("Lake"))
                                                       + serialStationText("Weir", lake.ptyPath(), dir.filePath("Weir")));
        const CollectorRun run = runCollector(dir.path(), {file});
        QVERIFY2(run.status == 0, qPrintable(run.out + run.err));
        const QStringList lines = run.lines();
        QCOMPARE(lines.size(), 3);
        QVERIFY2(lines[0].startsWith("Dam: serial ") && lines[0].contains(": 40 records appended"), qPrintable(run.out));
        QVERIFY2(lines[1].startsWith("Lake: serial ") && lines[1].contains(": 5 records appended"), qPrintable(run.out));
        QVERIFY2(lines[2].startsWith("Weir: serial ") && lines[2].contains(": 0 records appended"), qPrintable(run.out));

        const QList<WireEntry> damLog = dam.wireLog();
        const QList<WireEntry> lakeLog = lake.wireLog();
        // Lake's download starts before Dam's ends (in turn, it would start after) and ends
        // while Dam's goes on. Which of the two children speaks first is the machine's
        // business: on a loaded machine Dam's may start after Lake's quick run is over.
        QVERIFY(arrivalUs(lakeLog, 'H') < arrivalUs(damLog, ']'));
        QVERIFY(arrivalUs(lakeLog, ']') < arrivalUs(damLog, ']'));
        QCOMPARE(lettersRun(lake), QByteArray("H[]H[]"));  // Lake's, then Weir's
        QCOMPARE(fileBytes(YearlyFile::path(dir.filePath("Dam"), QDate::currentDate().year())),
                 YearlyFile::titleLine(4) + "\r\n" + blocksSent(dam.sent()).first() + "\r\n");
    }

    // --jobs 1: one port at a time, in the file's order.
    void oneJobAtATime()
    {
        SimProcess dam(slow);
        SimProcess lake(quick);
        QVERIFY(dam.start() && lake.start());
        const QString file = stations("jobs.ini", serialStationText("Dam", dam.ptyPath(), dir.filePath("JobsDam"))
                                                      + serialStationText("Lake", lake.ptyPath(), dir.filePath("JobsLake")));
        const CollectorRun run = runCollector(dir.path(), {"--jobs", "1", file});
        QVERIFY2(run.status == 0, qPrintable(run.out + run.err));
        QCOMPARE(run.lines().size(), 2);
        QVERIFY(arrivalUs(lake.wireLog(), 'H') > arrivalUs(dam.wireLog(), ']'));

        for (const char* bad : {"0", "x", "1001"}) {
            const CollectorRun refused = runCollector(dir.path(), {"--jobs", bad, file});
            QCOMPARE(refused.status, 2);
            QCOMPARE(refused.err, QStringLiteral("quorvel-collect: --jobs takes a whole number from 1 to 1000\n"));
        }
    }

    // Dam's process is killed while it receives: Dam's line says so, Lake's is whole,
    // Dam's block is neither in its file nor confirmed, and the status is 1.
    void aChildThatDies()
    {
        SimProcess dam(slow);
        SimProcess lake(quick);
        QVERIFY(dam.start() && lake.start());
        const QString file = stations("dies.ini", serialStationText("Dam", dam.ptyPath(), dir.filePath("DiesDam"))
                                                      + serialStationText("Lake", lake.ptyPath(), dir.filePath("DiesLake")));
        auto collector = startCollector(dir.path(), {file});
        QTRY_VERIFY_WITH_TIMEOUT(!dam.commandsSince(0, "[").isEmpty(), 20000);
        const pid_t child = childrenOf(collector->processId()).value("Dam");
        QVERIFY(child > 0);
        QCOMPARE(::kill(child, SIGKILL), 0);
        const CollectorRun run = finishCollector(*collector);
        QCOMPARE(run.status, 1);
        const QStringList lines = run.lines();
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines[0].startsWith("Dam: serial " + dam.ptyPath() + ": FAILED: The collector's process for its port "
                                     "ended (signal 9) before it reported this station. ("),
                 qPrintable(run.out));
        QVERIFY2(lines[1].startsWith("Lake: serial ") && lines[1].contains(": 5 records appended"), qPrintable(run.out));
        QCOMPARE(dam.state().value("fetched").toInt(), 0);
        QCOMPARE(fileBytes(YearlyFile::path(dir.filePath("DiesDam"), QDate::currentDate().year())),
                 YearlyFile::titleLine(4) + "\r\n");
    }
};

QTEST_GUILESS_MAIN(CollectParallelTest)
#include "tst_collect_parallel.moc"
