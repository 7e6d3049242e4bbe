// quorvel-collect with --store against simulated stations and a real PostgreSQL server:
// two collector machines (two program folders) filling one database, every reading once;
// the database stopped in the middle of a block, which fails the station and leaves the
// datalogger's memory unconfirmed; a store that is down; SQLite written by two children
// at once; a malformed --store refused before any station is reached.
#include "collector_process.h"
#include "data/phone_book.h"
#include "data/yearly_file.h"
#include "store/store_url.h"
#include "store_contents.h"
#include "support/file_bytes.h"
#include "support/postgres_server.h"
#include "support/remaining_blocks.h"

#include <QDate>
#include <QTemporaryDir>
#include <QtTest>

class CollectStoreTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    PostgresServer server;
    int databases = 0;

    // A database of its own for each test, on the one server.
    QString freshDatabase()
    {
        const QString name = QStringLiteral("readings%1").arg(++databases);
        if (!server.createDatabase(name))
            qWarning("%s", qPrintable(server.error()));
        return server.url(name);
    }
    QString yearly(const QString& folder) const { return YearlyFile::path(folder, QDate::currentDate().year()); }
    // Records the datalogger was told it may forget.
    static int confirmed(SimProcess& sim) { return sim.state().value("fetched").toInt(-1); }

