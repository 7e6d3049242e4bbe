// Integration tests of the telnet client against a real TCP server on loopback: data and
// events, negotiation on the wire, cut commands, closes, floods, a host that requests
// without end and never reads, and send errors.
#include "support/byte_list.h"
#include "link/telnet_parser.h"
#include "link/telnet_client.h"
#include "support/peak_memory.h"
#include "support/scripted_dialogs.h"

#include <QDeadlineTimer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <cerrno>
#include <memory>

using namespace Telnet;

namespace {

// Takes data from the client, as the exchange's reads do, until n bytes or 10 s.
QByteArray takeAtLeast(TelnetClient& c, qsizetype n)
{
    QByteArray got;
    for (QDeadlineTimer t(10000); got.size() < n && !t.hasExpired(); QTest::qWait(5))
        got += c.GetData();
    return got + c.GetData();
}

int failingOption(qintptr) { return EPERM; }

} // namespace

class TelnetClientTest : public QObject {
    Q_OBJECT

    QTcpServer server;
    std::unique_ptr<QTcpSocket> host; // the host's side of the connection
    QByteArray got;                   // what the client wrote to the host

    bool open(TelnetClient& c)
    {
        QSignalSpy connected(&c, &TelnetClient::Connected);
        c.Connect("127.0.0.1", server.serverPort());
        if (!server.waitForNewConnection(5000))
            return false;
        got.clear();
        host.reset(server.nextPendingConnection());
        connect(host.get(), &QIODevice::readyRead, this, [this] { got += host->readAll(); });
        return connected.count() == 1 || connected.wait(5000);
    }
    void send(const QByteArray& b) { host->write(b), host->flush(); }

private slots:
    void initTestCase() { QVERIFY(server.listen(QHostAddress::LocalHost, 0)); }

    void plainDataRaisesOneArrivalEach()
    {
        TelnetClient c;
        c.setLocalPort(1024);
        QVERIFY(open(c));
        QCOMPARE(c.RemoteHostIP(), QString("127.0.0.1"));
        QSignalSpy arrivals(&c, &TelnetClient::DataArrival);
        for (const QByteArray field : {"12.50,", "7,"}) {
            const int before = arrivals.count();
            send(field);
            QVERIFY(arrivals.wait(5000));
            QTest::qWait(30);
            QCOMPARE(arrivals.count(), before + 1);
            QCOMPARE(c.GetData(), field);
            QCOMPARE(c.GetData(), QByteArray());
        }
    }

    void negotiationOnTheWire()
    {
        TelnetClient c;
        QVERIFY(open(c));
        QSignalSpy errors(&c, &TelnetClient::Error);
        send("ab" + bytes({IAC, DO, 3}) + "cd" + bytes({IAC, WILL, ECHO}));
        QTRY_COMPARE(got, bytes({IAC, WONT, 3})); // and nothing for the unasked ECHO
        QCOMPARE(c.GetData(), QByteArray("abcd"));
        QCOMPARE(errors.count(), 1);
        QCOMPARE(errors[0][0].value<qint32>(), qint32(0x80040401u));
        QCOMPARE(errors[0][1].toString(), QString("Unexpected WILL ECHO"));
        QVERIFY(c.isConnected());

        got.clear();
        send(bytes({IAC, DO, TERMINAL_TYPE}));
        QTRY_COMPARE(got, bytes({IAC, WONT, TERMINAL_TYPE}));
        c.setTermType("VT100|ANSI");
        got.clear();
        send(bytes({IAC, DO, TERMINAL_TYPE}));
        QTRY_COMPARE(got, bytes({IAC, WILL, TERMINAL_TYPE}));
        for (const char* type : {"VT100", "ANSI", "ANSI", "VT100"}) {
            got.clear();
            send(bytes({IAC, SB, TERMINAL_TYPE, SEND, IAC, SE}));
            QTRY_COMPARE(got, bytes({IAC, SB, TERMINAL_TYPE, IS}) + type + bytes({IAC, SE}));
        }
        c.Disconnect();
        QCOMPARE(c.TermType(), QString("VT100|ANSI"));
    }

    void echoStormRaisesOneErrorPerConnection()
    {
        QByteArray storm;
        for (int i = 0; i < 1000; ++i)
            storm += bytes({IAC, WILL, ECHO});
        TelnetClient c;
        QSignalSpy errors(&c, &TelnetClient::Error);
        for (int connection = 1; connection <= 2; ++connection) {
            QVERIFY(open(c));
            send(storm + "end,");
            QCOMPARE(takeAtLeast(c, 4), QByteArray("end,"));
            QCOMPARE(errors.count(), connection);
            QCOMPARE(errors.last()[1].toString(), QString("Unexpected WILL ECHO"));
            QCOMPARE(got, QByteArray()); // an answer about ECHO is never answered
        }
    }

