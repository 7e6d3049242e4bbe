// Unit tests of the telnet arrival parser: option answers, ECHO states, terminal types,
// commands cut at any byte between arrivals, and the bound a hostile host meets.
#include "support/byte_list.h"
#include "link/telnet_parser.h"

#include <QTest>

using namespace Telnet;

namespace {

// What the parser asked to write, joined as it goes on the wire.
QByteArray wire(const TelnetParser::Actions& actions)
{
    QByteArray w;
    for (const auto& a : actions)
        if (a.kind == TelnetParser::Action::Kind::Send)
            w.append(a.bytes);
    return w;
}

const QByteArray ttSend = bytes({IAC, SB, TERMINAL_TYPE, SEND, IAC, SE});

} // namespace

class TelnetParserTest : public QObject {
    Q_OBJECT

private slots:
    void refusesEveryOtherOption()
    {
        const QList<std::pair<QByteArray, QByteArray>> table = {
            {bytes({IAC, DO, 31}), bytes({IAC, WONT, 31})},
            {bytes({IAC, DONT, 31}), bytes({IAC, WONT, 31})},
            {bytes({IAC, WILL, 3}), bytes({IAC, DONT, 3})},
            {bytes({IAC, WONT, 3}), bytes({IAC, DONT, 3})},
            {bytes({IAC, DO, ECHO}), bytes({IAC, WONT, ECHO})},
            {bytes({IAC, DONT, TERMINAL_TYPE}), bytes({IAC, WONT, TERMINAL_TYPE})},
            {bytes({IAC, WILL, TERMINAL_TYPE}), bytes({IAC, DONT, TERMINAL_TYPE})},
        };
        for (const auto& [received, answer] : table) {
            TelnetParser p;
            p.setTerminalTypes("VT100");
            QCOMPARE(wire(p.arrival(received)), answer);
            QCOMPARE(p.takeData(), QByteArray());
        }
    }

    // A request that would leave an option where our last answer put it is not answered
    // again, however often it comes; one that changes it is, and a new connection starts
    // afresh.
    void repeatedRequestsAreAnsweredOnce()
    {
        QByteArray loop;
        for (int i = 0; i < 1000; ++i)
            loop += bytes({IAC, DO, 3, IAC, WILL, 5, IAC, DONT, 3, IAC, WONT, 5, IAC, DO, TERMINAL_TYPE, IAC, DO, ECHO});
        const QByteArray firstAnswers = bytes({IAC, WONT, 3, IAC, DONT, 5, IAC, WONT, TERMINAL_TYPE, IAC, WONT, ECHO});
        TelnetParser p;
        QCOMPARE(wire(p.arrival(loop)), firstAnswers);
        QCOMPARE(wire(p.arrival(loop)), QByteArray());

        // Offering a terminal type is a change, and so is withdrawing it.
        p.setTerminalTypes("VT100");
        const QByteArray doTT = bytes({IAC, DO, TERMINAL_TYPE});
        const QByteArray dontTT = bytes({IAC, DONT, TERMINAL_TYPE});
        QCOMPARE(wire(p.arrival(doTT + doTT)), bytes({IAC, WILL, TERMINAL_TYPE}));
        QCOMPARE(wire(p.arrival(dontTT + dontTT + doTT)),
                 bytes({IAC, WONT, TERMINAL_TYPE, IAC, WILL, TERMINAL_TYPE}));

        p.newSession();
        QCOMPARE(wire(p.arrival(bytes({IAC, DO, 3, IAC, WILL, 5}))), bytes({IAC, WONT, 3, IAC, DONT, 5}));
    }

    void echoAnswers_data()
    {
        QTest::addColumn<int>("asked"); // 0 not asked, 1 Echo(true), 2 Echo(false)
        QTest::addColumn<int>("hostVerb");
        QTest::addColumn<qint32>("number");
        QTest::addColumn<QString>("text");
        QTest::newRow("DO accepted") << 1 << int(WILL) << 0 << "";
        QTest::newRow("DO refused") << 1 << int(WONT) << DoEchoRefused << "DO ECHO refused by host";
        QTest::newRow("DONT accepted") << 2 << int(WONT) << 0 << "";
        QTest::newRow("DONT refused") << 2 << int(WILL) << DontEchoRefused
                                      << "DONT ECHO refused by host";
        QTest::newRow("unasked WILL") << 0 << int(WILL) << UnexpectedEcho << "Unexpected WILL ECHO";
        QTest::newRow("unasked WONT") << 0 << int(WONT) << UnexpectedEcho << "Unexpected WILL ECHO";
    }
    void echoAnswers()
    {
        QFETCH(int, asked);
        QFETCH(int, hostVerb);
        QFETCH(qint32, number);
        QFETCH(QString, text);
        TelnetParser p;
        if (asked)
            QCOMPARE(wire(p.echo(asked == 1)), bytes({IAC, asked == 1 ? DO : DONT, ECHO}));
        const auto out = p.arrival(bytes({IAC, hostVerb, ECHO}));
        QCOMPARE(wire(out), QByteArray()); // an answer about ECHO is never answered
        QCOMPARE(out.size(), number ? 1 : 0);
        if (number) {
            QCOMPARE(out[0].number, number);
            QCOMPARE(out[0].description, text);
            QVERIFY(number < 0);
        }
        QCOMPARE(p.echoState(), 0);
    }

