// Unit tests of the telnet arrival parser: data passing, option answers, ECHO states,
// terminal types, commands cut between arrivals, and the bounds a hostile host meets.
#include "link/telnet_parser.h"

#include <QTest>

using namespace Telnet;
using Kind = TelnetParser::Action::Kind;

namespace {

QByteArray bytes(std::initializer_list<int> list)
{
    QByteArray b;
    for (int v : list)
        b.append(char(v));
    return b;
}

// Everything the parser asked to write, joined as it would go on the wire.
QByteArray wire(const TelnetParser::Actions& actions)
{
    QByteArray w;
    for (const auto& a : actions)
        if (a.kind == Kind::Send)
            w.append(a.bytes);
    return w;
}

QList<qint32> errors(const TelnetParser::Actions& actions)
{
    QList<qint32> e;
    for (const auto& a : actions)
        if (a.kind == Kind::Error)
            e.append(a.number);
    return e;
}

QByteArray ttReply(const QByteArray& type)
{
    return bytes({IAC, SB, TERMINAL_TYPE, IS}) + type + bytes({IAC, SE});
}

const QByteArray ttSend = bytes({IAC, SB, TERMINAL_TYPE, SEND, IAC, SE});

} // namespace

class TelnetParserTest : public QObject {
    Q_OBJECT

private slots:
    void dataWithoutCommandsPassesUnchanged()
    {
        TelnetParser p;
        QByteArray all;
        for (int c = 0; c < 255; ++c)
            all.append(char(c));
        QVERIFY(p.arrival(all).isEmpty());
        QCOMPARE(p.takeData(), all);
        QCOMPARE(p.dataSize(), 0);
        QVERIFY(p.arrival(QByteArray()).isEmpty());
        QCOMPARE(p.takeData(), QByteArray());
    }

    void commandInMidDataIsAnsweredAndRemoved()
    {
        TelnetParser p;
        const auto out = p.arrival("12.5," + bytes({IAC, DO, 3}) + "7,");
        QCOMPARE(wire(out), bytes({IAC, WONT, 3}));
        QCOMPARE(p.takeData(), QByteArray("12.5,7,"));
    }

    void refusesEveryOtherOption_data()
    {
        QTest::addColumn<QByteArray>("received");
        QTest::addColumn<QByteArray>("answer");
        QTest::newRow("DO x") << bytes({IAC, DO, 31}) << bytes({IAC, WONT, 31});
        QTest::newRow("DONT x") << bytes({IAC, DONT, 31}) << bytes({IAC, WONT, 31});
        QTest::newRow("WILL x") << bytes({IAC, WILL, 3}) << bytes({IAC, DONT, 3});
        QTest::newRow("WONT x") << bytes({IAC, WONT, 3}) << bytes({IAC, DONT, 3});
        QTest::newRow("DO ECHO") << bytes({IAC, DO, ECHO}) << bytes({IAC, WONT, ECHO});
        QTest::newRow("DONT ECHO") << bytes({IAC, DONT, ECHO}) << bytes({IAC, WONT, ECHO});
        QTest::newRow("DONT TT") << bytes({IAC, DONT, TERMINAL_TYPE})
                                 << bytes({IAC, WONT, TERMINAL_TYPE});
        QTest::newRow("WILL TT") << bytes({IAC, WILL, TERMINAL_TYPE})
                                 << bytes({IAC, DONT, TERMINAL_TYPE});
        QTest::newRow("option 255") << bytes({IAC, DO, 255}) << bytes({IAC, WONT, 255});
    }
    void refusesEveryOtherOption()
    {
        QFETCH(QByteArray, received);
        QFETCH(QByteArray, answer);
        TelnetParser p;
        p.setTerminalTypes("VT100");
        QCOMPARE(wire(p.arrival(received)), answer);
        QCOMPARE(p.takeData(), QByteArray());
    }

