// The protocol calls over a scripted transport: the health reads, the clock write, the
// settings' commands, the readings now and the sensor rows; what goes on the wire, the encodings, the
// values taken from the fields, and how each exchange ended.
#include "link/link.h"
#include "protocol/health.h"
#include "protocol/readings.h"
#include "protocol/sensors.h"
#include "protocol/settings.h"
#include "support/fake_transport.h"

#include <QtTest>

#include <functional>
#include <memory>

using Health::Outcome;

class ProtocolCallsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Link> link;
    std::unique_ptr<FakeTransport> port;

    // The datalogger answers with reply once the wire ends with what it waits for.
    void answerAfter(const QByteArray& sent, const QByteArray& reply)
    {
        port->responder = [this, sent, reply](const QByteArray&) {
            return port->written.endsWith(sent) ? reply : QByteArray();
        };
    }

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

    void writesOnTheWire_data()
    {
        QTest::addColumn<std::function<bool(Link&)>>("write");
        QTest::addColumn<QByteArray>("wire");
        using F = std::function<bool(Link&)>;
        QTest::newRow("name") << F([](Link& l) { return Settings::writeName(l, "DAM 1"); }) << QByteArray("qDAM 1,");
        QTest::newRow("start time") << F([](Link& l) { return Settings::writeStartTime(l, "5", "3", 2015, "07", "00"); })
                                    << QByteArray("y5,3, 115,07,00,");
        QTest::newRow("timer") << F([](Link& l) { return Settings::writeTimer(l, Settings::timerParts({"1", "x", "5.4"})); })
                               << QByteArray("c001,000,005,");
        QTest::newRow("pre-heating") << F([](Link& l) { return Settings::writePreheating(l, Settings::preheatingText("250")); })
                                     << QByteArray("e00250,");
        QTest::newRow("channel counts") << F([](Link& l) { return Settings::writeChannelCounts(l, {8, 0, 16, 2}); })
                                        << QByteArray("b,h 0, 8,h 1, 0,h 2, 16,h 3, 2,");
        QTest::newRow("acquisition on") << F([](Link& l) { return Settings::setAcquisition(l, true); }) << QByteArray("o1,");
        QTest::newRow("e-mail off") << F([](Link& l) { return Settings::setEmail(l, false); }) << QByteArray("y0,");
        QTest::newRow("GSM function on") << F([](Link& l) { return Settings::setGsmFunction(l, true); }) << QByteArray("j1,");
        QTest::newRow("internet off") << F([](Link& l) { return Settings::setInternetSwitch(l, false); }) << QByteArray("<0,");
        QTest::newRow("SMS alerts") << F([](Link& l) {
            return Settings::writeSmsAlerts(l, QStringList(10, "3331234567").mid(0, 2) + QStringList(8, ""), "2",
                                            Settings::keptSwitch(true));
        }) << QByteArray("i3331234567,3331234567,,,,,,,,,2, 1,");
        QTest::newRow("phone alert") << F([](Link& l) {
            return Settings::writePhoneAlert(l, "0461123456", Settings::changedSwitch(false));
        }) << QByteArray("f0461123456,0,");
        QTest::newRow("GPRS") << F([](Link& l) { return Settings::writeGprs(l, {"apn", "user", "", "x"}); })
                              << QByteArray("kapn,user,,x,");
        QTest::newRow("start at once") << F(Settings::startAtOnce) << QByteArray("y1,1,100,00,00,");
        QTest::newRow("leave converting") << F(Settings::leaveConverting) << QByteArray("d0,0,0,0,0,");
        QTest::newRow("erase") << F(Settings::eraseMemory) << QByteArray("b");
        QTest::newRow("reset") << F(Settings::resetDatalogger) << QByteArray("z");
        QTest::newRow("reset before connecting") << F(Settings::resetBeforeConnecting) << QByteArray("z,");
        QTest::newRow("stand-alone") << F(Readings::convertStandAlone) << QByteArray("^");
        QTest::newRow("field test") << F(Readings::startFieldTest) << QByteArray("J");
        QTest::newRow("coefficients") << F([](Link& l) { return Sensors::writeCoefficients(l, 17, {"PZ 1", "0", "2.5", "0", "350"}); })
                                      << QByteArray("r 17,PZ 1,0,2.5,0,350,");
        QTest::newRow("alert") << F([](Link& l) { return Sensors::writeAlert(l, 0, {"1", "900", "-5"}); })
                               << QByteArray("j 0,1,900,-5,");
        QTest::newRow("SMS texts") << F([](Link& l) { return Sensors::writeSmsTexts(l, {" DAM ", "", "LEVEL", "", "HIGH"}); })
                                   << QByteArray("x DAM ,,LEVEL,,HIGH,X");
    }
    void writesOnTheWire()
    {
        QFETCH(std::function<bool(Link&)>, write);
        QFETCH(QByteArray, wire);
        QVERIFY(write(*link));
        QCOMPARE(port->written, wire);
        port->stallWrites = true;
        QVERIFY(!write(*link));  // a command that cannot leave says so
    }

    // The fields come as they came, the time-out mark where none did; what was waiting
    // before a command that empties the input first is not taken for its answer.
    void readsAndTheirOutcomes()
    {
        port->responder = [](const QByteArray& w) { return w == "," ? QByteArray("001,030,045,") : QByteArray(); };
        const Settings::Reply timer = Settings::readTimer(*link);
        QCOMPARE(port->written, QByteArray("C,"));
        QCOMPARE(timer.fields, (QStringList{"001", "030", "045"}));
        QCOMPARE(timer.outcome, Outcome::Answered);

        port->written.clear();
        port->feed("stale,");
        port->responder = [](const QByteArray& w) { return w == "," ? QByteArray("01,02,2026,10,") : QByteArray(); };
        const Settings::Reply start = Settings::readStartTime(*link);
        QCOMPARE(port->written, QByteArray("Y,"));
        QCOMPARE(start.fields, (QStringList{"01", "02", "2026", "10", "%%", "%%"}));
        QCOMPARE(start.outcome, Outcome::Incomplete);

        port->written.clear();
        port->responder = {};
        const Settings::Reply silent = Settings::readChannelCount(*link, 3);
        QCOMPARE(port->written, QByteArray("H 3,"));
        QCOMPARE(silent.outcome, Outcome::Silent);
        QVERIFY(Protocol::isTimeoutMark(silent.fields[0]));

        port->written.clear();
        port->responder = [](const QByteArray& w) { return w == "," ? QByteArray("1,") : QByteArray(); };
        const Settings::Reply counter = Settings::setEventsCounter(*link, false);
        QCOMPARE(port->written, QByteArray("u0,U,"));
        QCOMPARE(Protocol::switchState(counter.fields[0]), std::optional<bool>(true));
    }

    // A multiplexer read shows each channel as it comes; the continuous row stops reading
    // at the first value that does not come.
    void readingsNow()
    {
        struct Seen : Readings::ReadView {
            QStringList events;
            void reading(int i) override { events << QString("reading %1").arg(i); }
            void read(int i, const Readings::Channel& c) override { events << QString("%1: %2=%3").arg(i).arg(c.position, c.value); }
        } seen;
        port->feed("stale,");
        answerAfter("p 2,", "0,1234.5,7,0987.6,");
        QCOMPARE(Readings::readMultiplexer(*link, 2, false, 2, seen), Outcome::Answered);
        QCOMPARE(port->written, QByteArray("p 2,"));
        QCOMPARE(seen.events, (QStringList{"reading 0", "0: 0=1234.5", "reading 1", "1: 7=0987.6"}));
        QCOMPARE(Readings::channelPosition(" 7"), std::optional<int>(7));
        QVERIFY(!Readings::channelPosition("16"));

        port->written.clear();
        answerAfter("t 0,", "3,21.5,");
        QCOMPARE(Readings::readMultiplexer(*link, 0, true, 2, seen), Outcome::Incomplete);
        QCOMPARE(port->written, QByteArray("t 0,"));

        for (const auto& [reply, count] : {std::pair{QByteArray("12,"), std::optional<int>(12)},
                                           std::pair{QByteArray("99,"), std::optional<int>()}}) {
            port->written.clear();
            answerAfter("H 0,", reply);
            const Readings::ChannelCount asked = Readings::readChannelCount(*link);
            QCOMPARE(port->written, QByteArray("H 0,"));
            QVERIFY(asked.sent && asked.answered);
            QCOMPARE(asked.count, count);
        }

        port->written.clear();
        answerAfter("p1,", "0,1.5,1,");
        const Readings::Row row = Readings::readRow(*link, 1, 4);
        QCOMPARE(port->written, QByteArray("p1,"));
        QVERIFY(row.sent && row.timedOut);
        QCOMPARE(row.values, (QStringList{"1.5", "%%", "%%", "%%"}));

        port->written.clear();
        answer("T", "12,-3,1500000,2000000,0,250000,", false);
        const Readings::FullScale fs = Readings::readFullScale(*link);
        QCOMPARE(port->written, QByteArray("T"));
        QCOMPARE(fs.outcome, Outcome::Answered);
        QCOMPARE(fs.whole, (std::array<double, 2>{12, -3}));
        QCOMPARE(fs.scaled, (std::array<double, 4>{1.5, 2, 0, 0.25}));
    }

    void sensorRows()
    {
        answerAfter("R 33,", "PZ 1, 0.000,2.500,0,350,");
        const Sensors::Reply row = Sensors::readCoefficients(*link, 33);
        QCOMPARE(port->written, QByteArray("R 33,"));
        QCOMPARE(row.fields, (QStringList{"PZ 1", " 0.000", "2.500", "0", "350"}));
        QCOMPARE(row.outcome, Outcome::Answered);

        port->written.clear();
        port->responder = [](const QByteArray& w) { return w == "X" ? QByteArray("A,B,C,") : QByteArray(); };
        const Sensors::Reply sms = Sensors::readSmsTexts(*link);
        QCOMPARE(port->written, QByteArray("X"));
        QCOMPARE(sms.fields, (QStringList{"A", "B", "C", "%%", "%%"}));
        QCOMPARE(sms.outcome, Outcome::Incomplete);
    }

    void fieldValues()
    {
        QCOMPARE(Protocol::switchState(" 0"), std::optional<bool>(false));
        QVERIFY(!Protocol::switchState("2"));
        QVERIFY(!Protocol::switchState("%%"));
        QCOMPARE(Protocol::wholeNumber(" 16"), std::optional<int>(16));
        QVERIFY(!Protocol::wholeNumber("1.5"));
        QCOMPARE(Settings::shortestTimer(true), 600);
        QCOMPARE(Settings::shortestTimer(false), 60);
    }
};

QTEST_GUILESS_MAIN(ProtocolCallsTest)
#include "tst_protocol_calls.moc"
