// The settings' commands over a scripted transport: the bytes each puts on the wire, the
// encodings of what it sends, and the reply's fields and outcome.
#include "link/link.h"
#include "protocol/settings.h"
#include "support/fake_transport.h"

#include <QtTest>

#include <functional>
#include <memory>

using Protocol::Outcome;

class SettingsCommandsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Link> link;
    std::unique_ptr<FakeTransport> port;

private slots:
    void init()
    {
        Link::Settings s;
        s.fieldTimeoutMs = 200;
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
        QTest::newRow("GPRS") << F([](Link& l) { return Settings::writeGprs(l, {"apn", "user", "", "x"}); })
                              << QByteArray("kapn,user,,x,");
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

QTEST_GUILESS_MAIN(SettingsCommandsTest)
#include "tst_settings_commands.moc"
