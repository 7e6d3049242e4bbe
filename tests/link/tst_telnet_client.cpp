// Integration tests of the telnet client against a real TCP server on loopback: data and
// events, negotiation on the wire, cut commands, closes, urgent data, floods, send errors.
#include "link/telnet_parser.h"
#include "link/telnet_tty_client.h"
#include "support/scripted_dialogs.h"

#include <QDeadlineTimer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <cerrno>
#include <memory>
#include <sys/socket.h>

using namespace Telnet;

namespace {

QByteArray bytes(std::initializer_list<int> list)
{
    QByteArray b;
    for (int v : list)
        b.append(char(v));
    return b;
}

// The host side: accepts one connection and records what the client writes.
class Host {
public:
    Host() { QVERIFY(server.listen(QHostAddress::LocalHost, 0)); }
    quint16 port() const { return server.serverPort(); }

    bool accept()
    {
        if (!server.hasPendingConnections() && !server.waitForNewConnection(5000))
            return false;
        peer.reset(server.nextPendingConnection());
        QObject::connect(peer.get(), &QIODevice::readyRead, [this] { got += peer->readAll(); });
        return true;
    }
    void send(const QByteArray& b)
    {
        peer->write(b);
        peer->flush();
    }

    QTcpServer server;
    std::unique_ptr<QTcpSocket> peer;
    QByteArray got;
};

int failingOption(qintptr) { return EPERM; }

// Takes data from the client, as the exchange's reads do, until n bytes or 10 s.
QByteArray takeAtLeast(TelnetTTYClient& c, qsizetype n)
{
    QByteArray got;
    QDeadlineTimer deadline(10000);
    while (got.size() < n && !deadline.hasExpired()) {
        got += c.GetData();
        QTest::qWait(5);
    }
    return got + c.GetData();
}

} // namespace

class TelnetClientTest : public QObject {
    Q_OBJECT

    // Connects the client to the host and waits until both sides see the connection.
    bool open(TelnetTTYClient& c, Host& h)
    {
        QSignalSpy connected(&c, &TelnetTTYClient::Connected);
        c.Connect("127.0.0.1", h.port());
        return h.accept() && (connected.count() == 1 || connected.wait(5000));
    }

private slots:
    void plainDataRaisesOneArrivalEach()
    {
        Host h;
        TelnetTTYClient c;
        c.setLocalPort(1024);
        QVERIFY(open(c, h));
        QVERIFY(c.isConnected());
        QCOMPARE(c.RemoteHostIP(), QString("127.0.0.1"));
        QCOMPARE(c.RemotePort(), int(h.port()));
        QVERIFY(c.LocalPort() != 1024);

        QSignalSpy arrivals(&c, &TelnetTTYClient::DataArrival);
        h.send("12.50,");
        QVERIFY(arrivals.wait(5000));
        QTest::qWait(50);
        QCOMPARE(arrivals.count(), 1);
        QCOMPARE(c.GetData(), QByteArray("12.50,"));
        QCOMPARE(c.GetData(), QByteArray());
        h.send("7,");
        QVERIFY(arrivals.wait(5000));
        QCOMPARE(arrivals.count(), 2);
        QCOMPARE(c.GetData(), QByteArray("7,"));
    }

    void optionInMidDataIsRefusedOnTheWire()
    {
        Host h;
        TelnetTTYClient c;
        QVERIFY(open(c, h));
        QSignalSpy arrivals(&c, &TelnetTTYClient::DataArrival);
        h.send("ab" + bytes({IAC, DO, 3}) + "cd");
        QTRY_COMPARE(h.got, bytes({IAC, WONT, 3}));
        QCOMPARE(arrivals.count(), 1);
        QCOMPARE(c.GetData(), QByteArray("abcd"));
    }

    void unexpectedWillEchoIsAnErrorWithoutAnswer()
    {
        Host h;
        TelnetTTYClient c;
        QVERIFY(open(c, h));
        QSignalSpy errors(&c, &TelnetTTYClient::Error);
        h.send(bytes({IAC, WILL, ECHO}) + "x");
        QVERIFY(errors.wait(5000));
        QCOMPARE(errors.at(0).at(0).value<qint32>(), qint32(0x80040401u));
        QCOMPARE(errors.at(0).at(1).toString(), QString("Unexpected WILL ECHO"));
        QTest::qWait(100);
        QCOMPARE(h.got, QByteArray());
        QVERIFY(c.isConnected());
        QCOMPARE(c.GetData(), QByteArray("x"));
    }

    void terminalTypeNegotiation()
    {
        Host h;
        TelnetTTYClient c;
        QVERIFY(open(c, h));
        h.send(bytes({IAC, DO, TERMINAL_TYPE}));
        QTRY_COMPARE(h.got, bytes({IAC, WONT, TERMINAL_TYPE}));

        h.got.clear();
        c.setTermType("VT100|ANSI");
        h.send(bytes({IAC, DO, TERMINAL_TYPE}));
        QTRY_COMPARE(h.got, bytes({IAC, WILL, TERMINAL_TYPE}));
        const QByteArray request = bytes({IAC, SB, TERMINAL_TYPE, SEND, IAC, SE});
        for (const char* type : {"VT100", "ANSI", "ANSI", "VT100"}) {
            h.got.clear();
            h.send(request);
            QTRY_COMPARE(h.got, bytes({IAC, SB, TERMINAL_TYPE, IS}) + type + bytes({IAC, SE}));
            QCOMPARE(c.TermType(), QString(type));
        }
        c.Disconnect();
        QCOMPARE(c.TermType(), QString("VT100|ANSI"));
    }