private slots:
    void initTestCase() { QVERIFY2(server.start(), qPrintable(server.error())); }

    // Machine A collects North and Lake (a cable each, at once); machine B, at the same
    // time, Hill over the internet with its own FTP book. Every reading is in the one
    // database once; a second round adds runs and no reading.
    void twoMachinesIntoOneDatabase()
    {
        SimProcess north({"--wake-idle", "300", "--channels", "3,0,0,0", "--preload", "30", "--acquisition", "0"});
        SimProcess lake({"--wake-idle", "300", "--channels", "2,0,0,0", "--preload", "20", "--acquisition", "0",
                         "--seed", "2"});
        SimProcess hill({"--telnet", "--ftp", "127.0.0.1:0", "--ftp-dir", "hill", "--wake-idle", "300", "--channels",
                         "4,0,0,0", "--preload", "25", "--acquisition", "0", "--seed", "3"});
        QVERIFY(north.start() && lake.start() && hill.startTcp());
        QTRY_VERIFY(hill.ftpPort() != 0);
        const QString a = dir.filePath("machine-a");
        const QString b = dir.filePath("machine-b");
        QVERIFY(QDir().mkpath(b));
        QVERIFY(PhoneBook::writeBook(b + "/ftp.ini", {"hill", QStringLiteral("127.0.0.1:%1").arg(hill.ftpPort()),
                                                      "datalogger", "secret"}));
        const QString aFile = writeStationsFile(a + "/stations.ini", serialStationText("North", north.ptyPath(), a + "/North")
                                                                         + serialStationText("Lake", lake.ptyPath(), a + "/Lake"));
        const QString bFile = writeStationsFile(b + "/stations.ini", internetStationText("Hill", "hill", hill.tcpPort(), b + "/Hill"));
        const QString url = freshDatabase();

        for (int round = 1; round <= 2; ++round) {
            auto first = startCollector(a, {"--store", url, aFile});
            auto second = startCollector(b, {"--store", url, bFile});
            const CollectorRun runA = finishCollector(*first);
            const CollectorRun runB = finishCollector(*second);
            QVERIFY2(runA.status == 0, qPrintable(runA.out + runA.err));
            QVERIFY2(runB.status == 0, qPrintable(runB.out + runB.err));
            QVERIFY2(runA.err.isEmpty() && runB.err.isEmpty(), qPrintable(runA.err + runB.err));
        }
        const QList<QByteArray> northLines = recordLines(blocksSent(north.sent()));
        const QList<QByteArray> lakeLines = recordLines(blocksSent(lake.sent()));
        const QList<QByteArray> hillLines = recordLines(blocksSent(hill.sent()));
        QCOMPARE(northLines.size(), 30);
        QCOMPARE(lakeLines.size(), 20);
        QCOMPARE(hillLines.size(), 25);
        QStringList expected = expectedReadings("North", northLines) + expectedReadings("Lake", lakeLines)
                               + expectedReadings("Hill", hillLines);
        expected.sort();
        const StoreContents c = storeContents(url);
        QCOMPARE(c.error, QString());
        QCOMPARE(c.readings.size(), 30 * 3 + 20 * 2 + 25 * 4);
        QCOMPARE(c.readings, expected);
        QStringList runs = c.runs;
        runs.sort();
        QCOMPARE(runs, (QStringList{"Hill|ok|0", "Hill|ok|25", "Lake|ok|0", "Lake|ok|20", "North|ok|0", "North|ok|30"}));
        QCOMPARE(fileRecordLines(fileBytes(yearly(a + "/North"))), northLines);
        QCOMPARE(fileRecordLines(fileBytes(yearly(b + "/Hill"))), hillLines);
    }

    // The server goes while the block is on its way: the station fails with the store's
    // message, "]" is never sent, and the next run, with the server back, brings the
    // same records in once.
    void theDatabaseStoppedMidRun()
    {
        SimProcess sim({"--wake-idle", "300", "--channels", "4,0,0,0", "--preload", "40", "--acquisition", "0",
                        "--baud", "9600"});
        QVERIFY(sim.start());
        const QString folder = dir.filePath("stopped");
        const QString file = writeStationsFile(folder + "/stations.ini", serialStationText("Dam", sim.ptyPath(), folder + "/Dam"));
        const QString url = freshDatabase();
        auto collector = startCollector(folder, {"--store", url, file});
        QTRY_VERIFY_WITH_TIMEOUT(!sim.commandsSince(0, "[").isEmpty(), 20000);
        server.stop();
        const CollectorRun failed = finishCollector(*collector);
        QVERIFY2(server.start(), qPrintable(server.error()));
        QCOMPARE(failed.status, 1);
        const QString shown = parseStoreUrl(url, nullptr)->shown();
        QCOMPARE(failed.lines().size(), 1);
        QVERIFY2(failed.lines()[0].startsWith("Dam: serial " + sim.ptyPath() + ": FAILED: The store " + shown
                                              + " did not take the block ("),
                 qPrintable(failed.out));
        QVERIFY2(failed.lines()[0].contains("): the datalogger keeps the data. ("), qPrintable(failed.out));
        QVERIFY(sim.commandsSince(0, "]").isEmpty());
        QCOMPARE(confirmed(sim), 0);

        const CollectorRun again = runCollector(folder, {"--store", url, file});
        QVERIFY2(again.status == 0, qPrintable(again.out + again.err));
        QTRY_COMPARE(confirmed(sim), 40);
        const QList<QByteArray> lines = recordLines(blocksSent(sim.sent()));
        QCOMPARE(lines.size(), 40);
        QCOMPARE(storeContents(url).readings, expectedReadings("Dam", lines));
        // Each record once in the yearly file too, though the first run had put the block there.
        QCOMPARE(fileRecordLines(fileBytes(yearly(folder + "/Dam"))), lines);
    }

    // A server that is not there: the station fails before the datalogger is asked for
    // anything.
    void aStoreThatIsDown()
    {
        SimProcess sim({"--wake-idle", "300", "--channels", "2,0,0,0", "--preload", "5", "--acquisition", "0"});
        QVERIFY(sim.start());
        const QString folder = dir.filePath("down");
        const QString file = writeStationsFile(folder + "/stations.ini", serialStationText("Dam", sim.ptyPath(), folder + "/Dam"));
        const QString url = QStringLiteral("postgresql://quorvel@/readings?host=%1").arg(folder + "/no-server");
        const CollectorRun run = runCollector(folder, {"--store", url, file});
        QCOMPARE(run.status, 1);
        QCOMPARE(run.lines().size(), 1);
        QVERIFY2(run.lines()[0].startsWith("Dam: serial " + sim.ptyPath() + ": FAILED: The store " + url
                                           + " cannot be opened ("),
                 qPrintable(run.out));
        QVERIFY2(run.lines()[0].contains("): the datalogger keeps the data. ("), qPrintable(run.out));
        QCOMPARE(sim.commandCount(), 0);
        QVERIFY(!QFile::exists(yearly(folder + "/Dam")));
    }

    // Two children write one SQLite file at once: each waits for the other's
    // transaction, none fails.
    void twoChildrenIntoOneSqliteFile()
    {
        SimProcess one({"--wake-idle", "300", "--channels", "8,8,0,0", "--preload", "200", "--acquisition", "0"});
        SimProcess two({"--wake-idle", "300", "--channels", "8,8,0,0", "--preload", "200", "--acquisition", "0",
                        "--seed", "2"});
        QVERIFY(one.start() && two.start());
        const QString folder = dir.filePath("sqlite");
        const QString file = writeStationsFile(folder + "/stations.ini", serialStationText("One", one.ptyPath(), folder + "/One")
                                                                             + serialStationText("Two", two.ptyPath(), folder + "/Two"));
        const QString url = QStringLiteral("sqlite:") + folder + "/readings.db";
        const CollectorRun run = runCollector(folder, {"--store", url, file});
        QVERIFY2(run.status == 0, qPrintable(run.out + run.err));
        QStringList expected = expectedReadings("One", recordLines(blocksSent(one.sent())))
                               + expectedReadings("Two", recordLines(blocksSent(two.sent())));
        expected.sort();
        QCOMPARE(expected.size(), 2 * 200 * 16);
        const StoreContents c = storeContents(url);
        QCOMPARE(c.readings, expected);
        QCOMPARE(c.runs.size(), 2);
    }

    void aMalformedStore_data()
    {
        QTest::addColumn<QString>("store");
        QTest::addColumn<QString>("reason");
        QTest::newRow("relative") << "sqlite:readings.db" << "sqlite:PATH needs the database file as an absolute path";
        QTest::newRow("scheme") << "postgre://db/r"
                                << "\"postgre://db/r\" is not a store: give it as sqlite:PATH or "
                                   "postgresql://USER@HOST:PORT/DATABASE";
        QTest::newRow("port") << "postgresql://db:70000/r" << "\"db:70000\" is not a HOST:PORT (a port is 1 to 65535)";
    }
    // Said before any station is reached, with status 2, for a run and for --check.
    void aMalformedStore()
    {
        QFETCH(QString, store);
        QFETCH(QString, reason);
        SimProcess sim({"--wake-idle", "300"});
        QVERIFY(sim.start());
        const QString folder = dir.filePath("malformed");
        const QString file = writeStationsFile(folder + "/stations.ini", serialStationText("Dam", sim.ptyPath(), folder + "/Dam"));
        for (const QStringList& args : {QStringList{"--store", store, file}, QStringList{"--check", "--store", store, file}}) {
            const CollectorRun run = runCollector(folder, args);
            QCOMPARE(run.status, 2);
            QCOMPARE(run.err, "quorvel-collect: --store: " + reason + "\n");
            QVERIFY(run.out.isEmpty());
        }
        QCOMPARE(sim.commandCount(), 0);
    }
};

QTEST_GUILESS_MAIN(CollectStoreTest)
#include "tst_collect_store.moc"
