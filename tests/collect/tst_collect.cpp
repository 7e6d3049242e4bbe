// quorvel-collect against simulated stations: each yearly file byte for byte what the
// datalogger sent, in the window's layout; a silent station fails with its message while
// the others succeed; two runs at once never interleave a file; a bad stations file is
// refused with the line of the fault, each of its bounds too, and never echoes what is
// no text.
#include "collect/stations_file.h"
#include "data/phone_book.h"
#include "data/yearly_file.h"
#include "support/file_bytes.h"
#include "support/remaining_blocks.h"
#include "support/sim_process.h"

#include <QDate>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The file the window would have written from these blocks.
QByteArray windowFile(int channels, const QList<QByteArray>& blocks)
{
    QByteArray file = YearlyFile::titleLine(channels) + "\r\n";
    for (const QByteArray& b : blocks)
        if (!b.isEmpty())
            file += b + "\r\n";
    return file;
}

struct Run {
    int status = -1;
    QString out;
    QString err;
};

} // namespace

class CollectTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

    QString stationsFile(const QString& text)
    {
        const QString path = dir.filePath(QStringLiteral("stations.ini"));
        QFile f(path);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(text.toUtf8());
        return path;
    }
    QString serialStation(const QString& name, const SimProcess& sim)
    {
        return QStringLiteral("[%1]\nlink = serial\nport = %2\nfolder = %3\n\n")
            .arg(name, sim.ptyPath(), dir.filePath(name));
    }
    QString yearly(const QString& station) const
    {
        return YearlyFile::path(dir.filePath(station), QDate::currentDate().year());
    }
    std::unique_ptr<QProcess> start(const QStringList& args, int timeoutSeconds = 2)
    {
        auto p = std::make_unique<QProcess>();
        p->setProcessEnvironment(childEnvironment(QStringLiteral("quorvel-collect")));
        p->start(QStringLiteral(QUORVEL_COLLECT_PATH),
                 QStringList{"--timeout", QString::number(timeoutSeconds), "--program-folder", dir.path()} + args);
        return p;
    }
    static Run finish(QProcess& p)
    {
        p.waitForFinished(60000);
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
    }
    Run collect(const QStringList& args) { return finish(*start(args)); }