    void echoErrorsOncePerConnection()
    {
        // A hostile host repeating IAC WILL ECHO, in one arrival and then byte by byte.
        QByteArray burst;
        for (int i = 0; i < 1000; ++i)
            burst += bytes({IAC, WILL, ECHO});
        TelnetParser p;
        auto out = p.arrival(burst);
        for (char c : burst)
            out += p.arrival(QByteArray(1, c));
        QCOMPARE(out.size(), 1);
        QCOMPARE(out[0].number, UnexpectedEcho);
        QCOMPARE(p.takeData(), QByteArray());

        // Each refusal is a kind of its own, also raised once; the DO and DONT still go out
        // and every answer still ends the wait.
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(wire(p.echo(true)), bytes({IAC, DO, ECHO}));
            out = p.arrival(bytes({IAC, WONT, ECHO}));
            QCOMPARE(out.size(), i == 0 ? 1 : 0);
            QCOMPARE(wire(p.echo(false)), bytes({IAC, DONT, ECHO}));
            out += p.arrival(bytes({IAC, WILL, ECHO}));
            QCOMPARE(out.size(), i == 0 ? 2 : 0);
            if (i == 0) {
                QCOMPARE(out[0].number, DoEchoRefused);
                QCOMPARE(out[1].number, DontEchoRefused);
            }
            QCOMPARE(p.echoState(), 0);
        }

        // A new connection raises them again.
        p.newSession();
        out = p.arrival(burst);
        QCOMPARE(out.size(), 1);
        QCOMPARE(out[0].number, UnexpectedEcho);
        p.echo(true);
        out = p.arrival(bytes({IAC, WONT, ECHO}));
        QCOMPARE(out.size(), 1);
        QCOMPARE(out[0].number, DoEchoRefused);
    }

    void terminalTypesCycle_data()
    {
        QTest::addColumn<QString>("types");
        QTest::addColumn<QStringList>("answers");
        QTest::newRow("none") << "" << QStringList{"UNKNOWN", "UNKNOWN"};
        QTest::newRow("three") << "A|B|C" << QStringList{"A", "B", "C", "C", "A", "B"};
    }
    void terminalTypesCycle()
    {
        QFETCH(QString, types);
        QFETCH(QStringList, answers);
        TelnetParser p;
        p.setTerminalTypes(types);
        for (const QString& type : answers) {
            QCOMPARE(wire(p.arrival(ttSend)), bytes({IAC, SB, TERMINAL_TYPE, IS})
                         + type.toLatin1() + bytes({IAC, SE}));
            QCOMPARE(p.termType(), type);
        }
        p.forgetTerminalType();
        QCOMPARE(p.termType(), types);
    }

    void cutAtEveryPositionGivesTheSameResult()
    {
        // A doubled IAC is one data byte; two-byte commands and a refused option's
        // subnegotiation vanish without taking data with them.
        const QByteArray stream = "AB" + bytes({IAC, DO, 3}) + "C" + ttSend + bytes({IAC, IAC})
            + "D" + bytes({IAC, WILL, 5, IAC, NOP}) + "E"
            + bytes({IAC, SB, 31, 1, IAC, IAC, IAC, SE, IAC, WONT, ECHO}) + "F";
        const QByteArray data = "ABC" + bytes({255}) + "DEF";
        TelnetParser whole;
        const auto expected = whole.arrival(stream);
        QCOMPARE(whole.takeData(), data);
        QCOMPARE(expected.size(), 4);

        for (qsizetype cut = 1; cut < stream.size(); ++cut) {
            TelnetParser split;
            auto out = split.arrival(stream.left(cut));
            const QByteArray first = split.takeData();
            out += split.arrival(stream.mid(cut));
            QVERIFY2(out == expected, qPrintable(QString("cut at %1").arg(cut)));
            QCOMPARE(first + split.takeData(), data);
            QCOMPARE(split.pendingSize(), 0);
        }
        TelnetParser bytewise;
        for (char c : stream)
            bytewise.arrival(QByteArray(1, c));
        QCOMPARE(bytewise.takeData(), data);
    }

    void endlessSubnegotiationIsBounded()
    {
        TelnetParser p;
        p.arrival("a" + bytes({IAC, SB, 31}));
        const QByteArray flood(TelnetParser::SubnegotiationLimit, 'z');
        for (int i = 0; i < 3; ++i) {
            p.arrival(flood);
            QVERIFY(p.pendingSize() < TelnetParser::SubnegotiationLimit);
        }
        // Once given up, what follows the opening is data again.
        QCOMPARE(p.takeData(), "a" + flood + flood + flood);
    }
};

QTEST_GUILESS_MAIN(TelnetParserTest)
#include "tst_telnet_parser.moc"