    void commandCutBetweenArrivalsIsCompleted_data()
    {
        QTest::addColumn<int>("cut");
        QTest::newRow("after IAC") << 3;
        QTest::newRow("after verb") << 4;
    }
    void commandCutBetweenArrivalsIsCompleted()
    {
        QFETCH(int, cut);
        const QByteArray stream = "12," + bytes({IAC, DO, 3}) + "34,";
        Host h;
        TelnetTTYClient c;
        QVERIFY(open(c, h));
        QSignalSpy arrivals(&c, &TelnetTTYClient::DataArrival);
        h.send(stream.left(cut));
        QVERIFY(arrivals.wait(5000));
        QCOMPARE(c.GetData(), QByteArray("12,"));
        h.send(stream.mid(cut));
        QTRY_COMPARE(h.got, bytes({IAC, WONT, 3}));
        QCOMPARE(takeAtLeast(c, 3), QByteArray("34,"));
    }

    void hostClosingMidCommand()
    {
        Host h;
        TelnetTTYClient c;
        c.setTermType("VT100");
        QVERIFY(open(c, h));
        QSignalSpy closed(&c, &TelnetTTYClient::Closed);
        QSignalSpy errors(&c, &TelnetTTYClient::Error);
        h.send("ab" + bytes({IAC, SB, TERMINAL_TYPE}));
        h.peer->disconnectFromHost();
        QVERIFY(closed.wait(5000));
        QCOMPARE(c.GetData(), QByteArray("ab"));
        QCOMPARE(errors.count(), 0);
        QVERIFY(!c.isConnected());

        // A new connection does not finish the command the old one left open.
        QVERIFY(open(c, h));
        h.send(bytes({SEND, IAC, SE}) + "z");
        QCOMPARE(takeAtLeast(c, 2), bytes({SEND}) + "z");
        QTest::qWait(50);
        QCOMPARE(h.got, QByteArray());
    }

    void disconnectKeepsDataAndDeliversLastWrite()
    {
        Host h;
        TelnetTTYClient c;
        QVERIFY(open(c, h));
        QSignalSpy closed(&c, &TelnetTTYClient::Closed);
        QSignalSpy arrivals(&c, &TelnetTTYClient::DataArrival);
        h.send("zz,");
        QVERIFY(arrivals.wait(5000));
        QVERIFY(c.SendData(QByteArray("Q,") + char(IAC)));
        c.Disconnect();
        QVERIFY(!c.isConnected());
        QCOMPARE(c.LocalPort(), 0);
        QTRY_COMPARE(h.got, QByteArray("Q,") + char(IAC)); // sent unchanged, not lost
        QTRY_COMPARE(h.peer->state(), QAbstractSocket::UnconnectedState);
        QCOMPARE(closed.count(), 0);
        QCOMPARE(c.GetData(), QByteArray("zz,"));
    }

    void sendWithoutConnectionShowsTheError()
    {
        ScriptedDialogs dialogs;
        TelnetTTYClient c;
        QVERIFY(!c.SendData("G,"));
        QCOMPARE(dialogs.shown.size(), 1);
        QVERIFY(!dialogs.shown[0].text.isEmpty());
    }

    void refusedConnectionIsAnError()
    {
        quint16 port;
        {
            Host gone;
            port = gone.port();
        }
        TelnetTTYClient c;
        QSignalSpy errors(&c, &TelnetTTYClient::Error);
        QSignalSpy connected(&c, &TelnetTTYClient::Connected);
        c.Connect("127.0.0.1", port);
        QVERIFY(errors.wait(5000));
        QCOMPARE(errors.at(0).at(0).value<qint32>(), qint32(QAbstractSocket::ConnectionRefusedError));
        QVERIFY(!errors.at(0).at(1).toString().isEmpty());
        QCOMPARE(connected.count(), 0);
    }

    void optionFailureStopsTheConnection()
    {
        Host h;
        TelnetTTYClient c;
        QSignalSpy errors(&c, &TelnetTTYClient::Error);
        setTelnetSocketOptionSetter(failingOption);
        c.Connect("127.0.0.1", h.port());
        setTelnetSocketOptionSetter(nullptr);
        QCOMPARE(errors.count(), 1);
        QCOMPARE(errors.at(0).at(0).value<qint32>(), qint32(EPERM));
        QCOMPARE(errors.at(0).at(1).toString(), QString("Error setting SO_OOBINLINE socket option"));
        QVERIFY(!h.server.waitForNewConnection(200));
        QVERIFY(!c.isConnected());
    }

    void urgentDataStaysInTheStream()
    {
        Host h;
        TelnetTTYClient c;
        QVERIFY(open(c, h));
        h.send("ab");
        QCOMPARE(::send(int(h.peer->socketDescriptor()), "X", 1, MSG_OOB), ssize_t(1));
        QCOMPARE(takeAtLeast(c, 3), QByteArray("abX"));
    }

    void floodIsHeldBackNotLost()
    {
        Host h;
        TelnetTTYClient c;
        QVERIFY(open(c, h));
        QByteArray flood(3 * TelnetParser::DataLimit + 12345, Qt::Uninitialized);
        for (qsizetype i = 0; i < flood.size(); ++i)
            flood[i] = char(i % 251);
        h.send(flood);
        QTest::qWait(300); // the owner is busy elsewhere and takes nothing
        QByteArray got = c.GetData();
        QVERIFY(got.size() <= TelnetParser::DataLimit);
        got += takeAtLeast(c, flood.size() - got.size());
        QCOMPARE(got.size(), flood.size());
        QVERIFY(got == flood);
    }
};

QTEST_GUILESS_MAIN(TelnetClientTest)
#include "tst_telnet_client.moc"