private slots:
    // A station on a cable, one dialled through a modem and one reached over the
    // internet (its address from the FTP server, then telnet) in one run, then the first
    // again: each file is the title and every block its datalogger sent, once. A silent
    // fourth station fails with its message, the others still succeed, status 1.
    void stationsInOneRun()
    {
        SimProcess north({"--wake-idle", "400", "--channels", "3,0,0,0", "--preload", "5", "--timer", "1"});
        SimProcess lake({"--modem", "--dial-ms", "300", "--guard-ms", "300", "--wake-idle", "400",
                         "--channels", "2,0,0,0", "--preload", "7", "--acquisition", "0"});
        SimProcess hill({"--telnet", "--ftp", "127.0.0.1:0", "--ftp-dir", "hill", "--wake-idle", "400",
                         "--channels", "5,0,0,0", "--preload", "3", "--acquisition", "0"});
        SimProcess silent({"--fault-silent"});
        QVERIFY(north.start() && lake.start() && hill.startTcp() && silent.start());
        QTRY_VERIFY(hill.ftpPort() != 0);
        QVERIFY(PhoneBook::writeBook(dir.filePath("modem.ini"), {"Lake", "5551234", "01/01/2026"}));
        QVERIFY(PhoneBook::writeBook(dir.filePath("ftp.ini"),
                                     {"hill", QStringLiteral("127.0.0.1:%1").arg(hill.ftpPort()), "datalogger", "secret"}));
        const QString file = stationsFile(
            serialStation("North", north) + serialStation("Silent", silent)
            + QStringLiteral("[Lake]\nlink = modem\nport = %1\nentry = Lake\nfolder = %2\n\n")
                  .arg(lake.ptyPath(), dir.filePath("Lake"))
            + QStringLiteral("[Hill]\nlink = internet\nentry = hill\ntcp-port = %1\nfolder = %2\n")
                  .arg(hill.tcpPort()).arg(dir.filePath("Hill")));
        Run run = collect({file});
        QCOMPARE(run.status, 1);
        const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 4);
        QVERIFY2(lines[0].startsWith("North: serial ") && lines[0].contains(" records appended"), qPrintable(lines[0]));
        QVERIFY2(lines[1].startsWith("Silent: serial ") && lines[1].contains("FAILED: The datalogger did not answer."),
                 qPrintable(lines[1]));
        QVERIFY2(lines[2].startsWith("Lake: modem ") && lines[2].contains(" 7 records appended"), qPrintable(lines[2]));
        QVERIFY2(lines[3].startsWith("Hill: internet hill: 3 records appended"), qPrintable(lines[3]));
        QCOMPARE(fileBytes(yearly("Lake")), windowFile(2, blocksSent(lake.sent())));
        QCOMPARE(fileBytes(yearly("Hill")), windowFile(5, blocksSent(hill.sent())));
        const QJsonObject modem = lake.state().value("pty").toObject().value("modem").toObject();
        QCOMPARE(modem.value("dialled").toString(), QStringLiteral("5551234"));
        QCOMPARE(modem.value("mode").toString(), QStringLiteral("command"));  // hung up

        // North records again meanwhile.
        QVERIFY(QTest::qWaitFor([&] {
            const QJsonObject memory = north.state();
            return memory.value("records").toInt() > memory.value("fetched").toInt();
        }, 5000));
        run = collect({file, "--once", "North"});
        QCOMPARE(run.status, 0);
        QCOMPARE(blocksSent(north.sent()).size(), 2);
        QCOMPARE(fileBytes(yearly("North")), windowFile(3, blocksSent(north.sent())));
        QVERIFY(!QFile::exists(yearly("Silent")));
    }

    // Two runs started together on one stations file: the second waits for the port and
    // the file; the datalogger's records end up in the file once each, in order.
    void twoRunsAtOnceNeverInterleave()
    {
        SimProcess sim({"--wake-idle", "400", "--channels", "4,0,0,0", "--preload", "300", "--baud", "57600"});
        QVERIFY(sim.start());
        const QString file = stationsFile(serialStation("Dam", sim));
        std::unique_ptr<QProcess> first = start({file}, 10);
        std::unique_ptr<QProcess> second = start({file}, 10);
        const Run a = finish(*first);
        const Run b = finish(*second);
        QVERIFY2(a.status == 0, qPrintable(a.out + a.err));
        QVERIFY2(b.status == 0, qPrintable(b.out + b.err));
        const QList<QByteArray> blocks = blocksSent(sim.sent());
        QCOMPARE(blocks.size(), 2);
        QCOMPARE(fileBytes(yearly("Dam")), windowFile(4, blocks));
        QTRY_COMPARE(sim.state().value("fetched").toInt(), recordsIn(blocks));
    }

    // The whole memory, 5000 records of 64 channels, on a cable and through a modem, each
    // at a line speed that makes the block take about 6 s against a 1 s time-out on
    // silence: fetched in one run, appended whole and confirmed.
    void aFullMemoryComesInOneRun_data()
    {
        QTest::addColumn<bool>("modem");
        QTest::newRow("cable") << false;
        QTest::newRow("modem") << true;
    }
    void aFullMemoryComesInOneRun()
    {
        QFETCH(bool, modem);
        QStringList options{"--wake-idle", "300", "--channels", "16,16,16,16", "--preload", "5000",
                            "--acquisition", "0", "--baud", "4000000"};
        if (modem)
            options << "--modem" << "--dial-ms" << "300" << "--guard-ms" << "300";
        SimProcess sim(options);
        QVERIFY(sim.start());
        QVERIFY(PhoneBook::writeBook(dir.filePath("modem.ini"), {"Full", "5550000", "01/01/2026"}));
        const QString name = modem ? QStringLiteral("FullByModem") : QStringLiteral("Full");
        const QString file = stationsFile(
            modem ? QStringLiteral("[%1]\nlink = modem\nport = %2\nentry = Full\nfolder = %3\n")
                        .arg(name, sim.ptyPath(), dir.filePath(name))
                  : serialStation(name, sim));
        const Run run = finish(*start({file}, 1));
        QVERIFY2(run.status == 0, qPrintable(run.out + run.err));
        QVERIFY2(run.out.contains(": 5000 records appended"), qPrintable(run.out));
        const QList<QByteArray> blocks = blocksSent(sim.sent());
        QCOMPARE(blocks.size(), 1);
        QCOMPARE(fileBytes(yearly(name)), windowFile(16, blocks));
        QTRY_COMPARE(sim.state().value("fetched").toInt(), 5000);
    }

    // A run killed in the middle of a block leaves the datalogger sending the rest of it.
    // The next run asks nothing until the line is quiet: while the rest still comes after
    // its time-out it gives up with that reason; given time, it lets the rest run out and
    // then takes the block whole.
    void aRunKilledInTheMiddleOfABlock()
    {
        // The block takes about 7 s; the rest after the kill still comes for more than
        // twice the second run's time-out, even when that run is slow to start (as under
        // the sanitizers).
        SimProcess sim({"--wake-idle", "300", "--channels", "16,16,16,16", "--preload", "1000",
                        "--acquisition", "0", "--baud", "1000000"});
        QVERIFY(sim.start());
        const QString file = stationsFile(serialStation("Cut", sim));
        std::unique_ptr<QProcess> first = start({file}, 10);
        QVERIFY(QTest::qWaitFor([&] { return sim.sent().size() > 50000; }, 20000));
        first->kill();
        first->waitForFinished();
        const int commands = sim.commandCount();

        Run run = finish(*start({file}, 1));
        QCOMPARE(run.status, 1);
        QVERIFY2(run.out.contains("FAILED: The datalogger is still sending the block of an earlier download"),
                 qPrintable(run.out));
        QCOMPARE(sim.commandCount(), commands);

        run = finish(*start({file}, 10));
        QVERIFY2(run.status == 0, qPrintable(run.out + run.err));
        QVERIFY2(run.out.contains(": 1000 records appended"), qPrintable(run.out));
        const QList<QByteArray> blocks = blocksSent(sim.sent());
        QCOMPARE(blocks.size(), 2);
        QCOMPARE(blocks[1], blocks[0]);
        QCOMPARE(fileBytes(yearly("Cut")), windowFile(16, {blocks[1]}));
        QTRY_COMPARE(sim.state().value("fetched").toInt(), 1000);
    }

    void aBadStationsFile()
    {
        const QString file = stationsFile("[Dam]\nlink = serial\nport = /dev/null\nfolder = /tmp/x\n\n"
                                          "[Lake]\nlink = satellite\nfolder = lake\n");
        const Run run = collect({"--check", file});
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.contains(file + ":7: [Lake] link \"satellite\""), qPrintable(run.err));
        QVERIFY2(run.err.contains(file + ":8: [Lake] needs a data folder"), qPrintable(run.err));
        QVERIFY(run.out.isEmpty());
        QVERIFY(!run.err.contains(":7: [Lake] has no port"));
        QCOMPARE(collect({file}).status, 2);

        const QString good = stationsFile("[Dam]\nlink = serial\nport = COM1\nfolder = /tmp/x\n");
        QCOMPARE(collect({"--check", good}).status, 0);
        const Run example = collect({"--check", QStringLiteral(QUORVEL_STATIONS_EXAMPLE)});
        QVERIFY2(example.status == 0, qPrintable(example.err));
        QCOMPARE(collect({good, "--once", "Lake"}).status, 2);
    }

    // Each bound and each fault of the stations file: its line, and the one it repeats.
    void stationsFileBounds_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QStringList>("faults");
        const QByteArray dam = "[Dam]\nlink = serial\nport = COM1\n";
        QTest::newRow("a huge value") << dam + "folder = /" + QByteArray(50000, 'x') + "\n"
                                      << QStringList{":4: [Dam] \"folder\" is 50001 bytes long; a value holds at most "
                                                     "4096 bytes"};
        QByteArray many;
        for (int i = 0; i < 1001; ++i)
            many += "[S" + QByteArray::number(i) + "]\nlink = serial\nport = COM1\nfolder = /tmp/x\n";
        QTest::newRow("too many stations")
            << many
            << QStringList{":4001: station \"S1000\" is one more than a stations file may name (1000); the lines "
                           "from here on are not read"};
        QTest::newRow("a key given twice") << dam + "folder = /tmp/x\nport = /dev/null\nlink = serial\nport = COM2\n"
                                           << QStringList{":5: [Dam] \"port\" is given twice (first at line 3)",
                                                          ":6: [Dam] \"link\" is given twice (first at line 2)",
                                                          ":7: [Dam] \"port\" is given twice (first at line 3)"};
        QTest::newRow("too large") << dam + "folder = /tmp/x\n;" + QByteArray(2 << 20, ' ') + "\n"
                                   << QStringList{":0: is 2097202 bytes long; a stations file holds at most 1048576 "
                                                  "bytes"};
        QTest::newRow("bytes that are not text")
            << QByteArray("[Dam\x1b[2J]\nlink = serial\x00\rport = COM1\nfolder = /tmp/x\n", 53)
            << QStringList{":1: holds bytes that are not text: \"[Dam\\x1b[2J]\"",
                           ":2: holds bytes that are not text: \"link = serial\\x00\"",
                           ":3: \"port\" comes before any [station]", ":4: \"folder\" comes before any [station]"};
    }

    void stationsFileBounds()
    {
        QFETCH(QByteArray, text);
        QFETCH(QStringList, faults);
        const QString path = dir.filePath(QStringLiteral("bounds.ini"));
        QVERIFY(writeFileBytes(path, text));
        QStringList expected;
        for (const QString& fault : faults)
            expected << path + fault;
        QCOMPARE(readStationsFile(path).faults, expected);
    }

    // A file of garbage: its first hundred faults and a count of the rest, every byte
    // of them printable.
    void aBinaryStationsFileIsNeverEchoed()
    {
        QByteArray garbage;
        for (int i = 0; i < 60000; ++i)
            garbage += char((i * 37 + i / 256) % 256);
        const QString path = dir.filePath(QStringLiteral("garbage.ini"));
        QVERIFY(writeFileBytes(path, garbage));
        const Run run = collect({"--check", path});
        QCOMPARE(run.status, 2);
        const QStringList lines = run.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 101);
        QVERIFY2(lines.last().endsWith(QLatin1String("more faults from this line on are not listed")),
                 qPrintable(lines.last()));
        for (const QChar c : run.err)
            QVERIFY(c == QLatin1Char('\n') || c.isPrint());
    }
};

QTEST_GUILESS_MAIN(CollectTest)
#include "tst_collect.moc"
