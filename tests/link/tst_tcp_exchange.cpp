// The exchange path over the telnet client against a loopback server.
#include "link/exchange.h"
#include "link/telnet_client.h"
#include "support/link_reset.h"
#include "support/scripted_dialogs.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

using namespace Exchange;

class TestTcpExchange : public QObject {
    Q_OBJECT

    ScriptedDialogs dialogs;
    QTcpServer server;
    TelnetClient client;
    QTcpSocket* peer = nullptr;
    QByteArray fromProgram;

private slots:
    void initTestCase()
    {
        QVERIFY(server.listen(QHostAddress::LocalHost));
        resetLink();
        setTransports(nullptr, &client);
        takeOverLink(LinkKind::Tcp, true);
        link().fieldTimeoutMs = 400;
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
        QVERIFY(sendCommand("d", "0,0,0,0,0,"));
        pause(100);
        QVERIFY(t.elapsed() < 100);  // pause does not wait on TCP
        QTRY_COMPARE(fromProgram, QByteArray("d0,0,0,0,0,"));
    }

    void fieldsArriveThroughTheTelnetClient()
    {
        QVERIFY(sendCommand("G", ","));
        peer->write("07,03,");
        QTimer::singleShot(100, this, [this] { peer->write("115,23,59,"); });
        QStringList fields;
        for (int i = 0; i < 5; ++i)
            fields << readField();
        QCOMPARE(fields, QStringList({"07", "03", "115", "23", "59"}));
    }

    void readUpToTerminatorWaitsForTheEnd()
    {
        // On TCP the read ends only when the text received so far ends with "S2".
        QVERIFY(sendCommand("H", ""));
        peer->write("abS2cd");
        QTimer::singleShot(150, this, [this] { peer->write("S2"); });
        QElapsedTimer t;
        t.start();
        QCOMPARE(readUntil("S2"), QStringLiteral("abS2cd"));
        QVERIFY(t.elapsed() >= 100);
        QCOMPARE(link().receive.peekAll(), QByteArray("abS2cd"));
    }

    void telnetCommandsNeverReachAField()
    {
        QVERIFY(sendCommand("Q", ""));
        peer->write(QByteArray("SIM") + QByteArray("\xff\xfd\x03", 3) + "01,");
        QCOMPARE(readField(), QStringLiteral("SIM01"));
        QTRY_VERIFY(fromProgram.contains(QByteArray("\xff\xfc\x03", 3)));
    }

    void closedPeerGivesTimeOuts()
    {
        peer->disconnectFromHost();
        QTRY_VERIFY(!client.isConnected());
        QVERIFY(!sendCommand("Q", ""));
        QCOMPARE(dialogs.shown.size(), 1);  // the send error is shown
        QCOMPARE(readField(), QStringLiteral("%%"));
    }

    void cleanupTestCase() { resetLink(); }
};

QTEST_GUILESS_MAIN(TestTcpExchange)
#include "tst_tcp_exchange.moc"
