// A collector killed with SIGKILL at random points of its runs, and run again: every
// reading the dataloggers recorded ends up exactly once in the database and in the
// yearly files, and the dataloggers forgot only what both hold. Two internet stations
// that keep recording, collected at once (so a kill takes down the collector's children
// wherever they are: connecting, receiving, writing the file, committing, confirming),
// into SQLite and into a real PostgreSQL server.
#include "collector_process.h"
#include "data/phone_book.h"
#include "data/yearly_file.h"
#include "store_contents.h"
#include "support/file_bytes.h"
#include "support/postgres_server.h"
#include "support/remaining_blocks.h"

#include <QDate>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int killsPerStore = 10;
constexpr int channels = 3;

} // namespace

class CollectKillTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    PostgresServer server;
    int readingsChecked = 0;
    int killsDone = 0;

private slots:
    void initTestCase() { QVERIFY2(server.start(), qPrintable(server.error())); }
    void cleanupTestCase()
    {
        qInfo("%d kills, %d readings checked", killsDone, readingsChecked);
    }

    void killedAndRunAgain_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("sqlite") << "sqlite";
        QTest::newRow("postgresql") << "postgresql";
    }
    void killedAndRunAgain()
    {
        QFETCH(QString, kind);
        const QString folder = dir.filePath(kind);
        QString url = QStringLiteral("sqlite:") + folder + "/readings.db";
        if (kind == "postgresql") {
            QVERIFY2(server.createDatabase("killed"), qPrintable(server.error()));
            url = server.url("killed");
        }
        // Two records a second each, paced at 9600 baud: a run takes about half a second.
        const QStringList recording = {"--telnet", "--ftp", "127.0.0.1:0", "--wake-idle", "250", "--channels",
                                       QStringLiteral("%1,0,0,0").arg(channels), "--preload", "10", "--timer", "1",
                                       "--speed", "2", "--baud", "9600"};
        SimProcess east(recording + QStringList{"--ftp-dir", "east"});
        SimProcess west(recording + QStringList{"--ftp-dir", "west", "--seed", "2"});
        QVERIFY(east.startTcp() && west.startTcp());
        QTRY_VERIFY(east.ftpPort() != 0 && west.ftpPort() != 0);
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(PhoneBook::writeBook(folder + "/ftp.ini",
                                     {"east", QStringLiteral("127.0.0.1:%1").arg(east.ftpPort()), "datalogger", "secret",
                                      "west", QStringLiteral("127.0.0.1:%1").arg(west.ftpPort()), "datalogger", "secret"}));
        const QString file = writeStationsFile(folder + "/stations.ini",
                                               internetStationText("East", "east", east.tcpPort(), folder + "/East")
                                                   + internetStationText("West", "west", west.tcpPort(), folder + "/West"));
        const QStringList args = {"--store", url, file};
        const int timeoutSeconds = 20;  // the backlog of a few killed runs comes in one block

        const quint32 seed = QRandomGenerator::global()->generate();
        qInfo("%s: kill points drawn with seed %u", qPrintable(kind), seed);
        QRandomGenerator random(seed);
        // A kill point anywhere in a run as long as the last one that was not killed.
        int runMs = 1000;
        int kills = 0;
        int runs = 0;
        for (; kills < killsPerStore && runs < 4 * killsPerStore; ++runs) {
            auto collector = startCollector(folder, args, timeoutSeconds);
            QElapsedTimer took;
            took.start();
            if (collector->waitForFinished(random.bounded(20, runMs * 13 / 10))) {
                runMs = qMax(200, int(took.elapsed()));
                continue;
            }
            collector->kill();
            ++kills;
            collector->waitForFinished(10000);
        }
        qInfo("%s: %d kills in %d runs", qPrintable(kind), kills, runs);
        QCOMPARE(kills, killsPerStore);
        killsDone += kills;

        // Run until the collector reports both stations whole, then check.
        const CollectorRun last = runCollector(folder, args, timeoutSeconds);
        QVERIFY2(last.status == 0, qPrintable(last.out + last.err));
        const QList<std::pair<QString, SimProcess*>> stations = {{"East", &east}, {"West", &west}};
        const StoreContents c = storeContents(url);
        QCOMPARE(c.error, QString());
        QStringList expected;
        for (const auto& [station, sim] : stations) {
            const QList<QByteArray> lines = recordLines(blocksSent(sim->sent()));
            QTRY_COMPARE(sim->state().value("fetched").toInt(), lines.size());
            QVERIFY(lines.size() >= 10);
            expected += expectedReadings(station, lines);
        }
        expected.sort();
        QCOMPARE(c.readings, expected);
        readingsChecked += expected.size();
        for (const auto& [station, sim] : stations) {
            const QByteArray yearly = fileBytes(YearlyFile::path(folder + '/' + station, QDate::currentDate().year()));
            QVERIFY(yearly.startsWith(YearlyFile::titleLine(channels) + "\r\n"));
            QCOMPARE(fileRecordLines(yearly), recordLines(blocksSent(sim->sent())));
        }
    }
};

QTEST_GUILESS_MAIN(CollectKillTest)
#include "tst_store_kills.moc"
