// Recorded memory through the simulator: full downloads, erase, reset and the remaining data.
#include "sim_client.h"
#include "support/sim_process.h"

#include <QTest>

namespace {

struct Download {
    int records = -1;
    int perRecord = -1;
    QList<QList<QByteArray>> rows;   // time stamp and values of each record
};

// Reads an "A"/"a" reply: count, values per record, then the records.
Download readDownload(SimClient& c, int extraPerRecord = 0)
{
    Download d;
    const QList<QByteArray> head = splitFields(c.fields(2));
    if (head.size() != 2)
        return d;
    d.records = head[0].toInt();
    d.perRecord = head[1].toInt();
    const int width = 6 + d.perRecord + extraPerRecord;
    const QList<QByteArray> all = splitFields(c.fields(d.records * width, 10000));
    for (int r = 0; r + 1 <= d.records && (r + 1) * width <= all.size(); ++r)
        d.rows.append(all.mid(r * width, width));
    return d;
}

} // namespace

class TestSimMemory : public QObject {
    Q_OBJECT

private slots:
    void downloadHoldsEveryRecordOnTheTimerGrid()
    {
        SimProcess sim({"--preload", "300", "--channels", "8,4,0,0", "--timer", "900"});
        QVERIFY(sim.startTcp());
        SimClient c;
        QVERIFY(c.openTcp(sim.tcpPort()));
        c.write("A");
        const Download d = readDownload(c);
        QCOMPARE(d.records, 300);
        QCOMPARE(d.perRecord, 12);
        QCOMPARE(d.rows.size(), 300);
        QDateTime previous;
        for (const auto& row : d.rows) {
            const QDateTime t(QDate(row[2].toInt(), row[1].toInt(), row[0].toInt()),
                              QTime(row[3].toInt(), row[4].toInt(), row[5].toInt()));
            QVERIFY(t.isValid());
            if (previous.isValid())
                QCOMPARE(previous.secsTo(t), 900);
            previous = t;
            for (int k = 6; k < row.size(); ++k) {
                const double hz = row[k].toDouble();
                QVERIFY2(hz >= 400 && hz <= 4000, row[k]);
            }
        }
        // Frequencies drift slowly: neighbouring records of a channel stay close.
        QVERIFY(qAbs(d.rows[0][6].toDouble() - d.rows[1][6].toDouble()) < 20);
        QCOMPARE(c.drain(200), QByteArray());

        c.write("a");
        const Download t = readDownload(c);
        QCOMPARE(t.records, 300);
        QCOMPARE(t.rows.last().size(), 18);
        QVERIFY(qAbs(t.rows[0][6].toDouble()) < 60);

        // The remaining data once fetched and confirmed leaves an empty block.
        c.write("[");
        QVERIFY(c.until("***fine***,").count("\r\n") == 300);
        c.write("]");
        QCOMPARE(c.fields(1), QByteArray("OK,"));
        c.write("[");
        QCOMPARE(c.until("***fine***,"), QByteArray("***inizio***,***fine***,"));
    }

    void analogModelSendsVoltsAndTheRainGaugeCount()
    {
        SimProcess sim({"--model", "0", "--preload", "20", "--events", "1"});
        QVERIFY(sim.startTcp());
        SimClient c;
        QVERIFY(c.openTcp(sim.tcpPort()));
        c.write("D,");
        QCOMPARE(c.fields(1), QByteArray("0,"));
        c.write("A");
        const Download d = readDownload(c, 1);
        QCOMPARE(d.records, 20);
        for (const auto& row : d.rows) {
            QCOMPARE(row.size(), 6 + 8 + 1);
            const double v = row[6].toDouble();
            QVERIFY2(v >= 0 && v <= 2.5 && row[6].contains('.'), row[6]);
            QVERIFY(row.last().toInt() >= 0);
        }
        QCOMPARE(c.drain(200), QByteArray());
        c.write("a");   // temperatures never carry the rain count
        QCOMPARE(readDownload(c).rows.last().size(), 14);
    }