    // A host that sends option requests in a loop and never reads: each option is
    // answered once, the terminal-type requests (answered each time) stop being answered
    // once the unsent answers reach their bound, and the process does not grow.
    void negotiationStormFromAHostThatNeverReads()
    {
        TelnetClient c;
        QVERIFY(open(c));
        host->disconnect(this);
        host->setReadBufferSize(1024);  // what the kernel holds for it stays there
        const qint64 peakBefore = peakResidentBytes();
        QByteArray chunk;
        const QByteArray request = bytes({IAC, DO, 3, IAC, WILL, 5, IAC, SB, TERMINAL_TYPE, SEND, IAC, SE});
        while (chunk.size() + request.size() <= 64 * 1024)
            chunk += request;
        const int chunks = 1000;  // more than 5 million of each request
        int sent = 0;
        qint64 mostUnsent = 0;
        const auto more = [&] {
            mostUnsent = qMax(mostUnsent, c.unsentBytes());
            while (sent < chunks && host->bytesToWrite() < chunk.size()) {
                host->write(chunk);
                ++sent;
            }
        };
        connect(host.get(), &QIODevice::bytesWritten, this, more);
        more();
        QTRY_VERIFY_WITH_TIMEOUT(sent == chunks && host->bytesToWrite() == 0, 120000);
        send("end,");
        QCOMPARE(takeAtLeast(c, 4), QByteArray("end,"));
        mostUnsent = qMax(mostUnsent, c.unsentBytes());
        const double grewMb = peakGrowthMb(peakBefore);
        qInfo("storm of %lld bytes: at most %lld answer bytes unsent; peak memory grew %.1f MB",
              qint64(chunks) * chunk.size(), mostUnsent, grewMb);
        QVERIFY2(mostUnsent <= TelnetClient::UnsentAnswerLimit, qPrintable(QString::number(mostUnsent)));
        QVERIFY2(grewMb < 64, qPrintable(QString::number(grewMb)));
        QVERIFY(c.isConnected());

        // What reached the host: the first answers, byte for byte, and no second one.
        host->setReadBufferSize(0);
        QByteArray answers;
        while (host->waitForReadyRead(300))
            answers += host->readAll();
        answers += host->readAll();
        QVERIFY(answers.startsWith(bytes({IAC, WONT, 3, IAC, DONT, 5, IAC, SB, TERMINAL_TYPE, IS}) + "UNKNOWN"));
        QCOMPARE(answers.count(bytes({IAC, WONT, 3})), 1);
        QCOMPARE(answers.count(bytes({IAC, DONT, 5})), 1);
    }

    void commandCutBetweenArrivalsIsCompleted()
    {
        TelnetClient c;
        QVERIFY(open(c));
        send("12," + bytes({IAC, DO}));
        QCOMPARE(takeAtLeast(c, 3), QByteArray("12,")); // the data before it is not held
        send(bytes({3}) + "34,");
        QTRY_COMPARE(got, bytes({IAC, WONT, 3}));
        QCOMPARE(takeAtLeast(c, 3), QByteArray("34,"));
    }

    void hostClosingMidCommand()
    {
        TelnetClient c;
        c.setTermType("VT100");
        QVERIFY(open(c));
        QSignalSpy closed(&c, &TelnetClient::Closed);
        QSignalSpy errors(&c, &TelnetClient::Error);
        send("ab" + bytes({IAC, SB, TERMINAL_TYPE}));
        host->disconnectFromHost();
        QVERIFY(closed.wait(5000));
        QCOMPARE(c.GetData(), QByteArray("ab"));
        QCOMPARE(errors.count(), 0);
        QVERIFY(!c.isConnected());

        // The next connection does not finish the command the old one left open.
        QVERIFY(open(c));
        send(bytes({SEND, IAC, SE}) + "z");
        QCOMPARE(takeAtLeast(c, 2), bytes({SEND}) + "z");
        QCOMPARE(got, QByteArray());
    }

    void disconnectKeepsDataAndDeliversTheLastWrite()
    {
        TelnetClient c;
        QVERIFY(open(c));
        QSignalSpy closed(&c, &TelnetClient::Closed);
        QSignalSpy arrivals(&c, &TelnetClient::DataArrival);
        send("zz,");
        QVERIFY(arrivals.wait(5000));
        QVERIFY(c.SendData(QByteArray("Q,") + char(IAC)));
        c.Disconnect();
        QCOMPARE(c.LocalPort(), 0);
        QTRY_COMPARE(got, QByteArray("Q,") + char(IAC)); // unchanged, and not lost
        QTRY_COMPARE(host->state(), QAbstractSocket::UnconnectedState);
        QCOMPARE(closed.count(), 0);
        QCOMPARE(c.GetData(), QByteArray("zz,"));
    }

    void failuresAreReported()
    {
        ScriptedDialogs dialogs;
        TelnetClient c;
        // The client shows nothing itself: its caller decides what the operator sees.
        QVERIFY(!c.SendData("G,"));
        QCOMPARE(c.sendError(), QStringLiteral("Socket is not connected"));
        QVERIFY(dialogs.shown.isEmpty());

        TelnetClient refused(nullptr, failingOption);
        QSignalSpy errors(&refused, &TelnetClient::Error);
        refused.Connect("127.0.0.1", server.serverPort());
        QCOMPARE(errors.count(), 1);
        QCOMPARE(errors[0][0].value<qint32>(), qint32(EPERM));
        QCOMPARE(errors[0][1].toString(), QString("Error setting SO_OOBINLINE socket option"));
        QVERIFY(!server.waitForNewConnection(200)); // no connection was tried
    }

    void floodIsHeldBackNotLost()
    {
        TelnetClient c;
        QVERIFY(open(c));
        QByteArray flood(3 * TelnetParser::DataLimit + 12345, Qt::Uninitialized);
        for (qsizetype i = 0; i < flood.size(); ++i)
            flood[i] = char(i % 251);
        send(flood);
        QTest::qWait(300); // the owner is busy elsewhere and takes nothing
        QByteArray received = c.GetData();
        QVERIFY(received.size() <= TelnetParser::DataLimit);
        received += takeAtLeast(c, flood.size() - received.size());
        QVERIFY(received == flood);
    }
};

QTEST_GUILESS_MAIN(TelnetClientTest)
#include "tst_telnet_client.moc"
