// The health reads and the clock write over a scripted transport: what goes on the wire,
// the values taken from the fields, and how each exchange ended.
#include "link/link.h"
#include "protocol/health.h"
#include "support/fake_transport.h"

#include <QtTest>

#include <memory>

using Health::Outcome;

class HealthReadsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Link> link;
    std::unique_ptr<FakeTransport> port;

    // The datalogger answers the command letter with reply once its values are in.
    void answer(const QByteArray& letter, const QByteArray& reply, bool takesComma = true)
    {
        port->responder = [this, letter, reply, takesComma](const QByteArray& w) -> QByteArray {
            if (w == letter && !takesComma)
                return reply;
            return takesComma && w == "," && port->written.endsWith(letter + ",") ? reply : QByteArray();
        };
    }

private slots:
    void init()
    {
        Link::Settings s;
        s.fieldTimeoutMs = 300;
        s.pausePercent = 0;
        link = std::make_unique<Link>(s);
        port = std::make_unique<FakeTransport>();
        link->takeOver(port.get(), true);
    }
    void cleanup()
    {
        link.reset();
        port.reset();
    }

    void clockRead_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QDateTime>("time");
        QTest::newRow("four-digit year") << QByteArray("08,12,2026,10,30,") << QDateTime(QDate(2026, 12, 8), QTime(10, 30), Qt::UTC);
        QTest::newRow("two-digit year") << QByteArray("8,12,26,09,05,") << QDateTime(QDate(2026, 12, 8), QTime(9, 5), Qt::UTC);
        QTest::newRow("no such day") << QByteArray("31,02,2026,10,30,") << QDateTime();
        QTest::newRow("garbage") << QByteArray("0x,12,2026,10,30,") << QDateTime();
    }
    void clockRead()
    {
        QFETCH(QByteArray, reply);
        QFETCH(QDateTime, time);
        port->feed("stale,");  // flushed before the command
        answer("G", reply);
        const Health::ClockRead r = Health::readClock(*link);
        QCOMPARE(port->written, QByteArray("G,"));
        QCOMPARE(r.outcome, Outcome::Answered);
        QCOMPARE(r.fields.size(), 5);
        QCOMPARE(r.time, time);
    }

    // The console's example: 5, 3, 2015, 23, 59 goes as "5,3, 115,23,59,"; a two-digit
    // year is not corrected.
    void clockWrite()
    {
        QVERIFY(Health::writeClock(*link, QDateTime(QDate(2015, 3, 5), QTime(23, 59, 41), Qt::UTC)));
        QCOMPARE(port->written, QByteArray("g5,3, 115,23,59,"));
        QCOMPARE(Health::dateValues("5", "3", 15, "23", "59"), QStringLiteral("5,3,-1885,23,59,"));
    }

    void outcomes()
    {
        answer("W", "05.01,03.30,12.80,", false);
        Health::InternalParameters v = Health::readInternalParameters(*link);
        QCOMPARE(port->written, QByteArray("W"));
        QCOMPARE(v.outcome, Outcome::Answered);
        QCOMPARE(*v.fiveVolt, 5.01);
        QCOMPARE(*v.vint, 3.30);
        QCOMPARE(*v.battery, 12.80);

        answer("W", "05.01,03.30,", false);
        v = Health::readInternalParameters(*link);
        QCOMPARE(v.outcome, Outcome::Incomplete);
        QCOMPARE(v.fields, (QStringList{"05.01", "03.30", "%%"}));
        QVERIFY(!v.battery);

        port->responder = {};
        port->written.clear();
        const Health::MemoryState silent = Health::readMemoryState(*link);
        QCOMPARE(port->written, QByteArray("M,"));
        QCOMPARE(silent.outcome, Outcome::Silent);
        QVERIFY(!silent.total && !silent.free);

        answer("M", "05000,");
        port->dropLater(50);
        const Health::MemoryState lost = Health::readMemoryState(*link);
        QCOMPARE(lost.outcome, Outcome::Lost);
        QCOMPARE(*lost.total, 5000);
        QVERIFY(!lost.free);
    }
};

QTEST_GUILESS_MAIN(HealthReadsTest)
#include "tst_health_reads.moc"