    void eraseResetAndChannelWrites()
    {
        SimProcess sim({"--preload", "50", "--name", "DIGA"});
        QVERIFY(sim.start());
        SimClient c;
        QVERIFY(c.openPty(sim.ptyPath()));
        c.command("b", ",");
        c.command("M", ",");
        QCOMPARE(c.fields(2), QByteArray("05000,05000,"));
        c.command("A");
        QCOMPARE(c.fields(2), QByteArray("0,8,"));

        // A new channel layout cannot keep the old records.
        c.command("o", "1,");
        c.command("y", "1,1, 100,00,00,");   // a START time already past: acquire now
        QTest::qWait(300);
        QCOMPARE(sim.state().value("records").toInt(), 1);
        c.command("h", " 2, 5,");
        QTest::qWait(300);
        QCOMPARE(sim.state().value("records").toInt(), 0);

        c.command("z");
        QTest::qWait(300);
        c.command("Q");
        QCOMPARE(c.fields(1), QByteArray("LOGGER,"));
        c.command("H", " 2,");
        QCOMPARE(c.fields(1), QByteArray("0,"));
        c.command("O");
        QCOMPARE(c.fields(1), QByteArray("0,"));
        c.command("D", ",");
        QCOMPARE(c.fields(1), QByteArray("1,"));   // the model is hardware
    }

    void remainingDataIsOfferedUntilConfirmed()
    {
        // 600 simulated seconds per real second: a record every second with the 600 s timer.
        SimProcess sim({"--preload", "3", "--speed", "600"});
        QVERIFY(sim.startTcp());
        SimClient c;
        QVERIFY(c.openTcp(sim.tcpPort()));
        c.write("H 0,");
        QCOMPARE(c.fields(1), QByteArray("8,"));

        c.write("[");
        QCOMPARE(c.fields(1), QByteArray("***inizio***,"));
        const QByteArray block = c.until("***fine***,");
        QVERIFY(block.endsWith("\r\n***fine***,"));
        const QList<QByteArray> lines = block.chopped(11).split('\n');
        QVERIFY(lines.size() >= 4);   // three preloaded lines (and the terminator's rest)
        const QList<QByteArray> first = splitFields(lines[0].trimmed());
        QCOMPARE(first.size(), 9);
        QVERIFY(QDateTime::fromString(QString::fromLatin1(first[0]), "dd/MM/yyyy hh:mm:ss").isValid());

        // Without "]" the same block is offered again.
        c.write("[");
        QCOMPARE(c.fields(1), QByteArray("***inizio***,"));
        QVERIFY(c.until("***fine***,").startsWith(lines[0]));
        c.write("]");
        QCOMPARE(c.fields(1), QByteArray("OK,"));

        QTest::qWait(2500);   // a few new records
        c.write("[");
        c.fields(1);
        const QByteArray next = c.until("***fine***,");
        QVERIFY2(!next.contains(lines[0]), next);
        QVERIFY2(next.count("\r\n") >= 1, next);
    }

    void oversizeMemoryForTheProgramsStore()
    {
        SimProcess sim({"--preload", "5001", "--channels", "16,16,16,16"});
        QVERIFY(sim.startTcp());
        SimClient c;
        QVERIFY(c.openTcp(sim.tcpPort()));
        c.write("M,");
        QCOMPARE(c.fields(2), QByteArray("05001,00000,"));   // full: no more recording
        c.write("A");
        const Download d = readDownload(c);
        QCOMPARE(d.records, 5001);
        QCOMPARE(d.perRecord, 64);
        QCOMPARE(d.rows.size(), 5001);
    }

    void tcpBlocksCarrySeveralCommands()
    {
        SimProcess sim;
        QVERIFY(sim.startTcp());
        SimClient c;
        QVERIFY(c.openTcp(sim.tcpPort()));
        c.write("D,QH 0,O");
        QCOMPARE(c.fields(4), QByteArray("1,SIM01,8,1,"));
        c.write("d0,0,0,0,0,");
        c.write("y1,Y");   // the e-mail switch, then its read at once
        QCOMPARE(c.fields(1), QByteArray("1,"));
        QCOMPARE(sim.state().value("last_d").toString(), QString("0,0,0,0,0,"));
    }

private:
};

QTEST_GUILESS_MAIN(TestSimMemory)
#include "tst_sim_memory.moc"