    void echoAnswers_data()
    {
        QTest::addColumn<int>("asked"); // 0 not asked, 1 Echo(true), 2 Echo(false)
        QTest::addColumn<int>("hostVerb");
        QTest::addColumn<qint32>("error");
        QTest::newRow("DO accepted") << 1 << int(WILL) << 0;
        QTest::newRow("DO refused") << 1 << int(WONT) << DoEchoRefused;
        QTest::newRow("DONT accepted") << 2 << int(WONT) << 0;
        QTest::newRow("DONT refused") << 2 << int(WILL) << DontEchoRefused;
        QTest::newRow("unasked WILL") << 0 << int(WILL) << UnexpectedEcho;
        QTest::newRow("unasked WONT") << 0 << int(WONT) << UnexpectedEcho;
    }
    void echoAnswers()
    {
        QFETCH(int, asked);
        QFETCH(int, hostVerb);
        QFETCH(qint32, error);
        TelnetParser p;
        if (asked) {
            const auto sent = p.echo(asked == 1);
            QCOMPARE(wire(sent), bytes({IAC, asked == 1 ? DO : DONT, ECHO}));
            QCOMPARE(p.echoState(), asked);
        }
        const auto out = p.arrival(bytes({IAC, hostVerb, ECHO}));
        QCOMPARE(wire(out), QByteArray()); // an ECHO answer is never answered
        QCOMPARE(errors(out), error ? QList<qint32>{error} : QList<qint32>{});
        QCOMPARE(p.echoState(), 0);
    }

    void echoErrorsCarryTheirTexts()
    {
        TelnetParser p;
        auto out = p.arrival(bytes({IAC, WONT, ECHO}));
        QCOMPARE(out.size(), 1);
        QCOMPARE(out[0].description, QString("Unexpected WILL ECHO"));
        QVERIFY(out[0].number < 0);
        p.echo(true);
        QCOMPARE(p.arrival(bytes({IAC, WONT, ECHO}))[0].description,
                 QString("DO ECHO refused by host"));
        p.echo(false);
        QCOMPARE(p.arrival(bytes({IAC, WILL, ECHO}))[0].description,
                 QString("DONT ECHO refused by host"));
    }

    void echoRequestsWaitForTheAnswerBeforeThem()
    {
        TelnetParser p;
        QCOMPARE(wire(p.echo(true)), bytes({IAC, DO, ECHO}));
        QVERIFY(p.echo(false).isEmpty()); // queued behind the pending answer
        // The next request goes out after the arrival that carries the answer.
        const auto out = p.arrival("a" + bytes({IAC, WILL, ECHO}) + "b");
        QCOMPARE(wire(out), bytes({IAC, DONT, ECHO}));
        QCOMPARE(errors(out), QList<qint32>{});
        QCOMPARE(p.echoState(), 2);
        QCOMPARE(p.takeData(), QByteArray("ab"));
    }

    void terminalTypeRequestWithoutTypes()
    {
        TelnetParser p;
        QCOMPARE(wire(p.arrival(bytes({IAC, DO, TERMINAL_TYPE}))),
                 bytes({IAC, WONT, TERMINAL_TYPE}));
        QCOMPARE(wire(p.arrival(ttSend)), ttReply("UNKNOWN"));
        QCOMPARE(p.termType(), QString("UNKNOWN"));
    }

    void terminalTypesCycle_data()
    {
        QTest::addColumn<QString>("types");
        QTest::addColumn<QStringList>("answers");
        QTest::newRow("two") << "VT100|ANSI" << QStringList{"VT100", "ANSI", "ANSI", "VT100"};
        QTest::newRow("three") << "A|B|C" << QStringList{"A", "B", "C", "C", "A", "B"};
        QTest::newRow("one") << "XTERM" << QStringList{"XTERM", "XTERM", "XTERM"};
    }
    void terminalTypesCycle()
    {
        QFETCH(QString, types);
        QFETCH(QStringList, answers);
        TelnetParser p;
        p.setTerminalTypes(types);
        QCOMPARE(p.termType(), types);
        QCOMPARE(wire(p.arrival(bytes({IAC, DO, TERMINAL_TYPE}))),
                 bytes({IAC, WILL, TERMINAL_TYPE}));
        for (const QString& expected : answers) {
            QCOMPARE(wire(p.arrival(ttSend)), ttReply(expected.toLatin1()));
            QCOMPARE(p.termType(), expected);
        }
        p.forgetTerminalType();
        QCOMPARE(p.termType(), types);
        p.setTerminalTypes(QString());
        QCOMPARE(p.termType(), QString());
    }

    void doTerminalTypeStartsTheListAgain()
    {
        TelnetParser p;
        p.setTerminalTypes("A|B|C");
        p.arrival(ttSend);
        p.arrival(ttSend);
        p.arrival(bytes({IAC, DO, TERMINAL_TYPE}));
        QCOMPARE(wire(p.arrival(ttSend)), ttReply("A"));
    }

