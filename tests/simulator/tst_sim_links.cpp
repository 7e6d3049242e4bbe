// The simulator's line front-ends and faults: modem dialogue, telnet, wake-up, injected faults.
#include "sim_client.h"
#include "support/sim_process.h"

#include <QDate>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QTest>
#include <QThread>

class TestSimLinks : public QObject {
    Q_OBJECT

private slots:
    void modemDialogue()
    {
        SimProcess sim({"--modem", "--dial-ms", "600", "--guard-ms", "300"});
        QVERIFY(sim.start());
        SimClient c;
        QVERIFY(c.openPty(sim.ptyPath()));
        c.write("ATE0\r");
        QCOMPARE(c.drain(200), QByteArray("ATE0\r\r\nOK\r\n"));   // echo until it is off
        c.write("ATI3\r");
        const QByteArray id = c.drain(200);
        QVERIFY(id.startsWith("\r\n") && id.endsWith("\r\nOK\r\n"));
        QVERIFY(id.size() - 8 > 8);   // an identification longer than 8 characters
        c.write("AT\r");
        QCOMPARE(c.drain(200), QByteArray("\r\nOK\r\n"));
        c.write("Q");   // before the call nothing reaches the datalogger
        QCOMPARE(c.drain(200), QByteArray());

        c.write("atx0\r");
        QCOMPARE(c.drain(200), QByteArray("\r\nOK\r\n"));
        QElapsedTimer dial;
        dial.start();
        c.write("ATD0123456\r");
        QCOMPARE(c.bytes(16, 3000), QByteArray("\r\nCONNECT 9600\r\n"));
        QVERIFY(dial.elapsed() >= 500);

        c.command("Q");
        QCOMPARE(c.fields(1), QByteArray("SIM01,"));
        QTest::qWait(400);   // guard time before the escape
        c.command("", "+++");
        QCOMPARE(c.drain(200), QByteArray());   // not before the guard time after it
        QCOMPARE(c.drain(400), QByteArray("\r\nOK\r\n"));
        c.command("", "ATH\r");
        QCOMPARE(c.drain(300), QByteArray("\r\nOK\r\n"));
        c.command("Q");
        QCOMPARE(c.drain(300), QByteArray());
        const QJsonObject modem = sim.state().value("pty").toObject().value("modem").toObject();
        QCOMPARE(modem.value("dialled").toString(), QString("0123456"));
        QCOMPARE(modem.value("mode").toString(), QString("command"));
    }

    void plusSignsInsideDataAreNoEscape()
    {
        SimProcess sim({"--modem", "--dial-ms", "100", "--guard-ms", "300"});
        QVERIFY(sim.start());
        SimClient c;
        QVERIFY(c.openPty(sim.ptyPath()));
        c.write("ATD1\r");
        QVERIFY(c.until("CONNECT 9600\r\n").endsWith("CONNECT 9600\r\n"));
        c.write("+++Q");   // no guard time before: data, and "Q" still answers
        QCOMPARE(c.fields(1), QByteArray("SIM01,"));
        QCOMPARE(c.drain(500), QByteArray());
    }

    // The answer to a call comes no sooner than the dial time after the modem's previous
    // answer, in a write of its own; a failed call leaves the modem in command mode.
    void modemCallResults()
    {
        SimProcess sim({"--modem", "--dial-ms", "400", "--dial-result", "NO DIALTONE", "--ati3", "ABC\\r\\n"});
        QVERIFY(sim.start());
        SimClient c;
        QVERIFY(c.openPty(sim.ptyPath()));
        c.write("ATE0\r");
        c.drain(200);
        c.write("ATI3\r");
        QCOMPARE(c.drain(200), QByteArray("ABC\r\n"));   // exactly as given, no OK
        c.write("atx0\rATD123\r");                        // no pause between the two
        QCOMPARE(c.until("NO DIALTONE\r\n"), QByteArray("\r\nOK\r\n\r\nNO DIALTONE\r\n"));
        QList<WireEntry> sent;
        QVERIFY(QTest::qWaitFor([&] {
            sent = sim.sentLog();
            return !sent.isEmpty() && sent.last().bytes.contains("NO DIALTONE");
        }, 3000));
        QVERIFY(sent.size() >= 2);
        QCOMPARE(sent.last().bytes, QByteArray("\r\nNO DIALTONE\r\n"));
        QVERIFY(sent.last().tUs - sent[sent.size() - 2].tUs >= 400000);
        c.write("AT\r");
        QCOMPARE(c.drain(200), QByteArray("\r\nOK\r\n"));
        QCOMPARE(sim.state().value("pty").toObject().value("modem").toObject().value("mode").toString(),
                 QString("command"));
    }

