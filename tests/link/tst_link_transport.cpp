// The exchange routines over a scripted transport: a link that goes away, a box shown
// in the middle of an exchange, the nesting command lock, taking the link over, writes
// that fail, and the runner of the reads after a connection.
#include "link/link.h"
#include "protocol/read_sequence.h"
#include "link/telnet_client.h"
#include "support/fake_transport.h"
#include "support/test_link.h"
#include "support/scripted_dialogs.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QtTest>

#include <memory>


namespace {

// A box that runs an event loop of its own while it is shown, as a real one does.
class NestedLoopDialogs final : public Dialogs {
public:
    int shown = 0;
    Answer message(const QString&, const QString&, Buttons, Icon, Answer answer) override
    {
        ++shown;
        QEventLoop loop;
        QTimer::singleShot(200, &loop, &QEventLoop::quit);
        loop.exec();
        return answer;
    }
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString folderName(const QString&, const QString&) override { return {}; }
    void beep() override {}
};

// Answers each command letter with a fixed reply; unknown letters stay unanswered.
std::function<QByteArray(const QByteArray&)> replies(const QMap<QByteArray, QByteArray>& table)
{
    return [table](const QByteArray& written) { return table.value(written); };
}

} // namespace

class TestLinkTransport : public QObject {
    Q_OBJECT
    std::unique_ptr<TestLink> testLink;
    Link& line() { return testLink->link; }

private slots:
    void init()
    {
        testLink = std::make_unique<TestLink>(Link::Settings());
        setFieldTimeout(line(), 3000);
    }
    void cleanup() { testLink.reset(); }

    // An adapter pulled out in the middle of a read ends that read at once, and every
    // read after it, and the operator is told once.
    void lostPortEndsReadsAtOnceAndIsReportedOnce()
    {
        ScriptedDialogs dialogs;
        FakeTransport port;
        line().takeOver(&port, true);
        port.responder = replies({{"G", "07,"}});
        QVERIFY(line().sendCommand("G", ","));
        QCOMPARE(line().readField(), QStringLiteral("07"));

        port.dropLater(100);
        QElapsedTimer t;
        t.start();
        QCOMPARE(line().readField(), QStringLiteral("%%"));
        QVERIFY2(t.elapsed() < 1000, qPrintable(QString::number(t.elapsed())));
        for (int i = 0; i < 4; ++i)
            QCOMPARE(line().readField(), QStringLiteral("%%"));
        QCOMPARE(line().readUntil("S2"), QStringLiteral("%%"));
        QVERIFY(t.elapsed() < 1500);
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown.first().title, QStringLiteral("Connection lost"));
        QCOMPARE(line().tally().timeouts, 6);

