// The exchange path on a real pseudo-terminal: pacing, field reads, time-outs, the probe.
#include "link/link.h"
#include "data/com_ports.h"
#include "data/program_folder.h"
#include "link/serial_port.h"
#include "support/test_link.h"
#include "support/pty_peer.h"
#include "support/scripted_dialogs.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>


class TestSerialExchange : public QObject {
    Q_OBJECT
    std::unique_ptr<TestLink> testLink;
    Link& line() { return testLink->link; }

    QTemporaryDir folder;
    std::unique_ptr<PtyPeer> peer;
    std::unique_ptr<SerialPort> port;
    ScriptedDialogs dialogs;

    void pointCom1At(const QString& device)
    {
        QFile ini(folder.filePath("comports.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(device.toUtf8() + "\n");
    }

private slots:
    void init()
    {
        peer = std::make_unique<PtyPeer>();
        QVERIFY(peer->isValid());
        pointCom1At(peer->slavePath());
        port = std::make_unique<SerialPort>();
        port->setPortNames(ComPorts::names(folder.path()));
        testLink = std::make_unique<TestLink>(Link::Settings());
        line().setTransports(port.get(), nullptr);
        setFieldTimeout(line(), 400);
        tune(line(), [&](Link::Settings& s) { s.fixedWaitTimeoutMs = 400; });
                port->setPortNumber(1);
        port->setSettings("57600,N,8,1");
        QVERIFY(port->open());
        line().setPortHeldOpen(true);
    }
    void cleanup()
    {
        testLink.reset();
        port.reset();
        peer.reset();
        dialogs.shown.clear();
    }

    void valuesArePacedOneCharacterPerWrite()
    {
        QVERIFY(line().sendCommand("G", ","));
        QVERIFY(line().sendCommand("d", "0,0,0,0,0,"));
        QVERIFY(peer->waitForBytes(13, 2000));
        QCOMPARE(peer->received(), QByteArray("G,d0,0,0,0,0,"));
        // Arrival time of every byte. Each values character is followed by >= 10 ms; a
        // late wake-up of the reading side can stamp two bytes together, so one gap may
        // look short, every other gap must show a clear pause, and the span of the gaps
        // must add up to the full pauses.
        QList<qint64> at;
        for (const auto& c : peer->chunks())
            for (int i = 0; i < c.bytes.size(); ++i)
                at << c.tUs;
        QCOMPARE(at.size(), 13);
        QStringList shortGaps;
        for (int i = 1; i < 12; ++i) {
            if (i == 2)
                continue;  // "d" comes at once after its command letter
            if (at[i + 1] - at[i] < 5000)
                shortGaps << QString("after byte %1: %2 us").arg(i).arg(at[i + 1] - at[i]);
        }
        QVERIFY2(shortGaps.size() <= 1, qPrintable(shortGaps.join(", ")));
        QVERIFY2(at[12] - at[1] >= 10 * 10000 - 1000, qPrintable(QString("span %1 us").arg(at[12] - at[1])));
    }

    void commandTextGoesInOneWrite()
    {
        // Pauses stretched so that a single one would last a second.
        setPausePercent(line(), 10000);
        QElapsedTimer t;
        t.start();
        QVERIFY(line().sendCommand("<1,", ""));
        QVERIFY(t.elapsed() < 1000);  // no values, no pause
        QVERIFY(peer->waitForBytes(3, 1000));
        QCOMPARE(peer->chunks().first().bytes, QByteArray("<1,"));
    }

    void fieldsAcrossChunks()
    {
        // Split over several chunks, two fields in one chunk, a leading empty field.
        peer->replyTo(",", QByteArray(",12"));
        peer->writeLater(150, "3,45,");
        setFieldTimeout(line(), 3000);
        QVERIFY(line().sendCommand("Q", ","));
        QCOMPARE(line().readField(), QString());
        QCOMPARE(line().readField(), QStringLiteral("123"));
        // The field is in hand already: no wait, which nothing would end but the time-out.
        QElapsedTimer t;
        t.start();
        QCOMPARE(line().readField(), QStringLiteral("45"));
        QVERIFY(t.elapsed() < 1000);
        QCOMPARE(line().lastReply(), QStringLiteral("45"));
    }

    void timeOutKeepsThePartialText()
    {
        peer->replyTo("Q", "abc");
        QVERIFY(line().sendCommand("Q", ""));
        QElapsedTimer t;
        t.start();
        QCOMPARE(line().readField(), QStringLiteral("%%"));
        QVERIFY(t.elapsed() >= 400 && t.elapsed() < 1500);
        QCOMPARE(line().unread(), QByteArray("abc"));
        QCOMPARE(line().lastReply(), QStringLiteral("%%"));
        // The next send empties it.
        QVERIFY(line().sendCommand("Q", ""));
        QVERIFY(line().unread().isEmpty());
    }

    void staleInputIsDiscardedBeforeSending()
    {
        peer->write("old,");
        QTest::qWait(50);
        peer->replyTo("O", "1,");
        QVERIFY(line().sendCommand("O", ""));
        QCOMPARE(line().readField(), QStringLiteral("1"));
    }

    void readUpToTerminatorOnSerial()
    {
        peer->replyTo("S", "data lineS2moreS2");
        QVERIFY(line().sendCommand("S", ""));
        QCOMPARE(line().readUntil("S2"), QStringLiteral("data line"));
        QVERIFY(line().unread().isEmpty());
        // A terminator split across two arrivals is still found.
        peer->replyTo("T", "xyzS");
        peer->writeLater(120, "2");
        QVERIFY(line().sendCommand("T", ""));
        QCOMPARE(line().readUntil("S2"), QStringLiteral("xyz"));
        QCOMPARE(line().readUntil("S2"), QStringLiteral("%%"));
    }

    void babblingLineEndsTheRead()
    {
        setFieldTimeout(line(), 20000);
        tune(line(), [&](Link::Settings& s) { s.maxFieldBytes = 64 * 1024; });
        peer->replyTo("A", QByteArray(100 * 1024, 'x'));
        QVERIFY(line().sendCommand("A", ""));
        QElapsedTimer t;
        t.start();
        QCOMPARE(line().readField(), QStringLiteral("%%"));
        QVERIFY(t.elapsed() < 5000);
        QVERIFY(line().unread().size() <= 64 * 1024);
    }

    void noSecondExchangeFromAnEventInsideAWait()
    {
        bool nestedSent = true;
        QString nestedRead;
        QTimer::singleShot(100, [&] {
            QVERIFY(line().busy());
            nestedSent = line().sendCommand("Z", ",");
            nestedRead = line().readField();
        });
        peer->replyTo("G", "");
        peer->writeLater(300, "7,");
        QVERIFY(line().sendCommand("G", ","));
        QCOMPARE(line().readField(), QStringLiteral("7"));
        QVERIFY(!nestedSent);
        QCOMPARE(nestedRead, QStringLiteral("%%"));
        QVERIFY(!peer->received().contains('Z'));
        QVERIFY(!line().busy());
    }

    // A line that babbles while no exchange runs: the port keeps a bounded amount and
    // the rest waits in the driver, so the memory stays flat.
    void idleInputIsBounded()
    {
        peer->writeLater(0, QByteArray(16 * 1024 * 1024, 'x'));
        QTest::qWait(1500);
        QVERIFY2(port->heldBytes() <= SerialPort::IdleInputLimit + 64 * 1024,
                 qPrintable(QString::number(port->heldBytes())));
        QVERIFY(port->heldBytes() > 0);
    }

    void fixedLengthReplies()
    {
        peer->replyTo("D", "12345678901234567890extra");
        const QString r = line().sendAndCollectOnPort("D", 20);
        QVERIFY(r.startsWith("12345678901234567890"));
        // The wait is bounded: it returns what arrived.
        peer->replyTo("ATI3", "short");
        QElapsedTimer t;
        t.start();
        QCOMPARE(line().sendAndCollect("ATI3", 40), QStringLiteral("short"));
        QVERIFY(t.elapsed() >= 400 && t.elapsed() < 1500);
    }

    void pauseIsAtLeastItsLength()
    {
        QElapsedTimer t;
        t.start();
        line().pause(100);
        QVERIFY(t.elapsed() >= 1000);
        QVERIFY(t.elapsed() < 2000);
    }

    void commandsWithThePortNotHeldOpen()
    {
        port->close();
        line().setPortHeldOpen(false);
        peer->replyTo("E", "01500,");
        QVERIFY(line().sendCommand("E", ","));
        QVERIFY(!port->isOpen());  // closed again after the send
        QVERIFY(peer->waitForBytes(2, 1000));
        QCOMPARE(peer->received(), QByteArray("E,"));
    }

    void probeAnswered()
    {
        port->close();
        tune(line(), [&](Link::Settings& s) { s.probeSettleMs = 300; });
        peer->replyTo("V", "V");  // one character counts as an answer
        QElapsedTimer t;
        t.start();
        QCOMPARE(line().probeSerialPort(1, false), 1);
        QVERIFY(t.elapsed() >= 300 + 1000);
        QVERIFY(line().portHeldOpen());
        QVERIFY(port->isOpen());
        QCOMPARE(port->settings(), QStringLiteral("57600,N,8,1"));
        QVERIFY(peer->received().endsWith("V"));
    }

    void probeOfASilentPortTakesAlittleMoreThanFiveSeconds()
    {
        port->close();
        QElapsedTimer t;
        t.start();
        QCOMPARE(line().probeSerialPort(1, true), 0);
        QVERIFY2(t.elapsed() >= 5000 && t.elapsed() < 5600, qPrintable(QString::number(t.elapsed())));
        QCOMPARE(port->settings(), QStringLiteral("9600,N,8,1"));
        QVERIFY(port->isOpen());  // left open whatever the outcome
        QVERIFY(dialogs.shown.isEmpty());
        // Probing again on the port left open works.
        tune(line(), [&](Link::Settings& s) { s.probeSettleMs = 100; });
        peer->replyTo("V", "ok");
        QCOMPARE(line().probeSerialPort(1, true), 1);
    }

    void probeOfAMissingDeviceShowsTheError()
    {
        pointCom1At(folder.filePath("no-such-device"));
        QCOMPARE(line().probeSerialPort(1, false), 0);
        QCOMPARE(dialogs.shown.size(), 1);
        QVERIFY(!dialogs.shown.first().text.isEmpty());
        QVERIFY(line().portHeldOpen());
    }
};

QTEST_GUILESS_MAIN(TestSerialExchange)
#include "tst_serial_exchange.moc"