    void telnetNegotiationAtConnect()
    {
        SimProcess sim({"--telnet"});
        QVERIFY(sim.startTcp());
        SimClient c;
        QVERIFY(c.openTcp(sim.tcpPort()));
        QCOMPARE(c.bytes(9).toHex(), QByteArray("fffd18fffb03fffd1f"));
        // The client's refusals are stripped; a doubled IAC inside a name stays one byte.
        c.write(QByteArray::fromHex("fffc18fffe03fffc1f") + "q" + "NA\xff\xff" "ME1,Q");
        QCOMPARE(c.fields(1), QByteArray("NA\xff" "ME1,"));
        const QJsonArray answers = sim.state().value("tcp").toObject().value("telnet_answers").toArray();
        QCOMPARE(answers.size(), 3);
        QCOMPARE(answers[0].toString(), QString("fc18"));
    }

    void wakeUpWhenTheLineIsIdle()
    {
        SimProcess sim({"--wake-idle", "300"});
        QVERIFY(sim.start());
        SimClient c;
        QVERIFY(c.openPty(sim.ptyPath()));
        c.drain(50);
        const QByteArray wake = c.until("S2", 2000);
        QVERIFY2(wake.endsWith("S2") && wake.size() > 2, wake);   // some text before "S2"
        // Commands keep the line busy: no wake-up inside an exchange.
        for (int i = 0; i < 5; ++i) {
            c.command("Q");
            QCOMPARE(c.fields(1), QByteArray("SIM01,"));
            QTest::qWait(100);
        }
    }

    void faultsShapeTheReplies()
    {
        {
            SimProcess sim({"--fault-silent"});
            QVERIFY(sim.start());
            SimClient c;
            QVERIFY(c.openPty(sim.ptyPath()));
            c.command("V");
            QCOMPARE(c.drain(500), QByteArray());
            QCOMPARE(sim.received(), QByteArray("V"));   // still logged
        }
        {
            SimProcess sim({"--fault-slow", "700:Q", "--fault-truncate", "3:W", "--fault-garbage", "D",
                            "--fault-silent-cmds", "O"});
            QVERIFY(sim.startTcp());
            SimClient c;
            QVERIFY(c.openTcp(sim.tcpPort()));
            QElapsedTimer t;
            t.start();
            c.write("Q");
            QCOMPARE(c.fields(1, 3000), QByteArray("SIM01,"));
            QVERIFY(t.elapsed() >= 650);
            c.write("W");
            QCOMPARE(c.drain(300).size(), 3);
            c.write("D,");
            const QByteArray garbled = c.fields(1);
            QCOMPARE(garbled.size(), 2);
            QVERIFY(garbled != "1,");
            c.write("O");
            QCOMPARE(c.drain(300), QByteArray());
            c.write("C,");
            QCOMPARE(c.fields(3), QByteArray("000,010,000,"));   // others unaffected
        }
    }

    // A field fault strikes the first reply of its letter once, at the field it names.
    void fieldFaultsStrikeOnceAtTheirField()
    {
        SimProcess sim({"--fault-at", "C:1:silent", "--fault-at", "G:2:garbage", "--fault-at", "W:1:drop",
                        "--fault-at", "Q:0:garbage"});
        QVERIFY(sim.startTcp());
        SimClient c;
        QVERIFY(c.openTcp(sim.tcpPort()));
        c.write("C,");
        QCOMPARE(c.drain(300), QByteArray("000,"));
        c.write("C,");
        QCOMPARE(c.fields(3), QByteArray("000,010,000,"));   // once only
        c.write("G,");
        const QList<QByteArray> date = c.fields(5).split(',');
        QVERIFY(date[2].size() == 4 && date[2] != QByteArray::number(QDate::currentDate().year()));
        QVERIFY(date[1].toInt() >= 1);                          // the other fields are sound
        c.write("Q");
        const QByteArray name = c.fields(1);
        QVERIFY(name.size() == 6 && name != "SIM01,");
        c.write("W");
        QCOMPARE(c.drain(500).count(','), 1);
        QVERIFY(c.closedByPeer());
    }