        // Plugged in again: the loss is over, and a new one would be told again.
        QVERIFY(port.open());
        QVERIFY(line().sendCommand("G", ","));
        QCOMPARE(line().readField(), QStringLiteral("07"));
        port.drop();
        QCOMPARE(line().readField(), QStringLiteral("%%"));
        QCOMPARE(dialogs.shown.size(), 2);
    }

    // A telnet send error shows a box; its event loop runs a timer that tries to start
    // an exchange of its own. The timer must find the link busy.
    void boxShownInsideAnExchangeCountsForTheGuard()
    {
        NestedLoopDialogs boxes;
        GuardedDialogs dialogs(boxes, line());
        line().setProblemHandler([&dialogs](const LinkProblem& p) { showLinkProblem(dialogs, p); });
        TelnetClient client;  // never connected
        line().setTransports(nullptr, &client);
        line().takeOver(Link::Kind::Tcp, true);
        bool ran = false;
        bool busyInside = false;
        bool nestedSent = true;
        QTimer::singleShot(50, [&] {
            ran = true;
            busyInside = line().busy();
            nestedSent = line().sendCommand("Z", ",");
        });
        QVERIFY(!line().sendCommand("Q", ""));
        QCOMPARE(boxes.shown, 1);
        QVERIFY(ran);
        QVERIFY(busyInside);
        QVERIFY(!nestedSent);
        QVERIFY(!line().busy());
    }

    void commandLockNests()
    {
        QList<bool> switched;
        line().setCommandControls([&](bool enabled) { switched << enabled; });
        {
            Link::CommandLock outer(line());
            {
                Link::CommandLock inner(line());  // a handler called by another handler
            }
            QCOMPARE(switched, QList<bool>{false});
            QCOMPARE(line().commandLockDepth(), 1);
        }
        QCOMPARE(switched, (QList<bool>{false, true}));

        // RESTORE frees a console left locked; the lock still held then releases nothing.
        switched.clear();
        {
            Link::CommandLock stuck(line());
            line().resetCommandLock();
            QCOMPARE(switched, (QList<bool>{false, true}));
        }
        QCOMPARE(switched, (QList<bool>{false, true}));
        QCOMPARE(line().commandLockDepth(), 0);
    }

    // Taking the link over closes the transport before it and forgets what it left.
    void takingOverResetsTheOldLink()
    {
        FakeTransport internet(LinkTransport::tcpRules);
        FakeTransport cable;
        line().takeOver(&internet, true);
        QVERIFY(line().isTcp());
        internet.responder = replies({{"Q", "abc"}});
        QVERIFY(line().sendCommand("Q", ""));
        setFieldTimeout(line(), 100);
        QCOMPARE(line().readField(), QStringLiteral("%%"));  // "abc" waits in the buffer

        line().takeOver(&cable, false);
        QVERIFY(!line().isTcp());
        QCOMPARE(internet.closes, 1);
        QVERIFY(line().unread().isEmpty());
        QVERIFY(!line().portHeldOpen());
        QVERIFY(line().sendCommand("G", ","));
        QCOMPARE(cable.written, QByteArray("G,"));
        QCOMPARE(internet.written, QByteArray("Q"));
        QVERIFY(cable.opens >= 1 && !cable.isOpen());  // opened and closed around the send
    }

    // The rules of each kind of transport, as the wire sees them.
    void pacingAndPausesFollowTheTransport()
    {
        FakeTransport cable;
        line().takeOver(&cable, true);
        QElapsedTimer t;
        t.start();
        QVERIFY(line().sendCommand("d", "0,0,"));
        QVERIFY(t.elapsed() >= 40);
        QCOMPARE(cable.writes, (QList<QByteArray>{"d", "0", ",", "0", ","}));

        FakeTransport internet(LinkTransport::tcpRules);
        line().takeOver(&internet, true);
        t.restart();
        QVERIFY(line().sendCommand("d", "0,0,"));
        line().pause(300);
        QVERIFY(t.elapsed() < 1000);  // the paced values' pauses and this one skipped
        QCOMPARE(internet.writes, QList<QByteArray>{"d0,0,"});
    }

    // A line that never drains fails the send, told the same way on both transports: the
    // link reports the error text to whoever made it; a send that fails because the port
    // went is left to the loss, told once.
    void stalledWritesFailTheSend()
    {
        QList<LinkProblem> problems;
        line().setProblemHandler([&problems](const LinkProblem& p) { problems << p; });
        FakeTransport cable;
        cable.stallWrites = true;
        line().takeOver(&cable, true);
        QVERIFY(!line().sendCommand("G", ","));
        FakeTransport internet(LinkTransport::tcpRules);
        internet.stallWrites = true;
        line().takeOver(&internet, true);
        QVERIFY(!line().sendCommand("G", ","));
        QCOMPARE(problems.size(), 2);
        for (const LinkProblem& p : problems) {
            QCOMPARE(p.kind, LinkProblem::Kind::SendFailed);
            QCOMPARE(p.text, QStringLiteral("The write timed out"));
        }

        problems.clear();
        internet.drop();
        QVERIFY(!line().sendCommand("G", ","));
        QVERIFY(problems.isEmpty());
    }

    // A port that cannot be opened sends nothing and its reads time out.
    void failedOpenSendsNothing()
    {
        FakeTransport cable;
        cable.failOpen = true;
        line().takeOver(&cable, false);
        cable.close();
        QVERIFY(!line().sendCommand("G", ","));
        setFieldTimeout(line(), 100);
        QCOMPARE(line().readField(), QStringLiteral("%%"));
        QVERIFY(cable.written.isEmpty());
    }

    // The first read that times out ends the sequence: the rest of its step neither
    // sends nor waits, no later step runs, and the link works again afterwards.
    void readSequenceStopsAtTheFirstUnansweredRead()
    {
        FakeTransport cable;
        line().takeOver(&cable, true);
        setFieldTimeout(line(), 100);
        cable.responder = replies({{"A", "1,2,"}, {"B", "1,"}, {"C", ""}, {"Z", "9,"}});
        const auto read = [this](const char* letter, int fields) {
            return [this, letter, fields] {
                line().sendCommand(QString::fromLatin1(letter), QStringLiteral(","));
                for (int i = 0; i < fields; ++i)
                    line().readField();
            };
        };
        const auto run = [this](const QList<ReadSequence::Step>& steps) {
            QStringList statuses;
            const auto end = ReadSequence::run(line(), steps, [&](const QString& s) { statuses << s; });
            return std::pair{end, statuses};
        };
        QStringList ran;
        auto [end, statuses] = run({
            {read("A", 2), QStringLiteral("First"), 0},
            {[] {}, QStringLiteral("Nothing to read"), 0},
            {[&] { read("B", 2)(); read("Y", 1)(); ran << "rest of the step"; }, QStringLiteral("Second"), 0},
            {[&] { ran << "after"; }, QStringLiteral("Never"), 0},
        });
        QCOMPARE(end, ReadSequence::End::Silent);
        QCOMPARE(statuses, (QStringList{"First: OK", "Nothing to read: OK", "Second: incomplete answer"}));
        QCOMPARE(ran, QStringList{"rest of the step"});
        QVERIFY2(!cable.written.contains('Y'), cable.written.constData());  // refused, not sent

        std::tie(end, statuses) = run({{read("C", 4), QStringLiteral("Third"), 0}});
        QCOMPARE(statuses, QStringList{"Third: no answer"});

        // Nothing stays abandoned: the next sequence and a plain read work.
        std::tie(end, statuses) = run({{read("Z", 1), QStringLiteral("Again"), 0}});
        QCOMPARE(end, ReadSequence::End::Completed);
        QCOMPARE(statuses, QStringList{"Again: OK"});
        QVERIFY(!line().exchangesAbandoned());
        QVERIFY(line().sendCommand("Z", ","));
        QCOMPARE(line().readField(), QStringLiteral("9"));
    }
};

QTEST_GUILESS_MAIN(TestLinkTransport)
#include "tst_link_transport.moc"
