// The exchange path over the telnet client against a loopback server.
#include "link/link.h"
#include "link/telnet_client.h"
#include "support/test_link.h"
#include "support/scripted_dialogs.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include <memory>


class TestTcpExchange : public QObject {
    Q_OBJECT
    std::unique_ptr<TestLink> testLink;
    Link& line() { return testLink->link; }

    ScriptedDialogs dialogs;
    QTcpServer server;
    TelnetClient client;
    QTcpSocket* peer = nullptr;
    QByteArray fromProgram;

private slots:
    void initTestCase()
    {
        QVERIFY(server.listen(QHostAddress::LocalHost));
        testLink = std::make_unique<TestLink>(Link::Settings());
        line().setTransports(nullptr, &client);
        line().takeOver(Link::Kind::Tcp, true);
        setFieldTimeout(line(), 400);
        QSignalSpy connected(&client, &TelnetClient::Connected);
        client.Connect("127.0.0.1", server.serverPort());
        QVERIFY(server.waitForNewConnection(3000));
        peer = server.nextPendingConnection();
        connect(peer, &QTcpSocket::readyRead, this, [this] { fromProgram += peer->readAll(); });
        QTRY_VERIFY(connected.count() == 1);
    }
    void init() { fromProgram.clear(); }

    void commandAndValuesGoAsOneBlockWithoutPauses()
    {
        QElapsedTimer t;
        t.start();
        QVERIFY(line().sendCommand("d", "0,0,0,0,0,"));
        line().pause(300);
        QVERIFY(t.elapsed() < 1000);  // pause does not wait on TCP
        QTRY_COMPARE(fromProgram, QByteArray("d0,0,0,0,0,"));
    }

    void fieldsArriveThroughTheTelnetClient()
    {
        QVERIFY(line().sendCommand("G", ","));
        peer->write("07,03,");
        QTimer::singleShot(100, this, [this] { peer->write("115,23,59,"); });
        QStringList fields;
        for (int i = 0; i < 5; ++i)
            fields << line().readField();
        QCOMPARE(fields, QStringList({"07", "03", "115", "23", "59"}));
    }

    void readUpToTerminatorWaitsForTheEnd()
    {
        // On TCP the read ends only when the text received so far ends with "S2".
        QVERIFY(line().sendCommand("H", ""));
        peer->write("abS2cd");
        QTimer::singleShot(150, this, [this] { peer->write("S2"); });
        QElapsedTimer t;
        t.start();
        QCOMPARE(line().readUntil("S2"), QStringLiteral("abS2cd"));
        QVERIFY(t.elapsed() >= 100);
        QCOMPARE(line().unread(), QByteArray("abS2cd"));
    }

    void telnetCommandsNeverReachAField()
    {
        QVERIFY(line().sendCommand("Q", ""));
        peer->write(QByteArray("SIM") + QByteArray("\xff\xfd\x03", 3) + "01,");
        QCOMPARE(line().readField(), QStringLiteral("SIM01"));
        QTRY_VERIFY(fromProgram.contains(QByteArray("\xff\xfc\x03", 3)));
    }

    void closedPeerGivesTimeOuts()
    {
        peer->disconnectFromHost();
        QTRY_VERIFY(!client.isConnected());
        // The send fails because the peer went: that is told once, as the loss.
        QVERIFY(!line().sendCommand("Q", ""));
        QCOMPARE(line().readField(), QStringLiteral("%%"));
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown[0].title, QStringLiteral("Connection lost"));
    }

    void cleanupTestCase() { testLink.reset(); }
};

QTEST_GUILESS_MAIN(TestTcpExchange)
#include "tst_tcp_exchange.moc"