    void droppedLinkAfterSomeBytes()
    {
        SimProcess sim({"--fault-drop-after", "1000", "--preload", "100"});
        QVERIFY(sim.startTcp());
        SimClient c;
        QVERIFY(c.openTcp(sim.tcpPort()));
        c.write("A");
        const QByteArray got = c.drain(800);
        QCOMPARE(got.size(), 1000);
        QVERIFY(c.closedByPeer());
        // The datalogger lives on: a new connection is served in full.
        SimClient again;
        QVERIFY(again.openTcp(sim.tcpPort()));
        again.write("Q");
        QCOMPARE(again.fields(1), QByteArray("SIM01,"));
        QVERIFY(sim.state().value("tcp").toObject().value("connections").toInt() == 2);
    }

    void droppedPtyKeepsWhatWasSent_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<int>("limit");
        // The first reply already crosses the limit, while its command is being read.
        QTest::newRow("inside the first reply") << QByteArray("Q") << 5;
        QTest::newRow("inside a download") << QByteArray("A") << 1000;
    }
    void droppedPtyKeepsWhatWasSent()
    {
        QFETCH(QByteArray, command);
        QFETCH(int, limit);
        SimProcess sim({"--fault-drop-after", QString::number(limit), "--preload", "100"});
        QVERIFY(sim.start());
        SimClient c;
        QVERIFY(c.openPty(sim.ptyPath()));
        c.write(command);
        QThread::msleep(300);   // the drop has happened before anything is read
        QCOMPARE(c.drain(800).size(), limit);
        QVERIFY(c.closedByPeer());
        QVERIFY(!QFileInfo::exists(sim.ptyPath()));
        // The simulator lives on, with the line marked dropped.
        QVERIFY2(sim.isRunning(), qPrintable(sim.output()));
        const QJsonObject pty = sim.state().value("pty").toObject();
        QVERIFY(pty.value("dropped").toBool());
        QCOMPARE(pty.value("tx_bytes").toInt(), limit);
    }

    void pacingEmulatesTheBaudRate()
    {
        SimProcess sim({"--baud", "9600", "--preload", "10"});
        QVERIFY(sim.startTcp());
        SimClient c;
        QVERIFY(c.openTcp(sim.tcpPort()));
        QElapsedTimer t;
        t.start();
        c.write("A");
        const QByteArray all = c.drain(400);
        const double expectedMs = all.size() * 10 * 1000.0 / 9600;
        QVERIFY2(all.size() > 500, QByteArray::number(all.size()));
        QVERIFY(t.elapsed() - 400 >= expectedMs * 0.8);
    }

    void helpNamesEveryOption()
    {
        QProcess p;
        p.start(QStringLiteral(QUORVEL_SIM_PATH), {"--help"});
        QVERIFY(p.waitForFinished(5000));
        QCOMPARE(p.exitCode(), 0);
        const QString help = QString::fromLocal8Bit(p.readAllStandardOutput());
        for (const char* o : {"--pty", "--tcp", "--telnet", "--modem", "--baud", "--wake-idle", "--wire-log",
                              "--state-dump", "--name", "--model", "--channels", "--preload", "--speed",
                              "--fault-silent", "--fault-slow", "--fault-truncate", "--fault-garbage",
                              "--fault-drop-after", "--fault-at", "--dial-ms", "--dial-result", "--ati3"})
            QVERIFY2(help.contains(QLatin1String(o)), o);
        p.start(QStringLiteral(QUORVEL_SIM_PATH), {"--model", "7", "--pty", "/tmp/x"});
        QVERIFY(p.waitForFinished(5000));
        QCOMPARE(p.exitCode(), 2);
    }
};

QTEST_GUILESS_MAIN(TestSimLinks)
#include "tst_sim_links.moc"
