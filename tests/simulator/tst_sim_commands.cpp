// The simulator's replies to each command group, on a pty written to as the program writes.
#include "sim_client.h"
#include "support/sim_process.h"

#include <QJsonArray>
#include <QTest>

class TestSimCommands : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_sim.start());
        QVERIFY(m_client.openPty(m_sim.ptyPath()));
    }
    void cleanup() { m_client.drain(50); }

    void identityReadsHaveTheirFieldCounts_data()
    {
        QTest::addColumn<QByteArray>("cmd");
        QTest::addColumn<QByteArray>("values");
        QTest::addColumn<int>("fieldCount");
        QTest::newRow("V") << QByteArray("V") << QByteArray() << 1;
        QTest::newRow("D model") << QByteArray("D") << QByteArray(",") << 1;
        QTest::newRow("Q name") << QByteArray("Q") << QByteArray() << 1;
        QTest::newRow("G clock") << QByteArray("G") << QByteArray(",") << 5;
        QTest::newRow("Y START") << QByteArray("Y") << QByteArray(",") << 6;
        QTest::newRow("Y e-mail") << QByteArray("Y") << QByteArray() << 1;
        QTest::newRow("C timer") << QByteArray("C") << QByteArray(",") << 3;
        QTest::newRow("E pre-heating") << QByteArray("E") << QByteArray(",") << 1;
        QTest::newRow("W voltages") << QByteArray("W") << QByteArray() << 3;
        QTest::newRow("T") << QByteArray("T") << QByteArray() << 6;
        QTest::newRow("O") << QByteArray("O") << QByteArray() << 1;
        QTest::newRow("U") << QByteArray("U") << QByteArray(",") << 1;
        QTest::newRow("M memory") << QByteArray("M") << QByteArray(",") << 2;
        QTest::newRow("L pulses") << QByteArray("L") << QByteArray(",") << 1;
        QTest::newRow("I sms") << QByteArray("I") << QByteArray() << 12;
        QTest::newRow("F phone") << QByteArray("F") << QByteArray() << 2;
        QTest::newRow("K gprs") << QByteArray("K") << QByteArray() << 10;
        QTest::newRow("> web") << QByteArray(">") << QByteArray() << 1;
        QTest::newRow("X sms lines") << QByteArray("X") << QByteArray() << 5;
        QTest::newRow("R sensor") << QByteArray("R") << QByteArray(" 3,") << 5;
        QTest::newRow("J alert") << QByteArray("J") << QByteArray(" 3,") << 3;
    }
    void identityReadsHaveTheirFieldCounts()
    {
        QFETCH(QByteArray, cmd);
        QFETCH(QByteArray, values);
        QFETCH(int, fieldCount);
        m_client.command(cmd, values);
        const QByteArray reply = m_client.fields(fieldCount);
        QCOMPARE(reply.count(','), fieldCount);
        QCOMPARE(m_client.drain(400), QByteArray());   // and nothing more
    }

    void defaultStateLooksLikeAnInstallation()
    {
        m_client.command("Q");
        QCOMPARE(m_client.fields(1), QByteArray("SIM01,"));
        m_client.command("D", ",");
        QCOMPARE(m_client.fields(1), QByteArray("1,"));
        m_client.command("H", " 0,");
        QCOMPARE(m_client.fields(1), QByteArray("8,"));
        m_client.command("M", ",");
        QCOMPARE(m_client.fields(2), QByteArray("05000,04800,"));
    }

    void fixedLengthRepliesKeepTheirPositions()
    {
        m_client.command("D");   // alone: the next conversion date
        const QByteArray d = m_client.bytes(20);
        QVERIFY2(QRegularExpression("^ \\d\\d, \\d\\d, \\d\\d, \\d\\d, \\d\\d,$").match(QString::fromLatin1(d)).hasMatch(), d);
        m_client.command("N");
        QCOMPARE(m_client.bytes(20), d);

        m_client.command("G");   // alone: 19 bytes, five 3-character fields
        const QByteArray g = m_client.bytes(19);
        QCOMPARE(g.size(), 19);
        QCOMPARE(QByteArray(g.mid(8, 3)).trimmed().toInt(), QDate::currentDate().year() % 100);
        QCOMPARE(m_client.drain(300), QByteArray());

        m_client.command("C");
        QCOMPARE(m_client.bytes(12), QByteArray("000,010,000,"));
        m_client.command("E");
        QCOMPARE(m_client.bytes(6), QByteArray("00000,"));
        m_client.command("T");
        QCOMPARE(m_client.fields(6).left(3), QByteArray("100"));
        m_client.command("H");   // alone: count and channels, 4 n + 4 bytes
        QCOMPARE(m_client.bytes(36), QByteArray("  8,  0,  1,  2,  3,  4,  5,  6,  7,"));
    }

    void writesAreReadBack()
    {
        m_client.command("q", "PONTE1,");
        m_client.command("Q");
        QCOMPARE(m_client.fields(1), QByteArray("PONTE1,"));

        // The year travels as year less 1900 with its sign blank and comes back whole.
        m_client.command("g", "5,3, 115,23,59,");
        m_client.command("G", ",");
        QCOMPARE(m_client.fields(5), QByteArray("05,03,2015,23,59,"));

        m_client.command("c", "001,002,003,");
        m_client.command("C", ",");
        QCOMPARE(m_client.fields(3), QByteArray("001,002,003,"));

        m_client.command("e", "30000,");
        m_client.command("E", ",");
        QCOMPARE(m_client.fields(1), QByteArray("30000,"));

        m_client.command("o", "0,");
        m_client.command("O");
        QCOMPARE(m_client.fields(1), QByteArray("0,"));
        m_client.command("u", "1,");
        m_client.command("U", ",");
        QCOMPARE(m_client.fields(1), QByteArray("1,"));
        m_client.command("<1,");
        m_client.command(">");
        QCOMPARE(m_client.fields(1), QByteArray("1,"));
    }

    void startTimeAndEmailShareTheirLetters()
    {
        m_client.command("y", "1,");   // one value: the e-mail switch
        QTest::qWait(400);
        m_client.command("Y");
        QCOMPARE(m_client.fields(1), QByteArray("1,"));
        m_client.command("y", "0,");
        QTest::qWait(400);
        m_client.command("Y");
        QCOMPARE(m_client.fields(1), QByteArray("0,"));

        const int year = QDate::currentDate().year() + 1;
        m_client.command("y", "7,12, " + QByteArray::number(year - 1900) + ",10,30,");
        m_client.command("Y", ",");
        QCOMPARE(m_client.fields(6), "07,12," + QByteArray::number(year) + ",10,30,00,");
        m_client.command("Y");
        QCOMPARE(m_client.fields(1), QByteArray("0,"));   // e-mail untouched by the START write
    }

    void channelsAndSensors()
    {
        m_client.command("h", " 1, 3,");
        m_client.command("H", " 1,");
        QCOMPARE(m_client.fields(1), QByteArray("3,"));
        m_client.command("p", " 1,");
        const QList<QByteArray> p = splitFields(m_client.fields(6));
        QCOMPARE(p.size(), 6);
        QCOMPARE(p[0], QByteArray("0"));   // positions within the multiplexer
        QCOMPARE(p[4], QByteArray("2"));
        QVERIFY(p[1].toDouble() >= 400 && p[1].toDouble() <= 4000);
        m_client.command("h", " 1, 0,");

        m_client.command("r", " 0,PZ1,0,2.5,0,100,");
        m_client.command("R", " 0,");
        QCOMPARE(m_client.fields(5), QByteArray("PZ1,0,2.5,0,100,"));
        m_client.command("r", " 1,PZ2,abc,  1.25 ,x,-3,");   // stored as numbers
        m_client.command("R", " 1,");
        QCOMPARE(m_client.fields(5), QByteArray("PZ2,0,1.25,0,-3,"));

        m_client.command("j", " 17,1,80.5,-20,");
        m_client.command("J", " 17,");
        QCOMPARE(m_client.fields(3), QByteArray("1,80.5,-20,"));
        m_client.command("j", "1,");   // one value: the GSM switch
        QTest::qWait(400);
        QVERIFY(m_sim.state().value("gsm").toBool());
    }

    void smsLinesAreWrittenBetweenXs()
    {
        m_client.command("x");
        const QList<QByteArray> lines = {"ALARM ON PZ1", "", "Xmas check", "LINE 4", "X"};
        for (const QByteArray& l : lines) {
            m_client.command(l, ",");
            QTest::qWait(100);
        }
        m_client.command("X");
        QCOMPARE(m_client.drain(300), QByteArray());   // the closing "X" is not a read
        m_client.command("X");
        QCOMPARE(m_client.fields(5), QByteArray("ALARM ON PZ1,,Xmas check,LINE 4,X,"));

        // A comma inside a line shifts the following lines; the extra one is lost.
        m_client.command("x");
        for (const QByteArray& l : {QByteArray("A,B"), QByteArray("2"), QByteArray("3"), QByteArray("4"), QByteArray("5")}) {
            m_client.command(l, ",");
            QTest::qWait(50);
        }
        m_client.command("X");
        QTest::qWait(300);
        m_client.command("X");
        QCOMPARE(m_client.fields(5), QByteArray("A,B,2,3,4,"));
    }

    void gsmAndGprsRoundTrip()
    {
        m_client.command("i", ",,,,,,,,,,, 0,");   // eleven empty fields and the switch
        m_client.command("I");
        QCOMPARE(m_client.fields(12), QByteArray(",,,,,,,,,,,0,"));
        m_client.command("i", "+391,+392,,,,,,,,,12, 1,");
        m_client.command("I");
        QCOMPARE(m_client.fields(12), QByteArray("+391,+392,,,,,,,,,12,1,"));
        m_client.command("f", "+3999, 1,");
        m_client.command("F");
        QCOMPARE(m_client.fields(2), QByteArray("+3999,1,"));
        m_client.command("k", "u,p,apn,ftp,fu,fp,dir,21,8,1,");
        m_client.command("K");
        QCOMPARE(m_client.fields(10), QByteArray("u,p,apn,ftp,fu,fp,dir,21,8,1,"));
    }

    void theWireLogStampsEachPacedCharacter()
    {
        const int before = int(m_sim.wireLog().size());
        m_client.command("e", "01500,", 15);
        QTest::qWait(300);
        const QList<WireEntry> log = m_sim.wireLog().mid(before);
        QByteArray all;
        for (const WireEntry& e : log)
            all += e.bytes;
        QCOMPARE(all, QByteArray("e01500,"));
        // Paced characters come in reads of their own; on a loaded machine the simulator
        // can be late to read, and a few of them share one.
        QVERIFY(log.size() >= 3);
        // Stamps are taken when the simulator reads, so one late read can shorten one gap;
        // the span over the six values still shows the pacing.
        QVERIFY2(log.last().tUs - log.first().tUs >= 50000, "values arrive about 15 ms apart");
        const QJsonArray commands = m_sim.state().value("commands").toArray();
        QCOMPARE(commands.last().toObject().value("cmd").toString(), QString("e"));
        QCOMPARE(commands.last().toObject().value("values").toArray().first().toString(), QString("01500"));
    }

    void modemLinesThatLeakThroughAreSwallowed()
    {
        const int records = m_sim.state().value("records").toInt();
        m_client.write("+++");
        m_client.command("", "ATH\r");
        m_client.command("", "atx0\r");
        QCOMPARE(m_client.drain(400), QByteArray());   // no download started by "A" of "ATH"
        QCOMPARE(m_sim.state().value("records").toInt(), records);
    }

private:
    SimProcess m_sim;
    SimClient m_client;
};

QTEST_GUILESS_MAIN(TestSimCommands)
#include "tst_sim_commands.moc"
