// The modem and internet connections with a fault at each step: while the modem dials,
// at each read of the connected phase, and at the internet link's greeting and reads. Each
// ends within its time-outs with the console unlocked and a status saying why, and a
// console is never handed values from a line that dropped.
#include "faults/fault_matrix.h"
#include "protocol/read_sequence.h"
#include "modem/internet_rig.h"
#include "modem/modem_rig.h"
#include "support/file_bytes.h"

#include <QAction>

using FaultMatrix::Step;

namespace {

// The window's status line has said how the attempt ended, or the console took over.
bool ended(const QStringList& statuses, const ConsoleWindow& console)
{
    const QString last = statuses.value(statuses.size() - 1);
    return console.isVisible() || last == ReadSequence::silentDataloggerMessage()
           || last.startsWith(QStringLiteral("Call ended")) || last.startsWith(QStringLiteral("No connection"));
}

} // namespace

class FaultsRemote : public QObject {
    Q_OBJECT

    // Dials row 2 of the book; true once the attempt has ended. The modem is looked for
    // with a fifth of the window's pauses, ample for the simulator's answers; then the
    // waits are cut, the field time-out too.
    static bool dial(ModemRig& m, QElapsedTimer& t)
    {
        if (!writeFileBytes(m.file(QStringLiteral("modem.ini")), "A\r\n1\r\n\r\nB\r\n2\r\n\r\nPonte\r\n0551234\r\nMarch\r\n")
            || !writeFileBytes(m.file(QStringLiteral("pmodem.ini")), " 1 \r\n"))
            return false;
        setPausePercent(m.rig->link, 20);
        ModemWindow* w = m.open();
        if (!w)
            return false;
        FaultMatrix::quicken(m.rig->link, 400);
        QTest::mouseClick(w->selectButtons[2], Qt::LeftButton);
        t.start();
        w->connectAction->trigger();
        return QTest::qWaitFor([&] { return ended(m.statuses, *m.rig->console); }, 30000);
    }

private slots:
    // The modem's own answers: a line that drops while it dials, and the calls that fail.
    void whileTheModemDials_data()
    {
        QTest::addColumn<QStringList>("fault");
        QTest::addColumn<QString>("status");
        const QString gone = QStringLiteral("Call ended: The serial port ");
        QTest::newRow("drop inside OK") << QStringList{"--fault-drop-after", "3"} << gone;
        QTest::newRow("drop inside CONNECT") << QStringList{"--fault-drop-after", "10"} << gone;
        for (const char* answer : {"BUSY", "NO CARRIER", "NO ANSWER", "NO DIALTONE"})
            QTest::newRow(answer) << QStringList{"--dial-result", answer}
                                  << QStringLiteral("Call ended: ") + QLatin1String(answer);
    }
    void whileTheModemDials()
    {
        QFETCH(QStringList, fault);
        QFETCH(QString, status);
        ModemRig m(fault);
        QVERIFY(m.start());
        QElapsedTimer t;
        const bool over = dial(m, t);
        // A line gone while dialling ends the call too: no CONNECT can come over it.
        QVERIFY2(over, qPrintable(m.statuses.join('|')));
        QVERIFY2(m.statuses.last().startsWith(status), qPrintable(m.statuses.last()));
        QVERIFY(!m.modem->pollTimer->isActive());
        QVERIFY(!m.rig->console->isVisible());
        QVERIFY(FaultMatrix::settled(m.rig->link, t, 10000));
        QVERIFY(m.modem->isVisible() && m.modem->isEnabled());
    }

    void eachReadOfTheModemConnection_data()
    {
        FaultMatrix::addRows({{"channel list", 'H'}, {"date", 'G'}, {"internal parameters", 'W'},
                              {"memory", 'M', 1}, {"name", 'Q'}, {"model", 'D'}, {"acquisition status", 'O'}});
    }
    void eachReadOfTheModemConnection()
    {
        QFETCH(QStringList, fault);
        QFETCH(QString, kind);
        ModemRig m(fault);
        QVERIFY(m.start());
        QElapsedTimer t;
        QVERIFY2(dial(m, t), qPrintable(m.statuses.join('|')));
        QVERIFY(FaultMatrix::settled(m.rig->link, t, 20000));
        const bool handedOver = m.rig->console->isVisible();
        const QString statuses = m.statuses.join('|');
        if (kind == QLatin1String("drop"))
            QVERIFY2(!handedOver, qPrintable(statuses));
        if (kind == QLatin1String("silent"))
            QVERIFY2(!handedOver || statuses.contains(QStringLiteral(": incomplete answer")), qPrintable(statuses));
        if (!handedOver)
            QVERIFY(m.modem->isVisible() && m.modem->isEnabled());
    }

    // The greeting of the internet link cut by a drop, and each read of its connected
    // phase.
    void eachStepOfTheInternetConnection_data()
    {
        FaultMatrix::addRows({{"name", 'Q'}, {"model", 'D'}, {"acquisition status", 'O'}});
        QTest::newRow("drop inside the negotiation") << QStringList{"--fault-drop-after", "5"} << "drop";
        QTest::newRow("drop inside CONNECT") << QStringList{"--fault-drop-after", "15"} << "drop";
    }
    void eachStepOfTheInternetConnection()
    {
        QFETCH(QStringList, fault);
        QFETCH(QString, kind);
        InternetRig m(fault);
        QVERIFY(m.start());
        QVERIFY(m.writeBook());
        InternetWindow* w = m.open();
        QVERIFY(w);
        FaultMatrix::quicken(m.rig->link, 400);
        QElapsedTimer t;
        t.start();
        QTest::mouseClick(w->selectButtons[2], Qt::LeftButton);
        w->connectAction->trigger();
        QVERIFY2(QTest::qWaitFor([&] { return ended(m.statuses, *m.rig->console); }, 20000),
                 qPrintable(m.statuses.join('|')));
        QVERIFY(FaultMatrix::settled(m.rig->link, t, 20000));
        const bool handedOver = m.rig->console->isVisible();
        if (kind == QLatin1String("drop"))
            QVERIFY2(!handedOver, qPrintable(m.statuses.join('|')));
        if (!handedOver) {
            QVERIFY(w->isVisible() && w->isEnabled());
            QVERIFY(!w->pollTimer->isActive());
        }
    }
};

QTEST_MAIN(FaultsRemote)
#include "tst_faults_remote.moc"