    void doubledIacIsOneDataByte()
    {
        TelnetParser p;
        QVERIFY(p.arrival("x" + bytes({IAC, IAC}) + "y" + bytes({IAC, IAC})).isEmpty());
        // The byte is handed over at once, not held back for a third byte.
        QCOMPARE(p.takeData(), "x" + bytes({255}) + "y" + bytes({255}));
        QCOMPARE(p.pendingSize(), 0);
    }

    void twoByteCommandsDoNotEatData()
    {
        TelnetParser p;
        QVERIFY(p.arrival("a" + bytes({IAC, NOP}) + "b" + bytes({IAC, 249}) + "c"
                          + bytes({IAC, 17}) + "d").isEmpty());
        // A stray IAC before a byte that is no command only loses the IAC.
        QCOMPARE(p.takeData(), "ab" + QByteArray("c") + char(17) + "d");
    }

    void refusedSubnegotiationIsSkipped()
    {
        TelnetParser p;
        const auto out = p.arrival("a" + bytes({IAC, SB, 31, 0, 80, IAC, IAC, 0, 24, IAC, SE})
                                   + "b");
        QCOMPARE(wire(out), QByteArray());
        QCOMPARE(p.takeData(), QByteArray("ab"));
    }

    void endlessSubnegotiationIsBounded()
    {
        TelnetParser p;
        p.arrival("a" + bytes({IAC, SB, 31}));
        const QByteArray flood(TelnetParser::SubnegotiationLimit * 4, 'z');
        for (int i = 0; i < 4; ++i) {
            p.arrival(flood.left(TelnetParser::SubnegotiationLimit));
            QVERIFY(p.pendingSize() < TelnetParser::SubnegotiationLimit);
        }
        // Once given up, the bytes after the opening count as data.
        const QByteArray data = p.takeData();
        QVERIFY(data.startsWith("az"));
        QCOMPARE(data.size(), 1 + 4 * TelnetParser::SubnegotiationLimit);
    }

    void splitAtEveryPositionGivesTheSameResult()
    {
        const QByteArray stream = "AB" + bytes({IAC, DO, 3}) + "C" + ttSend + bytes({IAC, IAC})
            + "D" + bytes({IAC, WILL, 5, IAC, NOP}) + "E"
            + bytes({IAC, SB, 31, 1, IAC, SE, IAC, WONT, ECHO}) + "F";
        TelnetParser whole;
        whole.setTerminalTypes("VT100|ANSI");
        const auto expected = whole.arrival(stream);
        const QByteArray expectedData = whole.takeData();
        QCOMPARE(expectedData, "ABC" + bytes({255}) + "DEF");

        for (qsizetype cut = 1; cut < stream.size(); ++cut) {
            TelnetParser split;
            split.setTerminalTypes("VT100|ANSI");
            auto out = split.arrival(stream.left(cut));
            out += split.arrival(stream.mid(cut));
            QVERIFY2(out == expected, qPrintable(QString("cut at %1").arg(cut)));
            QCOMPARE(split.takeData(), expectedData);
            QCOMPARE(split.pendingSize(), 0);
        }

        TelnetParser bytewise;
        bytewise.setTerminalTypes("VT100|ANSI");
        TelnetParser::Actions out;
        for (char c : stream)
            out += bytewise.arrival(QByteArray(1, c));
        QVERIFY(out == expected);
        QCOMPARE(bytewise.takeData(), expectedData);
    }

    void dataBeforeACutCommandIsNotHeldBack()
    {
        TelnetParser p;
        p.arrival("12," + bytes({IAC, DO}));
        QCOMPARE(p.takeData(), QByteArray("12,"));
        QCOMPARE(p.pendingSize(), 2);
        QCOMPARE(p.room(), TelnetParser::DataLimit - 2);
        p.newSession(); // a new connection does not complete the old one's command
        QCOMPARE(wire(p.arrival("3" + bytes({IAC, DO, 3}))), bytes({IAC, WONT, 3}));
        QCOMPARE(p.takeData(), QByteArray("3"));
    }
};

QTEST_GUILESS_MAIN(TelnetParserTest)
#include "tst_telnet_parser.moc"
