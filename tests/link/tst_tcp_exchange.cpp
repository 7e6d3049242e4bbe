// The exchange path over the telnet client against a loopback server.
#include "link/modulo1.h"
#include "link/telnet_tty_client.h"
#include "support/link_reset.h"
#include "support/scripted_dialogs.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

using namespace Modulo1;

class TestTcpExchange : public QObject {
    Q_OBJECT

    ScriptedDialogs dialogs;
    QTcpServer server;
    TelnetTTYClient client;
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
        QSignalSpy connected(&client, &TelnetTTYClient::Connected);
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
        QVERIFY(Invia_Comando("d", "0,0,0,0,0,"));
        Pausa(100);
        QVERIFY(t.elapsed() < 100);  // Pausa does not wait on TCP
        QTRY_COMPARE(fromProgram, QByteArray("d0,0,0,0,0,"));
    }

    void fieldsArriveThroughTheTelnetClient()
    {
        QVERIFY(Invia_Comando("G", ","));
        peer->write("07,03,");
        QTimer::singleShot(100, this, [this] { peer->write("115,23,59,"); });
        QStringList fields;
        for (int i = 0; i < 5; ++i)
            fields << Leggi_Campo();
        QCOMPARE(fields, QStringList({"07", "03", "115", "23", "59"}));
    }

    void readUpToTerminatorWaitsForTheEnd()
    {
        // On TCP the read ends only when the text received so far ends with "S2".
        QVERIFY(Invia_Comando("H", ""));
        peer->write("abS2cd");
        QTimer::singleShot(150, this, [this] { peer->write("S2"); });
        QElapsedTimer t;
        t.start();
        QCOMPARE(Leggi_Fino_A("S2"), QStringLiteral("abS2cd"));
        QVERIFY(t.elapsed() >= 100);
        QCOMPARE(link().receive.peekAll(), QByteArray("abS2cd"));
    }

    void telnetCommandsNeverReachAField()
    {
        QVERIFY(Invia_Comando("Q", ""));
        peer->write(QByteArray("SIM") + QByteArray("\xff\xfd\x03", 3) + "01,");
        QCOMPARE(Leggi_Campo(), QStringLiteral("SIM01"));
        QTRY_VERIFY(fromProgram.contains(QByteArray("\xff\xfc\x03", 3)));
    }

    void closedPeerGivesTimeOuts()
    {
        peer->disconnectFromHost();
        QTRY_VERIFY(!client.isConnected());
        QVERIFY(!Invia_Comando("Q", ""));
        QCOMPARE(dialogs.shown.size(), 1);  // the send error is shown
        QCOMPARE(Leggi_Campo(), QStringLiteral("%%"));
    }

    void cleanupTestCase() { resetLink(); }
};

QTEST_GUILESS_MAIN(TestTcpExchange)
#include "tst_tcp_exchange.moc"
