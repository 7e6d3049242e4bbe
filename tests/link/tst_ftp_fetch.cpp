// Fetching the address file from the simulator's FTP server: the account travels as
// options (any character works in a password), the server's refusals come back as the
// transfer library's own messages, and a server that never answers, or an operator who
// cancels, ends the wait. The address file's first field and its "OK" rule.
#include "data/address_file.h"
#include "data/ftp_fetch.h"
#include "support/sim_process.h"

#include <QElapsedTimer>
#include <QtTest>

class FtpFetchTest : public QObject {
    Q_OBJECT

    static FtpFetch::Request request(quint16 port, const QString& password)
    {
        FtpFetch::Request r;
        r.site = QStringLiteral("127.0.0.1:%1").arg(port);
        r.directory = QStringLiteral("station 7");
        r.fileName = AddressFile::fileName;
        r.user = QStringLiteral("office@example");
        r.password = password;
        r.connectTimeoutMs = 2000;
        r.totalTimeoutMs = 3000;
        return r;
    }

private slots:
    // A password with "@", ":" and "/" logs in; a wrong one gives the server's refusal;
    // the URL never holds the account.
    void theAccountTravelsAsOptions()
    {
        const QString password = QStringLiteral("p@ss:w/rd");
        SimProcess sim({"--ftp", "127.0.0.1:0", "--ftp-dir", "station 7",
                        "--ftp-account", "office@example:" + password, "--ftp-address", " 10.1.2.3 OK"});
        QVERIFY2(sim.startTcp(), qPrintable(sim.output()));
        QTRY_VERIFY(sim.ftpPort() != 0);
        const FtpFetch::Request good = request(sim.ftpPort(), password);
        QVERIFY(!FtpFetch::url(good).contains("office") && !FtpFetch::url(good).contains("p@ss"));

        const FtpFetch::Result fetched = FtpFetch::fetch(good);
        QVERIFY2(fetched.ok, qPrintable(fetched.error));
        QCOMPARE(fetched.data, QByteArray(" 10.1.2.3 OK,\r\n"));
        QCOMPARE(AddressFile::address(fetched.data), QStringLiteral("10.1.2.3"));

        const FtpFetch::Result refused = FtpFetch::fetch(request(sim.ftpPort(), QStringLiteral("wrong")));
        QVERIFY(!refused.ok);
        QVERIFY2(refused.error.contains(QStringLiteral("530")) || refused.error.contains(QStringLiteral("denied")),
                 qPrintable(refused.error));
        QVERIFY(!refused.error.contains(QStringLiteral("wrong")));

        // A line break in the account would start a command of its own: not sent at all.
        FtpFetch::Request injected = good;
        injected.password = password + QStringLiteral("\r\nDELE IPaddress.ip");
        const FtpFetch::Result refusedHere = FtpFetch::fetch(injected);
        QVERIFY(!refusedHere.ok);
        QCOMPARE(refusedHere.error, QStringLiteral("The password holds a control character."));

        FtpFetch::Request elsewhere = good;
        elsewhere.directory = QStringLiteral("station 8");
        QVERIFY(!FtpFetch::fetch(elsewhere).ok);
        QCOMPARE(sim.state().value("ftp").toObject().value("retrievals").toInt(), 1);
    }

    // A server that takes the connection and says nothing ends at the time-out; a
    // cancel ends the wait at once; a site that is not a host name is not tried.
    void noWaitWithoutEnd()
    {
        SimProcess sim({"--ftp", "127.0.0.1:0", "--fault-ftp-mute"});
        QVERIFY2(sim.startTcp(), qPrintable(sim.output()));
        QTRY_VERIFY(sim.ftpPort() != 0);
        FtpFetch::Request r = request(sim.ftpPort(), QStringLiteral("secret"));
        r.totalTimeoutMs = 800;
        QElapsedTimer clock;
        clock.start();
        const FtpFetch::Result silent = FtpFetch::fetch(r);
        QVERIFY(!silent.ok && !silent.error.isEmpty());
        QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));

        r.totalTimeoutMs = 60000;
        clock.restart();
        const FtpFetch::Result cancelled = FtpFetch::fetch(r, [&] { return clock.elapsed() > 300; });
        QVERIFY(cancelled.cancelled && !cancelled.ok);
        QVERIFY(clock.elapsed() < 2000);

        r.site = QStringLiteral("user:pw@evil.example/x");
        QVERIFY(FtpFetch::url(r).isEmpty());
        QVERIFY(!FtpFetch::fetch(r).ok);
    }

    void theAddressFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("usable");
        QTest::newRow("address OK") << QByteArray("93.40.1.2OK,17,\r\n") << "93.40.1.2" << true;
        QTest::newRow("blank before OK") << QByteArray("93.40.1.2 OK\r\n") << "93.40.1.2" << true;
        QTest::newRow("host name") << QByteArray("logger.example.netOK") << "logger.example.net" << true;
        QTest::newRow("IPv6") << QByteArray("2001:db8::1OK,") << "2001:db8::1" << true;
        QTest::newRow("OK alone") << QByteArray("OK,") << "" << false;
        QTest::newRow("no OK") << QByteArray("93.40.1.2,\r\n") << "" << false;
        QTest::newRow("OK on the second line") << QByteArray("93.40.1.2\r\nOK") << "" << false;
        QTest::newRow("not an address") << QByteArray("93.40.1.2; rm -rf /OK") << "93.40.1.2; rm -rf /" << false;
        QTest::newRow("empty file") << QByteArray() << "" << false;
        // Found by the fuzzer: the address parser read up to the first zero byte.
        // The address parser takes a sign before a number; no address is written so.
        QTest::newRow("signed number") << QByteArray("+92.168.1.20OK,\r") << "+92.168.1.20" << false;
        QTest::newRow("scoped IPv6") << QByteArray("fe80::1%eth0OK\r\n") << "fe80::1%eth0" << true;
        QTest::newRow("zeros inside") << QByteArray("93.4\0\0\0\0OK\r\n", 12) << QString::fromLatin1("93.4\0\0\0\0", 8) << false;
        QTest::newRow("control character in a scope") << QByteArray("fe80::1%eth0\x01OK") << "fe80::1%eth0\x01" << false;
    }
    void theAddressFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, address);
        QFETCH(bool, usable);
        QCOMPARE(AddressFile::address(content), address);
        QCOMPARE(AddressFile::problem(content).isEmpty(), usable);
    }
};

QTEST_GUILESS_MAIN(FtpFetchTest)
#include "tst_ftp_fetch.moc"
